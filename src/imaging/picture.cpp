#include "imaging/picture.h"
#include "core/safe_file.h"
#include "imaging/picture_file.h"
#include "imaging/svg_picture.h"
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>

namespace cardora {

namespace {

constexpr qint64 kMaxPictureFileBytes = 256LL * 1024 * 1024;
// Screen copies larger than this are not kept; the picture is drawn directly.
constexpr qint64 kMaxCachedPixels = 16LL * 1024 * 1024;

void Put32(QByteArray& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.append(char((v >> (8 * i)) & 0xFF));
}

uint32_t Get32(const QByteArray& b, int at)
{
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= uint32_t(uchar(b[at + i])) << (8 * i);
    return v;
}

QByteArray BmpBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    writer.write(image.hasAlphaChannel() ? image.convertToFormat(QImage::Format_RGB32) : image);
    return bytes;
}

// A placeable header for a metafile read without one, so that the stored
// metafile says its own size.
QByteArray PlaceableWmf(const QByteArray& plain, const QRectF& frame)
{
    QByteArray head;
    Put32(head, 0x9AC6CDD7);
    auto put16 = [&head](int v) {
        head.append(char(v & 0xFF));
        head.append(char((v >> 8) & 0xFF));
    };
    put16(0);
    const QRect r = frame.toAlignedRect();
    put16(std::clamp(r.left(), -32768, 32767));
    put16(std::clamp(r.top(), -32768, 32767));
    put16(std::clamp(r.left() + r.width(), -32768, 32767));
    put16(std::clamp(r.top() + r.height(), -32768, 32767));
    put16(96);
    Put32(head, 0);
    uint16_t sum = 0;
    for (int i = 0; i < 20; i += 2)
        sum ^= uint16_t(uchar(head[i]) | (uchar(head[i + 1]) << 8));
    put16(sum);
    return head + plain;
}

} // namespace

struct TPicture::Cache {
    QSize size;
    bool flip = false, reverse = false;
    QImage scaled;
    QImage natural; // a metafile played at its natural size
};

TPicture::TPicture() : cache_(std::make_unique<Cache>()) {}

TPicture::TPicture(const TPicture& o)
    : kind_(o.kind_)
    , bitmap_(o.bitmap_)
    , source_(o.source_)
    , metafile_(o.metafile_)
    , svgSize_(o.svgSize_)
    , error_(o.error_)
    , cache_(std::make_unique<Cache>())
{
}

TPicture& TPicture::operator=(const TPicture& o)
{
    if (this != &o) {
        kind_ = o.kind_;
        bitmap_ = o.bitmap_;
        source_ = o.source_;
        metafile_ = o.metafile_;
        svgSize_ = o.svgSize_;
        error_ = o.error_;
        *cache_ = Cache();
    }
    return *this;
}

TPicture::~TPicture() = default;

bool TPicture::IsPng() const
{
    return kind_ == TGraphicKind::Bitmap && source_.startsWith("\x89PNG\r\n\x1a\n");
}

bool TPicture::IsTransparent() const
{
    return kind_ == TGraphicKind::Svg || (kind_ == TGraphicKind::Bitmap && bitmap_.hasAlphaChannel());
}

