#include "main/card_export.h"
#include "core/rounding.h"
#include "main/card_picture.h"
#include "report/clip_emulation.h"
#include "report/device_report.h"
#include "surface/card_drawing.h"
#include "surface/card_panel.h"
#include "core/safe_file.h"
#include <QFileInfo>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>

namespace cardora {

namespace {
// Vector pages are laid out on this fine grid; sizes stay exact in inches.
constexpr int kVectorDpi = 1200;

// A frame on the card's edge, a screen pixel wide at least.
void drawBorder(TReport& r, QSizeF card)
{
    if (!r.Painter())
        return;
    const QRect whole = r.InchRectToDevice(0, 0, card.width(), card.height());
    QPainter& p = *r.Painter();
    p.save();
    p.setClipping(false);
    const double width = std::max(1.0, r.XDpi() / 96.0);
    p.setPen(QPen(Qt::black, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(whole).adjusted(width / 2, width / 2, -width / 2, -width / 2));
    p.restore();
}

// Draws the card on the report's one page, or a page per record when
// merging: the art over the whole card, every object, the border.
QString drawCard(CardPanel& panel, TReport& report, QSizeF card, bool border,
    const TFieldRecords* records = nullptr)
{
    report.OnPrint = [&](TReport& r) {
        TCardDrawer drawer(panel, card);
        drawer.SetArt(&panel.ColorPicture(), card);
        if (!records) {
            drawer.Draw(r, 0, 0);
            if (border)
                drawBorder(r, card);
            return;
        }
        TMergedRecordScope merged(panel);
        for (qsizetype page = 0; page < records->size() && r.WithinBudget(); ++page) {
            if (page > 0)
                r.NewPage();
            merged.Show((*records)[page]);
            drawer.Draw(r, 0, 0);
            if (border)
                drawBorder(r, card);
        }
    };
    const bool ok = report.Execute();
    report.OnPrint = nullptr;
    return ok ? QString() : report.ErrorString();
}

// The card drawn at `dpi` as it is printed: white, the background art over
// the whole card, then every object.
QImage renderAtDpi(CardPanel& panel, QSizeF card, int dpi, bool border, QString* error)
{
    const QSize pixels(std::max(1, Round(card.width() * dpi)), std::max(1, Round(card.height() * dpi)));
    QImage image(pixels, QImage::Format_RGB32);
    if (image.isNull()) {
        *error = "The picture is too large for memory";
        return image;
    }
    image.fill(Qt::white);
    const int dotsPerMeter = Round(dpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    TDeviceReport report(image, card);
    *error = drawCard(panel, report, card, border);
    return image;
}

// An export never replaces what it was made from, nor a folder.
QString refusedOutput(const QString& path, const QStringList& inputs)
{
    const QFileInfo out(path);
    if (out.isDir())
        return "Cannot create file " + path + ": it is a folder";
    if (!out.exists())
        return QString();
    for (const QString& in : inputs)
        if (IsSameFile(in, path))
            return "Cannot create file " + path + ": it is one of the files the card is read from";
    return QString();
}

const char* writerFormat(TCardExportFormat f)
{
    switch (f) {
    case TCardExportFormat::Jpeg: return "jpeg";
    case TCardExportFormat::Bmp: return "bmp";
    default: return "png";
    }
}
} // namespace

std::optional<TCardExportFormat> CardExportFormatFor(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == "png")
        return TCardExportFormat::Png;
    if (suffix == "jpg" || suffix == "jpeg" || suffix == "jpe")
        return TCardExportFormat::Jpeg;
    if (suffix == "bmp")
        return TCardExportFormat::Bmp;
    if (suffix == "pdf")
        return TCardExportFormat::Pdf;
    if (suffix == "svg")
        return TCardExportFormat::Svg;
    return std::nullopt;
}

QString CardExportExtension(TCardExportFormat format)
{
    switch (format) {
    case TCardExportFormat::Png: return "png";
    case TCardExportFormat::Jpeg: return "jpg";
    case TCardExportFormat::Bmp: return "bmp";
    case TCardExportFormat::Pdf: return "pdf";
    case TCardExportFormat::Svg: return "svg";
    }
    return "png";
}

QString WriteCardExport(CardPanel& panel, const TCardExport& o, const QString& path, const QStringList& inputs)
{
    const QString refused = refusedOutput(path, inputs);
    if (!refused.isEmpty())
        return refused;
    if (o.CardInches.width() <= 0 || o.CardInches.height() <= 0)
        return "Cannot create file " + path + ": the card has no size";
    // The file appears under its name only once it is complete.
    TSafeFile file(path);
    if (!file.Open())
        return file.ErrorString();
    QString error;
    switch (o.Format) {
    case TCardExportFormat::Png:
    case TCardExportFormat::Jpeg:
    case TCardExportFormat::Bmp: {
        // At the screen's resolution the picture is exactly the window's own.
        const QImage image = o.Dpi == 96 ? RenderCardPicture(panel, o.Border)
                                         : renderAtDpi(panel, o.CardInches, o.Dpi, o.Border, &error);
        if (!error.isEmpty())
            break;
        QImageWriter writer(file.Device(), o.WriterFormat.isEmpty() ? QByteArray(writerFormat(o.Format)) : o.WriterFormat);
        if (o.Format == TCardExportFormat::Jpeg)
            writer.setQuality(o.JpegQuality);
        const QImage out = o.Format == TCardExportFormat::Png ? image : image.convertToFormat(QImage::Format_RGB32);
        if (!writer.write(out))
            error = writer.errorString();
        break;
    }
    case TCardExportFormat::Pdf: {
        QPdfWriter pdf(file.Device());
        pdf.setResolution(kVectorDpi);
        pdf.setPageSize(QPageSize(o.CardInches, QPageSize::Inch, QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setCreator("Cardora");
        pdf.setTitle(QFileInfo(path).completeBaseName());
        TDeviceReport report(pdf, o.CardInches);
        error = drawCard(panel, report, o.CardInches, o.Border, o.Records);
        break;
    }
    case TCardExportFormat::Svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(file.Device());
        svg.setResolution(kVectorDpi);
        const QSize size(Round(o.CardInches.width() * kVectorDpi), Round(o.CardInches.height() * kVectorDpi));
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(QFileInfo(path).completeBaseName());
        svg.setDescription("Business card made with Cardora");
        // Qt's SVG generator ignores clips; cards, objects and fills are cut here.
        TClipEmulatingDevice clipped(svg);
        TDeviceReport report(clipped, o.CardInches);
        error = drawCard(panel, report, o.CardInches, o.Border);
        break;
    }
    }
    if (!error.isEmpty())
        file.Fail(error); // the temporary file goes
    if (!file.Commit())
        return file.ErrorString();
    return QString();
}

} // namespace cardora
