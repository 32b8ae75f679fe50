#include "imaging/byte_reader.h"
#include "imaging/raster_readers.h"
#include <QList>
#include <QRgb>

namespace cardora {

namespace {

constexpr int kTgaHeaderSize = 18;

QRgb Colour16(uint16_t v)
{
    const int r = (v >> 10) & 0x1F, g = (v >> 5) & 0x1F, b = v & 0x1F;
    return qRgb((r << 3) | (r >> 2), (g << 3) | (g >> 2), (b << 3) | (b >> 2));
}

// One pixel or colour-map entry of the given depth, as BGR(A) bytes.
QRgb ReadColour(const uchar* p, int depth)
{
    switch (depth) {
    case 15:
    case 16: return Colour16(uint16_t(p[0] | (p[1] << 8)));
    case 24: return qRgb(p[2], p[1], p[0]);
    case 32: return qRgba(p[2], p[1], p[0], p[3]);
    default: return qRgb(p[0], p[0], p[0]);
    }
}

} // namespace

QImage ReadTga(const QByteArray& bytes)
{
    ByteReader in(bytes);
    const int idLength = in.U8();
    const int mapType = in.U8();
    const int imageType = in.U8();
    const int mapFirst = in.U16();
    const int mapLength = in.U16();
    const int mapDepth = in.U8();
    in.Skip(4); // origin
    const int width = in.U16();
    const int height = in.U16();
    const int depth = in.U8();
    const int descriptor = in.U8();
    if (in.Failed() || mapType > 1)
        return {};
    const bool rle = imageType >= 9;
    const int baseType = rle ? imageType - 8 : imageType;
    if (baseType < 1 || baseType > 3 || !PictureSizeAcceptable(width, height))
        return {};
    if (baseType == 1 && (mapType != 1 || (depth != 8 && depth != 16)))
        return {};
    if (baseType == 2 && depth != 15 && depth != 16 && depth != 24 && depth != 32)
        return {};
    if (baseType == 3 && depth != 8 && depth != 16)
        return {};

    in.Skip(idLength);
    QList<QRgb> palette;
    if (mapType == 1) {
        if (mapDepth != 15 && mapDepth != 16 && mapDepth != 24 && mapDepth != 32)
            return {};
        const int entryBytes = (mapDepth + 7) / 8;
        const QByteArray map = in.Bytes(qsizetype(mapLength) * entryBytes);
        if (in.Failed())
            return {};
        palette.resize(mapFirst + mapLength, qRgb(0, 0, 0));
        for (int i = 0; i < mapLength; ++i)
            palette[mapFirst + i] = ReadColour(reinterpret_cast<const uchar*>(map.constData()) + i * entryBytes, mapDepth);
    }

    const int pixelBytes = (depth + 7) / 8;
    const qint64 total = qint64(width) * height;
    QByteArray pixels;
    if (!rle) {
        const qint64 n = std::min<qint64>(total * pixelBytes, in.Remaining());
        pixels = in.Bytes(n);
    } else {
        // Packets are decoded as one stream: a packet may run on into the
        // next row, as the format allows.
        // A packet of 1 + pixel bytes gives at most 128 pixels.
        pixels.reserve(std::min<qint64>(total, in.Remaining() / (1 + pixelBytes) * 128 + 128) * pixelBytes);
        while (pixels.size() < total * pixelBytes && !in.AtEnd()) {
            const int head = in.U8();
            const int count = (head & 0x7F) + 1;
            const qint64 room = (total * pixelBytes - pixels.size()) / pixelBytes;
            if (head & 0x80) {
                const QByteArray one = in.Bytes(pixelBytes);
                if (in.Failed())
                    break;
                for (qint64 i = 0; i < std::min<qint64>(count, room); ++i)
                    pixels.append(one);
            } else {
                const qint64 n = std::min<qint64>(count, std::min<qint64>(room, in.Remaining() / pixelBytes));
                pixels.append(in.Bytes(n * pixelBytes));
                if (n < count)
                    break;
            }
        }
    }
    const qint64 decodedRows = pixels.size() / (qint64(width) * pixelBytes);
    // A file that ends more than a row early is damaged, not a picture.
    if (decodedRows == 0 || decodedRows < height - 1)
        return {};

    const bool hasAlpha = depth == 32 && (descriptor & 0x0F) != 0;
    QImage image(width, height, hasAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull())
        return {};
    image.fill(Qt::white);
    const bool rightToLeft = descriptor & 0x10;
    const bool topDown = descriptor & 0x20;
    bool anyAlpha = false;
    const auto* src = reinterpret_cast<const uchar*>(pixels.constData());
    for (qint64 row = 0; row < decodedRows; ++row) {
        const int y = topDown ? int(row) : height - 1 - int(row);
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int col = 0; col < width; ++col) {
            const uchar* p = src + (row * width + col) * pixelBytes;
            QRgb c;
            if (baseType == 1) {
                const int index = depth == 8 ? p[0] : (p[0] | (p[1] << 8));
                c = index < palette.size() ? palette[index] : qRgb(0, 0, 0);
            } else if (baseType == 3) {
                c = qRgb(p[0], p[0], p[0]); // 16-bit grey carries alpha in its second byte
            } else {
                c = ReadColour(p, depth);
            }
            if (hasAlpha && qAlpha(c) != 0)
                anyAlpha = true;
            line[rightToLeft ? width - 1 - col : col] = hasAlpha ? c : (c | 0xFF000000u);
        }
    }
    // A picture whose alpha channel is all zero is an opaque picture from a
    // writer that left the channel unused.
    if (hasAlpha && !anyAlpha)
        image = image.convertToFormat(QImage::Format_RGB32);
    return image;
}

} // namespace cardora
