#include "printing/preflight.h"
#include "core/window_placement.h"
#include "imaging/picture.h"
#include "imaging/print_quality.h"
#include "objects/circletext/circle_text.h"
#include "objects/graphic_control.h"
#include "objects/multiline_label.h"
#include "objects/pictures/image_object.h"
#include "objects/qrcode/qr_code.h"
#include "objects/richtext_label/rich_label.h"
#include "objects/supertext/super_text.h"
#include "objects/symbol_label.h"
#include "objects/text_label.h"
#include <QJsonArray>
#include <QJsonDocument>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <cmath>

namespace cardora {

namespace {

enum Edge { Left, Top, Right, Bottom };
const char* const kEdgeNames[] = { "left", "top", "right", "bottom" };

QString edgeList(const std::vector<Edge>& edges)
{
    QStringList names;
    for (Edge e : edges)
        names << kEdgeNames[e];
    if (names.size() <= 1)
        return names.join(QString());
    const QString last = names.takeLast();
    return names.join(", ") + " and " + last;
}

QString nameOf(const TQGraphicControl& o)
{
    return o.Name().isEmpty() ? o.ClassName() : o.Name();
}

bool isText(const TQGraphicControl& o)
{
    if (dynamic_cast<const TQSymbolLabel*>(&o))
        return false; // a symbol is a small picture, whatever font draws it
    return dynamic_cast<const TQBaseLabel*>(&o) || dynamic_cast<const TQMultiLineBaseLabel*>(&o)
        || dynamic_cast<const TQPRichBaseLabel*>(&o) || dynamic_cast<const TQSuperText*>(&o)
        || dynamic_cast<const TQPCircleText*>(&o);
}

// The smallest point size the object's text is set in.
double smallestPoints(const TQGraphicControl& o)
{
    if (const auto* rich = dynamic_cast<const TQPRichBaseLabel*>(&o)) {
        const QTextDocument& doc = rich->RTFText();
        double least = doc.defaultFont().pointSizeF();
        bool any = false;
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextFragment f = it.fragment();
                if (!f.isValid() || f.text().trimmed().isEmpty())
                    continue;
                const double size = f.charFormat().font().pointSizeF();
                if (size > 0)
                    least = any ? std::min(least, size) : size;
                any = true;
            }
        return least;
    }
    return o.Font().Size();
}

// The object's box in inches on the card.
QRectF inches(const QRect& pixels)
{
    const double ppi = ScreenPixelsPerInch();
    return QRectF(pixels.left() / ppi, pixels.top() / ppi, pixels.width() / ppi, pixels.height() / ppi);
}

} // namespace

