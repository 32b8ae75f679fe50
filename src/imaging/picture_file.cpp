#include "imaging/picture_file.h"
#include "core/safe_file.h"
#include "imaging/byte_reader.h"
#include "imaging/picture.h"
#include "imaging/raster_readers.h"
#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <cstdlib>

namespace cardora {

namespace {
void dropMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    Q_UNUSED(context);
    Q_UNUSED(text);
    if (type == QtFatalMsg)
        abort();
}
} // namespace

QuietImageReaders::QuietImageReaders() : previous_(qInstallMessageHandler(dropMessage)) {}
QuietImageReaders::~QuietImageReaders() { qInstallMessageHandler(previous_); }

namespace {

// Pictures with transparency arrive on white, as they are shown on a card.
QImage Opaque(const QImage& image)
{
    if (!image.hasAlphaChannel())
        return image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
    QImage out(image.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    p.drawImage(0, 0, image);
    p.end();
    return out;
}

QImage ReadWithQt(const QByteArray& bytes, const char* format, QString* why)
{
    const QuietImageReaders quiet;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(format == nullptr);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid() && !PictureSizeAcceptable(size.width(), size.height())) {
        *why = QStringLiteral("the picture is too large");
        return {};
    }
    QImage image = reader.read();
    if (image.isNull())
        *why = reader.errorString();
    return image;
}

QImage ReadIcon(const QByteArray& bytes, QString* why)
{
    const QuietImageReaders quiet;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    reader.setDecideFormatFromContent(false);
    // Of an icon's images the largest is the picture.
    QImage best;
    const int count = std::min(reader.imageCount(), 64);
    for (int i = 0; i < std::max(count, 1); ++i) {
        if (i > 0 && !reader.jumpToImage(i))
            break;
        const QImage image = reader.read();
        if (!image.isNull() && qint64(image.width()) * image.height() > qint64(best.width()) * best.height())
            best = image;
    }
    if (best.isNull())
        *why = reader.errorString();
    return best;
}

// Qt's reader fills missing rows of an uncompressed bitmap with black and
// calls it read; a file shorter than its header promises is damaged.
bool BitmapEndsEarly(const QByteArray& bytes)
{
    ByteReader in(bytes);
    if (in.U16() != 0x4D42) // "BM"
        return false;
    in.Skip(8); // file size, reserved
    const qint64 pixels = in.U32();
    const uint32_t headerSize = in.U32();
    qint64 width = 0, height = 0;
    int bits = 0;
    uint32_t compression = 0;
    if (headerSize == 12) {
        width = in.U16();
        height = in.U16();
        in.U16();
        bits = in.U16();
    } else {
        width = in.S32();
        height = in.S32();
        in.U16();
        bits = in.U16();
        compression = in.U32();
    }
    if (in.Failed() || pixels > bytes.size())
        return true;
    // Run-length data says where it ends only in its own codes.
    if (compression != 0 && compression != 3 && compression != 6)
        return false;
    // Sizes past the program's limit are refused later, by that limit.
    if (std::llabs(width) > kMaxPictureSide || std::llabs(height) > kMaxPictureSide)
        return false;
    const qint64 stride = (width * bits + 31) / 32 * 4;
    return stride > 0 && pixels + stride * std::llabs(height) > bytes.size();
}

} // namespace

