#include "imaging/byte_reader.h"
#include "imaging/raster_readers.h"
#include <QList>
#include <QRgb>
#include <cstring>

namespace cardora {

namespace {

constexpr int kPcxHeaderSize = 128;

// The run-length stream is decoded as one sequence for the whole picture:
// some writers let a run cross the end of a scan line, and reading the
// stream continuously decodes both kinds alike.
QByteArray DecodeRuns(ByteReader& in, qsizetype wanted, bool compressed)
{
    // Two bytes give at most 63: a short file never makes a large buffer.
    wanted = std::min<qsizetype>(wanted, compressed ? in.Remaining() / 2 * 63 + 63 : in.Remaining());
    QByteArray out(wanted, '\0');
    char* dst = out.data();
    qsizetype n = 0;
    const auto* src = reinterpret_cast<const uchar*>(in.Here());
    const qsizetype size = in.Remaining();
    qsizetype i = 0;
    while (n < wanted && i < size) {
        uchar b = src[i++];
        if (compressed && (b & 0xC0) == 0xC0) {
            if (i >= size)
                break;
            const qsizetype count = std::min<qsizetype>(b & 0x3F, wanted - n);
            std::memset(dst + n, src[i++], size_t(count));
            n += count;
        } else {
            dst[n++] = char(b);
        }
    }
    in.Skip(i);
    out.truncate(n);
    return out;
}

QList<QRgb> HeaderPalette(const QByteArray& bytes)
{
    QList<QRgb> pal(16);
    for (int i = 0; i < 16; ++i) {
        const auto* p = reinterpret_cast<const uchar*>(bytes.constData()) + 16 + 3 * i;
        pal[i] = qRgb(p[0], p[1], p[2]);
    }
    return pal;
}

} // namespace

QImage ReadPcx(const QByteArray& bytes)
{
    if (bytes.size() < kPcxHeaderSize)
        return {};
    ByteReader in(bytes);
    const uint8_t manufacturer = in.U8();
    const uint8_t version = in.U8();
    const uint8_t encoding = in.U8();
    const int bits = in.U8();
    const int xmin = in.U16(), ymin = in.U16(), xmax = in.U16(), ymax = in.U16();
    in.Seek(65);
    const int planes = in.U8();
    const int bytesPerLine = in.U16();
    if (manufacturer != 10 || version > 5 || encoding > 1 || planes < 1 || in.Failed())
        return {};
    const qint64 width = qint64(xmax) - xmin + 1;
    const qint64 height = qint64(ymax) - ymin + 1;
    if (!PictureSizeAcceptable(width, height))
        return {};
    const bool indexed = bits * planes <= 8 && (bits == 1 || bits == 2 || bits == 4 || bits == 8) && planes <= 4;
    const bool trueColour = bits == 8 && (planes == 3 || planes == 4);
    if (!indexed && !trueColour)
        return {};
    if (qint64(bytesPerLine) * 8 < width * bits || bytesPerLine == 0)
        return {};

    const qint64 lineBytes = qint64(bytesPerLine) * planes;
    if (lineBytes * height > 4 * kMaxPicturePixels)
        return {};
    in.Seek(kPcxHeaderSize);
    const QByteArray data = DecodeRuns(in, lineBytes * height, encoding == 1);
    const qint64 rows = data.size() / lineBytes;
    // A file that ends more than a row early is damaged, not a picture.
    if (rows == 0 || rows < height - 1)
        return {};

    QImage image(int(width), int(height), trueColour ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull())
        return {};
    image.fill(Qt::white);

    QList<QRgb> palette;
    if (indexed) {
        if (bits == 8 && planes == 1) {
            // A 256-colour palette follows the pixels, after a 12 marker byte.
            if (bytes.size() >= kPcxHeaderSize + 769 && uchar(bytes[bytes.size() - 769]) == 12) {
                const auto* p = reinterpret_cast<const uchar*>(bytes.constData()) + bytes.size() - 768;
                for (int i = 0; i < 256; ++i)
                    palette.append(qRgb(p[3 * i], p[3 * i + 1], p[3 * i + 2]));
            } else {
                for (int i = 0; i < 256; ++i)
                    palette.append(qRgb(i, i, i));
            }
        } else if (bits == 1 && planes == 1) {
            const QList<QRgb> header = HeaderPalette(bytes);
            // Many writers leave the header palette empty for black and white.
            if (header[0] == header[1])
                palette = { qRgb(0, 0, 0), qRgb(255, 255, 255) };
            else
                palette = { header[0], header[1] };
        } else {
            palette = HeaderPalette(bytes);
        }
    }

    const auto* src = reinterpret_cast<const uchar*>(data.constData());
    for (qint64 y = 0; y < rows; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        const uchar* row = src + y * lineBytes;
        for (qint64 x = 0; x < width; ++x) {
            if (trueColour) {
                const int r = row[x], g = row[bytesPerLine + x], b = row[2 * bytesPerLine + x];
                const int a = planes == 4 ? row[3 * bytesPerLine + x] : 255;
                line[x] = qRgba(r, g, b, a);
                continue;
            }
            int index = 0;
            for (int p = 0; p < planes; ++p) {
                const qint64 bitPos = x * bits;
                const uchar byte = row[p * bytesPerLine + bitPos / 8];
                const int shift = 8 - bits - int(bitPos % 8);
                const int value = (byte >> shift) & ((1 << bits) - 1);
                index |= value << (p * bits);
            }
            line[x] = index < palette.size() ? palette[index] : qRgb(0, 0, 0);
        }
    }
    if (trueColour && planes == 3)
        image = image.convertToFormat(QImage::Format_RGB32);
    return image;
}

} // namespace cardora
