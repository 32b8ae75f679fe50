#include "imaging/bitmap_data.h"
#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

namespace cardora {

QByteArray BitmapDataBlock(const QByteArray& bmpFile)
{
    QByteArray block(4, '\0');
    qToLittleEndian<quint32>(static_cast<quint32>(bmpFile.size()), block.data());
    return block + bmpFile;
}

QByteArray BitmapDataBlock(const QImage& image)
{
    QByteArray file;
    if (!image.isNull()) {
        QBuffer buffer(&file);
        buffer.open(QIODevice::WriteOnly);
        // Card bitmaps have no alpha channel.
        const QImage opaque = image.hasAlphaChannel() ? image.convertToFormat(QImage::Format_RGB32) : image;
        if (!opaque.save(&buffer, "BMP"))
            file.clear();
    }
    return BitmapDataBlock(file);
}

bool ReadBitmapDataBlock(const QByteArray& block, QImage* image, QByteArray* bmpFile)
{
    if (block.size() < 4)
        return false;
    const quint32 size = qFromLittleEndian<quint32>(block.constData());
    if (size == 0) {
        *image = QImage();
        bmpFile->clear();
        return true;
    }
    if (size > static_cast<quint32>(block.size() - 4))
        return false;
    const QByteArray file = block.mid(4, static_cast<qsizetype>(size));
    if (!file.startsWith("BM"))
        return false;
    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    const QImage decoded = reader.read();
    if (decoded.isNull())
        return false;
    *image = decoded;
    *bmpFile = file;
    return true;
}

} // namespace cardora
