#include "imaging/svg_picture.h"
#include "imaging/byte_reader.h"
#include "imaging/picture_file.h"
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <cmath>

namespace cardora {

namespace {

// A logo is small; far larger files are refused before parsing.
constexpr qsizetype kMaxSvgBytes = 16 * 1024 * 1024;

// A length of the root element in pixels at 96 per inch; negative when it
// is missing, relative or not understood.
double Pixels(QStringView text)
{
    static const QRegularExpression form(QStringLiteral(R"(^\s*([0-9]*\.?[0-9]+(?:[eE][-+]?[0-9]+)?)\s*([a-z%]*)\s*$)"));
    const QRegularExpressionMatch m = form.match(text.toString());
    if (!m.hasMatch())
        return -1;
    const double v = m.captured(1).toDouble();
    const QString unit = m.captured(2);
    if (unit.isEmpty() || unit == QLatin1String("px"))
        return v;
    if (unit == QLatin1String("in"))
        return v * 96;
    if (unit == QLatin1String("cm"))
        return v * 96 / 2.54;
    if (unit == QLatin1String("mm"))
        return v * 96 / 25.4;
    if (unit == QLatin1String("pt"))
        return v * 96 / 72;
    if (unit == QLatin1String("pc"))
        return v * 16;
    return -1;
}

// A picture embedded as a "data:" address: only PNG, JPEG or GIF pixels, so
// that no drawing hides inside another where the text check cannot see it.
bool PlainEmbeddedPicture(const QString& address)
{
    const qsizetype comma = address.indexOf(QLatin1Char(','));
    if (comma < 0)
        return false;
    const QByteArray payload = address.mid(comma + 1).toLatin1();
    const QByteArray data = address.left(comma).endsWith(QLatin1String(";base64"), Qt::CaseInsensitive)
        ? QByteArray::fromBase64(payload.simplified().replace(' ', ""))
        : QByteArray::fromPercentEncoding(payload);
    return data.startsWith("\x89PNG\r\n\x1a\n") || data.startsWith("\xff\xd8\xff") || data.startsWith("GIF8");
}

// What the drawing says about anything outside itself.
QString OutsideReference(const QByteArray& bytes)
{
    if (bytes.contains("<!ENTITY"))
        return QStringLiteral("the drawing declares entities");
    if (bytes.contains("@import"))
        return QStringLiteral("the drawing refers to other files");
    static const QRegularExpression href(QStringLiteral(R"(href\s*=\s*(["'])\s*(.*?)\1)"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression url(QStringLiteral(R"(url\s*\(\s*["']?\s*([^)]*))"));
    const QString text = QString::fromUtf8(bytes);
    for (auto it = href.globalMatch(text); it.hasNext();) {
        const QString target = it.next().captured(2);
        if (target.startsWith(QLatin1Char('#')))
            continue;
        if (!target.startsWith(QLatin1String("data:"), Qt::CaseInsensitive))
            return QStringLiteral("the drawing refers to other files");
        if (!PlainEmbeddedPicture(target))
            return QStringLiteral("the drawing embeds a picture this program does not accept");
    }
    for (auto it = url.globalMatch(text); it.hasNext();)
        if (!it.next().captured(1).startsWith(QLatin1Char('#')))
            return QStringLiteral("the drawing refers to other files");
    return {};
}

} // namespace

QString CheckSvg(const QByteArray& bytes, QSize* naturalSize)
{
    if (bytes.size() > kMaxSvgBytes)
        return QStringLiteral("the drawing is too large");
    // Compressed and wide-character files cannot be checked as text.
    if (bytes.startsWith("\x1f\x8b") || bytes.contains('\0'))
        return QStringLiteral("not an SVG drawing this program can read");
    if (QString why = OutsideReference(bytes); !why.isEmpty())
        return why;

    // The root element's declared size.
    QXmlStreamReader xml(bytes);
    xml.setNamespaceProcessing(false);
    while (!xml.atEnd() && !xml.isStartElement())
        xml.readNext();
    if (!xml.isStartElement() || xml.name() != QLatin1String("svg"))
        return QStringLiteral("not an SVG drawing");
    const double w = Pixels(xml.attributes().value(QLatin1String("width")));
    const double h = Pixels(xml.attributes().value(QLatin1String("height")));
    // Without a size or a view box a drawing has no size of its own (the
    // renderer would make one up).
    if ((w <= 0 || h <= 0) && !xml.attributes().hasAttribute(QLatin1String("viewBox")))
        return QStringLiteral("the drawing has no size");

    const QuietImageReaders quiet;
    QSvgRenderer renderer(bytes);
    if (!renderer.isValid())
        return QStringLiteral("not an SVG drawing this program can read");
    QSizeF size = renderer.viewBoxF().size();
    if (w > 0 && h > 0)
        size = QSizeF(w, h);
    else if (w > 0 && size.width() > 0)
        size = QSizeF(w, w * size.height() / size.width());
    else if (h > 0 && size.height() > 0)
        size = QSizeF(h * size.width() / size.height(), h);
    if (!(size.width() < kMaxPictureSide + 1.0) || !(size.height() < kMaxPictureSide + 1.0))
        return QStringLiteral("the picture is too large");
    const QSize whole(std::max(1, int(std::lround(size.width()))), std::max(1, int(std::lround(size.height()))));
    if (size.isEmpty() || !PictureSizeAcceptable(whole.width(), whole.height()))
        return QStringLiteral("the drawing has no size");
    if (naturalSize)
        *naturalSize = whole;
    return {};
}

void DrawSvg(const QByteArray& bytes, QPainter& painter, const QRectF& target)
{
    const QuietImageReaders quiet;
    QSvgRenderer renderer(bytes);
    renderer.setAspectRatioMode(Qt::IgnoreAspectRatio);
    painter.save();
    renderer.render(&painter, target);
    painter.restore();
}

} // namespace cardora
