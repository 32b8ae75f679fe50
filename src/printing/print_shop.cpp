#include "printing/print_shop.h"
#include "core/safe_file.h"
#include "imaging/picture.h"
#include "printing/pdf_boxes.h"
#include "report/device_report.h"
#include "surface/card_view.h"
#include "surface/card_drawing.h"
#include <QBuffer>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <cmath>

namespace cardora {

namespace {
// Fine enough that every edge lands within a hundredth of a millimetre.
constexpr int kShopPdfDpi = 1200;
// Crop marks as printers draw them: a quarter point, black.
constexpr double kMarkPoints = 0.25;
} // namespace

std::optional<double> ParseLengthInches(const QString& text)
{
    static const QRegularExpression form(
        R"(^\s*(\d+(?:\.\d*)?|\.\d+|\d+\s*/\s*\d+)\s*(mm|in|inch|inches|")\s*$)",
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QString number = m.captured(1).remove(' ');
    double value = 0.0;
    if (number.contains('/')) {
        const double over = number.section('/', 1).toDouble();
        if (over <= 0)
            return std::nullopt;
        value = number.section('/', 0, 0).toDouble() / over;
    } else {
        bool ok = false;
        value = number.toDouble(&ok);
        if (!ok)
            return std::nullopt;
    }
    if (!std::isfinite(value) || value < 0)
        return std::nullopt;
    return m.captured(2).toLower() == "mm" ? value / kMillimetresPerInch : value;
}

QString LengthText(double inches)
{
    if (std::abs(inches - kEighthInch) < 1e-9)
        return "1/8 in";
    return QString::number(inches * kMillimetresPerInch, 'g', 4) + " mm";
}

double TShopCropMarks::Margin(double bleedInches, bool cropMarks)
{
    return cropMarks ? bleedInches + kGap + kLength : bleedInches;
}

std::vector<QLineF> TShopCropMarks::ForCard(QPointF corner, QSizeF card, double bleedInches)
{
    std::vector<QLineF> marks;
    const double near = bleedInches + kGap, far = near + kLength;
    const QRectF c(corner, card);
    for (const double x : { c.left(), c.right() }) {
        const double out = x == c.left() ? -1.0 : 1.0;
        for (const double y : { c.top(), c.bottom() }) {
            const double down = y == c.top() ? -1.0 : 1.0;
            marks.emplace_back(x + out * near, y, x + out * far, y);
            marks.emplace_back(x, y + down * near, x, y + down * far);
        }
    }
    return marks;
}

QString WriteShopPdf(CardView& panel, const TShopPdfOptions& o, const QString& path, const QStringList& inputs)
{
    QString error = CheckOutputFile(path, inputs);
    if (!error.isEmpty())
        return error;
    if (o.CardInches.width() <= 0 || o.CardInches.height() <= 0)
        return "Cannot create file " + path + ": the card has no size";
    if (!(o.BleedInches >= 0 && o.BleedInches <= kMaxBleedInches + 1e-9))
        return "Cannot create file " + path + ": the bleed must be from 0 to 6 mm";
    const double margin = TShopCropMarks::Margin(o.BleedInches, o.CropMarks);
    const QSizeF page(o.CardInches.width() + 2 * margin, o.CardInches.height() + 2 * margin);

    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setResolution(kShopPdfDpi);
        pdf.setPageSize(QPageSize(page, QPageSize::Inch, QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setCreator("Cardora");
        pdf.setTitle(QFileInfo(path).completeBaseName());
        TDeviceReport report(pdf, page);
        report.OnPrint = [&](TReport& r) {
            TCardDrawer drawer(panel, o.CardInches);
            drawer.SetArt(o.Art, o.CardInches);
            drawer.SetBleed(o.BleedInches);
            auto page = [&] {
                drawer.Draw(r, margin, margin);
                if (!o.CropMarks || !r.Painter())
                    return;
                QPainter& p = *r.Painter();
                p.save();
                p.setClipping(false);
                p.setPen(QPen(Qt::black, kMarkPoints / 72.0 * r.XDpi(), Qt::SolidLine, Qt::FlatCap));
                for (const QLineF& m : TShopCropMarks::ForCard(QPointF(margin, margin), o.CardInches, o.BleedInches))
                    p.drawLine(QLineF(m.x1() * r.XDpi(), m.y1() * r.YDpi(), m.x2() * r.XDpi(), m.y2() * r.YDpi()));
                p.restore();
            };
            if (!o.Records) {
                page();
                return;
            }
            TMergedRecordScope merged(panel);
            for (qsizetype i = 0; i < o.Records->size() && r.WithinBudget(); ++i) {
                if (i > 0)
                    r.NewPage();
                merged.Show((*o.Records)[i]);
                page();
            }
        };
        if (!report.Execute())
            return "Cannot create file " + path + ": " + report.ErrorString();
    }
    TPdfPageBoxes boxes;
    boxes.Media = QRectF(QPointF(0, 0), page);
    boxes.Trim = QRectF(QPointF(margin, margin), o.CardInches);
    boxes.Bleed = boxes.Trim.adjusted(-o.BleedInches, -o.BleedInches, o.BleedInches, o.BleedInches);
    error = SetPdfPageBoxes(bytes, boxes);
    if (!error.isEmpty())
        return "Cannot create file " + path + ": " + error;
    return WriteFileSafely(path, bytes);
}

} // namespace cardora