std::vector<TPreflightWarning> PreflightCard(const std::vector<TQGraphicControl*>& objects, const TPreflightOptions& o)
{
    std::vector<TPreflightWarning> out;
    const QRectF card(QPointF(0, 0), o.CardInches);
    const QRectF safe = card.adjusted(o.SafeInches, o.SafeInches, -o.SafeInches, -o.SafeInches);
    const double pixel = 1.0 / ScreenPixelsPerInch();
    // Boxes sit on whole screen pixels: within half a pixel counts as there.
    const double slack = pixel / 2;
    const QString safeText = LengthText(o.SafeInches);

    if (o.Art && o.Art->HasGraphic()) {
        if (o.BleedInches > slack)
            out.push_back({ "art-short-of-bleed", "background art",
                QString("The background art covers the card but not the %1 bleed around it; a thin white edge may "
                        "show after trimming").arg(LengthText(o.BleedInches)) });
        const QSize placed(int(std::lround(o.CardInches.width() * ScreenPixelsPerInch())),
            int(std::lround(o.CardInches.height() * ScreenPixelsPerInch())));
        const int ppi = EffectivePixelsPerInch(*o.Art, placed);
        if (ppi > 0 && ppi < kPrintShopPixelsPerInch)
            out.push_back({ "low-resolution-picture", "background art",
                QString("The background art prints at %1 pixels per inch; print shops ask for %2")
                    .arg(ppi)
                    .arg(kPrintShopPixelsPerInch) });
    }

    for (const TQGraphicControl* object : objects) {
        if (!object || !object->Visible())
            continue;
        const TQGraphicControl& obj = *object;
        const QRect stored = obj.BoundsRect();
        if (stored.width() < 1 || stored.height() < 1)
            continue;
        const QRectF box = inches(stored);
        // Nothing of it reaches the trimmed card: the shop cuts it away.
        if (!box.intersects(card))
            continue;
        const QString name = nameOf(obj);
        if (isText(obj)) {
            std::vector<Edge> outside;
            if (box.left() < safe.left() - slack)
                outside.push_back(Left);
            if (box.top() < safe.top() - slack)
                outside.push_back(Top);
            if (box.right() > safe.right() + slack)
                outside.push_back(Right);
            if (box.bottom() > safe.bottom() + slack)
                outside.push_back(Bottom);
            if (!outside.empty())
                out.push_back({ "text-outside-safe-area", name,
                    QString("Text reaches outside the safe area (%1 inside the trim) at the %2; it may be cut off")
                        .arg(safeText, edgeList(outside)) });
            const double points = smallestPoints(obj);
            if (points > 0 && points < kSmallestTextPoints)
                out.push_back({ "tiny-text", name,
                    QString("Text set in %1 pt is too small to read in print; use at least %2 pt")
                        .arg(points, 0, 'g', 3)
                        .arg(kSmallestTextPoints) });
        } else if (o.BleedInches > slack) {
            // Art that touches the trim edge (to within a pixel) must run on
            // to the bleed's edge, or paper shows where the cut wanders.
            const double reach = o.BleedInches - slack;
            std::vector<Edge> short_;
            if (box.left() <= pixel && box.left() > -reach)
                short_.push_back(Left);
            if (box.top() <= pixel && box.top() > -reach)
                short_.push_back(Top);
            if (box.right() >= card.right() - pixel && box.right() < card.right() + reach)
                short_.push_back(Right);
            if (box.bottom() >= card.bottom() - pixel && box.bottom() < card.bottom() + reach)
                short_.push_back(Bottom);
            if (!short_.empty())
                out.push_back({ "art-short-of-bleed", name,
                    QString("It touches the card's %1 %2 but stops short of the %3 bleed; extend it to the "
                            "bleed line")
                        .arg(edgeList(short_), short_.size() == 1 ? "edge" : "edges", LengthText(o.BleedInches)) });
        }
        if (const auto* qr = dynamic_cast<const TQRCode*>(&obj)) {
            // The code's own measure of what phones read: its dots and its size.
            const QrSizeCheck size = qr->SizeCheck();
            if (size.ModuleTooSmall() || size.CodeTooSmall())
                out.push_back({ "qr-too-small", name, size.Warnings().join(' ') });
        }
        if (const auto* image = dynamic_cast<const TQImage*>(&obj)) {
            const int ppi = EffectivePixelsPerInch(image->Picture(), stored.size());
            if (ppi > 0 && ppi < kPrintShopPixelsPerInch)
                out.push_back({ "low-resolution-picture", name,
                    QString("The picture prints at %1 pixels per inch at its size on the card; print shops ask "
                            "for %2")
                        .arg(ppi)
                        .arg(kPrintShopPixelsPerInch) });
        }
    }
    return out;
}

QByteArray PreflightJson(const std::vector<TPreflightWarning>& warnings)
{
    // JSON strings escaped by Qt; keys kept in the order the format names them.
    auto quoted = [](const QString& s) {
        const QByteArray a = QJsonDocument(QJsonArray { s }).toJson(QJsonDocument::Compact);
        return a.mid(1, a.size() - 2);
    };
    QByteArray json = "{\"ok\": ";
    json += warnings.empty() ? "true" : "false";
    json += ", \"warnings\": [";
    for (std::size_t i = 0; i < warnings.size(); ++i) {
        const TPreflightWarning& w = warnings[i];
        if (i)
            json += ", ";
        json += "{\"code\": " + quoted(w.Code) + ", \"object\": " + quoted(w.Object) + ", \"message\": "
            + quoted(w.Message) + "}";
    }
    json += "]}";
    return json;
}

} // namespace cardora