const QImage& TPicture::Bitmap() const
{
    if (kind_ == TGraphicKind::Svg) {
        if (cache_->natural.isNull()) {
            QImage image(svgSize_, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            DrawSvg(source_, p, QRectF(QPointF(0, 0), QSizeF(svgSize_)));
            p.end();
            cache_->natural = image;
        }
        return cache_->natural;
    }
    if (kind_ != TGraphicKind::Metafile)
        return bitmap_;
    if (cache_->natural.isNull()) {
        QImage image(metafile_.naturalSize, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter p(&image);
        PlayMetafile(source_, p, QRectF(QPointF(0, 0), QSizeF(metafile_.naturalSize)));
        p.end();
        cache_->natural = image.convertToFormat(QImage::Format_RGB32);
    }
    return cache_->natural;
}

QSize TPicture::Size() const
{
    switch (kind_) {
    case TGraphicKind::Bitmap:
    case TGraphicKind::Icon: return bitmap_.size();
    case TGraphicKind::Metafile: return metafile_.naturalSize;
    case TGraphicKind::Svg: return svgSize_;
    case TGraphicKind::None: break;
    }
    return {};
}

void TPicture::SetBitmap(const QImage& image)
{
    Clear();
    if (image.isNull())
        return;
    kind_ = TGraphicKind::Bitmap;
    bitmap_ = image;
}

void TPicture::Clear()
{
    kind_ = TGraphicKind::None;
    bitmap_ = QImage();
    source_.clear();
    metafile_ = MetafileHeader();
    svgSize_ = QSize();
    *cache_ = Cache();
}

void TPicture::SetPng(const QImage& image, const QByteArray& pngFile)
{
    Clear();
    if (image.isNull())
        return;
    kind_ = TGraphicKind::Bitmap;
    bitmap_ = image.hasAlphaChannel() ? image.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                                      : image.convertToFormat(QImage::Format_RGB32);
    // A file named .png may hold a GIF or a JPEG: card data must hold a PNG,
    // or the card would save and never open again.
    if (pngFile.startsWith("\x89PNG\r\n\x1a\n")) {
        source_ = pngFile;
    } else {
        QBuffer buffer(&source_);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
    }
}

bool TPicture::SetSvg(const QByteArray& bytes, QString* message)
{
    QSize size;
    const QString why = CheckSvg(bytes, &size);
    if (!why.isEmpty()) {
        if (message)
            *message = why;
        return false;
    }
    Clear();
    kind_ = TGraphicKind::Svg;
    source_ = bytes;
    svgSize_ = size;
    return true;
}

void TPicture::SetIcon(const QImage& image, const QByteArray& iconFile)
{
    Clear();
    if (image.isNull())
        return;
    kind_ = TGraphicKind::Icon;
    bitmap_ = image;
    source_ = iconFile;
}

bool TPicture::SetMetafile(const QByteArray& bytes)
{
    const MetafileHeader header = ReadMetafileHeader(bytes);
    if (header.format == MetafileFormat::None || header.naturalSize.isEmpty())
        return false;
    Clear();
    kind_ = TGraphicKind::Metafile;
    source_ = bytes;
    metafile_ = header;
    return true;
}

bool TPicture::LoadFromFile(const QString& path)
{
    // Every picture file (art named by a sidecar too) is a regular file of
    // bounded size: a device would be read without end, a FIFO would wait.
    QByteArray bytes;
    const QString error = ReadInputFile(path, kMaxPictureFileBytes, &bytes);
    if (!error.isEmpty()) {
        error_ = error;
        return false;
    }
    return LoadFromBytes(bytes, QFileInfo(path).fileName());
}

bool TPicture::LoadFromBytes(const QByteArray& bytes, const QString& fileName)
{
    TPicture loaded;
    QString message;
    if (!ReadPicture(bytes, fileName, loaded, &message)) {
        error_ = message;
        return false;
    }
    *this = loaded;
    error_.clear();
    return true;
}

TPicture TPicture::ToBitmapPicture() const
{
    if (kind_ != TGraphicKind::Icon)
        return *this;
    // An icon is drawn onto a white bitmap of its size.
    QImage image(bitmap_.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.drawImage(0, 0, bitmap_);
    p.end();
    TPicture out;
    out.SetBitmap(image);
    return out;
}

QString TPicture::ClassName() const
{
    switch (kind_) {
    case TGraphicKind::Bitmap: return IsPng() ? QStringLiteral("TPngImage") : QStringLiteral("TBitmap");
    case TGraphicKind::Svg: return QStringLiteral("TSvgImage");
    case TGraphicKind::Icon: return QStringLiteral("TIcon");
    case TGraphicKind::Metafile: return QStringLiteral("TMetafile");
    case TGraphicKind::None: break;
    }
    return {};
}

QByteArray TPicture::GraphicData() const
{
    QByteArray out;
    switch (kind_) {
    case TGraphicKind::Bitmap: {
        const QByteArray bmp = source_.isEmpty() ? BmpBytes(bitmap_) : source_;
        Put32(out, uint32_t(bmp.size()));
        out.append(bmp);
        break;
    }
    case TGraphicKind::Icon: out = source_; break;
    case TGraphicKind::Svg:
        Put32(out, uint32_t(source_.size()));
        out.append(source_);
        break;
    case TGraphicKind::Metafile: {
        const QByteArray body = metafile_.format == MetafileFormat::Wmf ? PlaceableWmf(source_, metafile_.frame) : source_;
        Put32(out, uint32_t(body.size()));
        out.append(body);
        break;
    }
    case TGraphicKind::None: break;
    }
    return out;
}

bool TPicture::SetGraphicData(const QString& className, const QByteArray& data, QString* message)
{
    auto fail = [message](const QString& text) {
        if (message)
            *message = text;
        return false;
    };
    const QuietImageReaders quiet;
    if (className == QLatin1String("TIcon")) {
        QBuffer buffer;
        buffer.setData(data);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "ico");
        reader.setDecideFormatFromContent(false);
        if (reader.imageCount() != 1)
            return fail(QStringLiteral("Icon image is not valid"));
        const QImage image = reader.read();
        if (image.isNull())
            return fail(QStringLiteral("Icon image is not valid"));
        SetIcon(image, data);
        return true;
    }
    // A class this reader does not know (a later format's) is passed over:
    // the picture stays as it was and the rest of the card reads.
    if (className != QLatin1String("TBitmap") && className != QLatin1String("TMetafile")
        && className != QLatin1String("TPngImage") && className != QLatin1String("TSvgImage"))
        return true;
    if (data.size() < 4)
        return fail(QStringLiteral("Stream read error"));
    const qint64 size = Get32(data, 0);
    if (size > data.size() - 4)
        return fail(QStringLiteral("Stream read error"));
    const QByteArray body = data.mid(4, size);
    if (className == QLatin1String("TBitmap")) {
        if (size == 0) {
            Clear();
            return true;
        }
        if (!body.startsWith("BM"))
            return fail(QStringLiteral("Bitmap image is not valid"));
        QImage image = QImage::fromData(body, "BMP");
        if (image.isNull())
            return fail(QStringLiteral("Bitmap image is not valid"));
        Clear();
        kind_ = TGraphicKind::Bitmap;
        bitmap_ = image;
        source_ = body;
        return true;
    }
    if (className == QLatin1String("TMetafile")) {
        if (!SetMetafile(body))
            return fail(QStringLiteral("Metafile is not valid"));
        return true;
    }
    if (className == QLatin1String("TPngImage")) {
        // Through the one picture reader, with its size limits.
        TPicture png;
        if (!body.startsWith("\x89PNG\r\n\x1a\n") || !ReadPicture(body, QStringLiteral("picture.png"), png, nullptr)
            || !png.IsPng())
            return fail(QStringLiteral("PNG image is not valid"));
        *this = png;
        return true;
    }
    if (className == QLatin1String("TSvgImage")) {
        QString why;
        if (!SetSvg(body, &why))
            return fail(QStringLiteral("SVG image is not valid: ") + why);
        return true;
    }
    return true;
}

void TPicture::Draw(QPainter& painter, const QRectF& target, bool flip, bool reverse) const
{
    if (!target.isValid())
        return;
    switch (kind_) {
    case TGraphicKind::Bitmap:
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, (flip || reverse) ? bitmap_.mirrored(reverse, flip) : bitmap_);
        painter.restore();
        break;
    case TGraphicKind::Icon:
        painter.drawImage(target, bitmap_);
        break;
    case TGraphicKind::Metafile: PlayMetafile(source_, painter, target); break;
    case TGraphicKind::Svg: DrawSvg(source_, painter, target); break;
    case TGraphicKind::None: break;
    }
}

void TPicture::DrawCached(QPainter& painter, const QRect& target, bool flip, bool reverse) const
{
    if (!HasGraphic() || target.isEmpty())
        return;
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QSize size = (QSizeF(target.size()) * ratio * std::hypot(painter.transform().m11(), painter.transform().m12()))
                           .toSize();
    if (kind_ != TGraphicKind::Bitmap)
        flip = reverse = false;
    if (size.isEmpty() || qint64(size.width()) * size.height() > kMaxCachedPixels) {
        Draw(painter, target, flip, reverse);
        return;
    }
    Cache& c = *cache_;
    if (c.scaled.isNull() || c.size != size || c.flip != flip || c.reverse != reverse) {
        if (kind_ == TGraphicKind::Metafile || kind_ == TGraphicKind::Svg) {
            QImage image(size, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            if (kind_ == TGraphicKind::Svg)
                DrawSvg(source_, p, QRectF(QPointF(0, 0), QSizeF(size)));
            else
                PlayMetafile(source_, p, QRectF(QPointF(0, 0), QSizeF(size)));
            p.end();
            c.scaled = image;
        } else {
            const QImage source = (flip || reverse) ? bitmap_.mirrored(reverse, flip) : bitmap_;
            c.scaled = source.size() == size ? source : source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
        c.size = size;
        c.flip = flip;
        c.reverse = reverse;
    }
    painter.drawImage(QRectF(target), c.scaled);
}

} // namespace cardora
