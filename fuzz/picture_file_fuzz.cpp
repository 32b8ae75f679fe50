// The one picture reading function on any bytes, under every name class
// (the first byte picks the extension), and the card file form of what it
// read: no crash, and a picture that was read writes and reads back.
#include "fuzz_support.h"
#include "imaging/picture.h"
#include "imaging/picture_file.h"
#include <QImage>
#include <QPainter>
#include <cstdint>

using namespace cardora;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::StartOffscreenApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const char* names[] = { "a.bmp", "a.dib", "a.rle", "a.jpg", "a.jif", "a.gif", "a.pcx", "a.tga",
        "a.ico", "a.wmf", "a.emf", "a.png" };
    if (size < 1)
        return 0;
    const char* name = names[data[0] % (sizeof names / sizeof names[0])];
    const QByteArray input(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    TPicture picture;
    QString message;
    if (!ReadPicture(input, QString::fromLatin1(name), picture, &message))
        return 0;
    QImage image(32, 32, QImage::Format_RGB32);
    QPainter painter(&image);
    picture.DrawCached(painter, QRect(0, 0, 32, 32), true, true);
    painter.end();
    const TPicture asBitmap = picture.ToBitmapPicture();
    TPicture again;
    if (asBitmap.HasGraphic() && !again.SetGraphicData(asBitmap.ClassName(), asBitmap.GraphicData(), &message)
        && !picture.IsIcon())
        __builtin_trap();
    return 0;
}