QString LastExtension(const QString& fileName)
{
    QString name = fileName;
    const qsizetype cut = std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
    name = name.mid(cut + 1);
    const qsizetype colon = name.lastIndexOf(QLatin1Char(':'));
    name = name.mid(colon + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return name.mid(dot + 1).toUpper();
}

PictureClass ClassifyPictureName(const QString& fileName)
{
    static const struct {
        const char* ext;
        PictureClass cls;
    } table[] = {
        { "JPG", PictureClass::Jpg }, { "GIF", PictureClass::Gif }, { "JIF", PictureClass::Jif },
        { "BMP", PictureClass::Bmp }, { "DIB", PictureClass::Dib }, { "RLE", PictureClass::Rle },
        { "TGA", PictureClass::Tga }, { "PCX", PictureClass::Pcx }, { "ICO", PictureClass::Ico },
        { "WMF", PictureClass::Wmf }, { "EMF", PictureClass::Emf }, { "PNG", PictureClass::Png },
        { "SVG", PictureClass::Svg },
    };
    const QString ext = LastExtension(fileName);
    for (const auto& e : table)
        if (ext == QLatin1String(e.ext))
            return e.cls;
    return PictureClass::Other;
}

bool ReadPicture(const QByteArray& bytes, const QString& fileName, TPicture& picture, QString* message)
{
    QString why;
    QImage image;
    const QString name = QFileInfo(fileName).fileName();
    auto fail = [&](const QString& reason) {
        if (message)
            *message = QStringLiteral("%1 cannot be read: %2").arg(name, reason.isEmpty() ? QStringLiteral("not a picture") : reason);
        return false;
    };
    if (bytes.isEmpty())
        return fail(QStringLiteral("the file is empty"));

    switch (ClassifyPictureName(fileName)) {
    case PictureClass::Bmp:
    case PictureClass::Dib:
    case PictureClass::Rle:
        if (BitmapEndsEarly(bytes))
            return fail(QStringLiteral("the picture data ends early; the file is damaged"));
        image = ReadWithQt(bytes, "bmp", &why);
        break;
    case PictureClass::Jpg:
    case PictureClass::Jif: image = ReadWithQt(bytes, "jpeg", &why); break;
    case PictureClass::Gif: image = ReadWithQt(bytes, "gif", &why); break;
    case PictureClass::Pcx:
        image = ReadPcx(bytes);
        why = QStringLiteral("not a PCX picture this program can read");
        break;
    case PictureClass::Tga:
        image = ReadTga(bytes);
        why = QStringLiteral("not a TGA picture this program can read");
        break;
    case PictureClass::Ico: {
        const QImage icon = ReadIcon(bytes, &why);
        if (icon.isNull())
            return fail(why);
        // Kept as the icon it is; cards take it as a bitmap.
        picture.SetIcon(icon, bytes);
        return true;
    }
    case PictureClass::Wmf:
    case PictureClass::Emf: {
        const MetafileHeader header = ReadMetafileHeader(bytes);
        if (header.format == MetafileFormat::None || header.naturalSize.isEmpty())
            return fail(QStringLiteral("not a Windows metafile"));
        picture.SetMetafile(bytes);
        return true;
    }
    case PictureClass::Png: {
        // A file named .png that holds another format (web pages hand out
        // JPEGs and GIFs so) is read by what it holds, as a plain bitmap.
        if (!bytes.startsWith("\x89PNG\r\n\x1a\n")) {
            image = ReadWithQt(bytes, nullptr, &why);
            break;
        }
        // Kept with its alpha and its bytes.
        const QImage png = ReadWithQt(bytes, "png", &why);
        if (png.isNull())
            return fail(why);
        if (!PictureSizeAcceptable(png.width(), png.height()))
            return fail(QStringLiteral("the picture is too large"));
        TPicture out;
        out.SetPng(png, bytes);
        picture = out;
        return true;
    }
    case PictureClass::Svg: {
        TPicture out;
        if (!out.SetSvg(bytes, &why))
            return fail(why);
        picture = out;
        return true;
    }
    case PictureClass::Other: image = ReadWithQt(bytes, nullptr, &why); break;
    }
    if (image.isNull())
        return fail(why);
    if (!PictureSizeAcceptable(image.width(), image.height()))
        return fail(QStringLiteral("the picture is too large"));
    TPicture out;
    out.SetBitmap(Opaque(image));
    picture = out;
    return true;
}

bool WritePictureFile(const QImage& image, const QString& path, int jpegQuality, QString* message,
    const char* format)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    if (!format)
        format = ext == QLatin1String("bmp") ? "bmp"
            : ext == QLatin1String("png")    ? "png"
            : (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg")) ? "jpeg"
                                             : nullptr;
    auto fail = [message](const QString& text) {
        if (message)
            *message = text;
        return false;
    };
    if (!format)
        return fail(QStringLiteral("%1: the picture type must be .bmp, .png or .jpg").arg(path));
    if (image.isNull())
        return fail(QStringLiteral("%1: there is no picture to write").arg(path));
    // Encoded in memory, then written through a temporary file that replaces
    // the target only when complete (a full disk leaves the old file).
    QBuffer encoded;
    encoded.open(QIODevice::WriteOnly);
    QImageWriter writer(&encoded, format);
    if (qstrcmp(format, "jpeg") == 0)
        writer.setQuality(jpegQuality);
    const QImage out = qstrcmp(format, "png") == 0 ? image : Opaque(image);
    if (!writer.write(out))
        return fail(QStringLiteral("Cannot write file %1").arg(path));
    const QString error = WriteFileSafely(path, encoded.data());
    if (!error.isEmpty())
        return fail(error);
    return true;
}

} // namespace cardora
