// Picture benchmark: repainting an image object that holds a large photo
// (from the copy kept for its box, and by scaling the whole photo each
// time), and decoding PCX and TGA files of that size. Prints milliseconds.
#include "imaging/picture.h"
#include "imaging/raster_readers.h"
#include "objects/pictures/image_object.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <cstdio>

using namespace cardora;

namespace {

QImage Photo(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = qRgb(x * 255 / w, y * 255 / h, (x ^ y) & 0xFF);
    }
    return image;
}

// A 24-bit three-plane PCX without runs, and an uncompressed 24-bit TGA.
QByteArray Pcx(const QImage& image)
{
    QByteArray out(128, '\0');
    const int w = image.width(), h = image.height(), bpl = (w + 1) & ~1;
    out[0] = 10; out[1] = 5; out[2] = 1; out[3] = 8;
    out[8] = char((w - 1) & 0xFF); out[9] = char((w - 1) >> 8);
    out[10] = char((h - 1) & 0xFF); out[11] = char((h - 1) >> 8);
    out[65] = 3; out[66] = char(bpl & 0xFF); out[67] = char(bpl >> 8);
    for (int y = 0; y < h; ++y)
        for (int plane = 0; plane < 3; ++plane)
            for (int x = 0; x < bpl; ++x) {
                const QRgb c = image.pixel(std::min(x, w - 1), y);
                const int v = plane == 0 ? qRed(c) : plane == 1 ? qGreen(c) : qBlue(c);
                if (v >= 0xC0)
                    out.append(char(0xC1));
                out.append(char(v));
            }
    return out;
}

QByteArray Tga(const QImage& image)
{
    QByteArray out(18, '\0');
    out[2] = 2;
    out[12] = char(image.width() & 0xFF); out[13] = char(image.width() >> 8);
    out[14] = char(image.height() & 0xFF); out[15] = char(image.height() >> 8);
    out[16] = 24; out[17] = 0x20;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            out.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c)));
        }
    return out;
}

template <class F>
double Millis(int runs, F f)
{
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < runs; ++i)
        f();
    return double(t.nsecsElapsed()) / 1e6 / runs;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QImage photo = Photo(4000, 3000);
    TPicture picture;
    picture.SetBitmap(photo);

    QImage screen(400, 300, QImage::Format_RGB32);
    TQImage object;
    object.SetBounds(0, 0, 300, 200);
    object.SetPicture(picture);
    const int runs = 20;
    const double first = Millis(1, [&] {
        QPainter p(&screen);
        object.PaintTo(p, 10, 10);
    });
    const double cached = Millis(runs, [&] {
        QPainter p(&screen);
        object.PaintTo(p, 10, 10);
    });
    const double direct = Millis(runs, [&] {
        QPainter p(&screen);
        picture.Draw(p, QRectF(10, 10, 300, 200));
    });
    std::printf("4000x3000 photo in a 300x200 box: first paint %.1f ms (the kept copy is made), repaint %.2f ms;"
                " drawing the photo scaled at each repaint %.2f ms\n",
        first, cached, direct);

    const QByteArray pcx = Pcx(photo), tga = Tga(photo);
    const double pcxMs = Millis(3, [&] { ReadPcx(pcx); });
    const double tgaMs = Millis(3, [&] { ReadTga(tga); });
    std::printf("decode 4000x3000: PCX %.1f ms (%.1f MB), TGA %.1f ms (%.1f MB)\n", pcxMs, pcx.size() / 1e6, tgaMs,
        tga.size() / 1e6);
    return 0;
}
