#include "imaging/bitmap_data.h"
#include <QBuffer>
#include <QImageWriter>
#include <algorithm>
#include <climits>
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
        QImageWriter writer(&buffer, "bmp");
        if (!writer.write(image.convertToFormat(QImage::Format_RGB32)))
            file.clear();
    }
    return BitmapDataBlock(file);
}

bool ReadBitmapDataBlock(const QByteArray& block, QImage* image, QByteArray* bmpFile)
{
    if (block.size() < 4)
        return false;
    const quint32 size = qFromLittleEndian<quint32>(block.constData());
    *image = QImage();
    bmpFile->clear();
    if (size == 0)
        return true;
    const QByteArray file = block.mid(4, static_cast<qsizetype>(std::min<quint32>(size, INT_MAX)));
    if (!file.startsWith("BM"))
        return false;
    image->loadFromData(file, "BMP");
    *bmpFile = file;
    return true;
}

} // namespace cardora
