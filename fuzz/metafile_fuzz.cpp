// The metafile player on any bytes, played into a small picture: no crash,
// no hang, no read outside the input.
#include "fuzz_support.h"
#include "imaging/metafile.h"
#include "imaging/picture.h"
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
    const QByteArray input = fuzz::Input(data, size);
    const MetafileHeader header = ReadMetafileHeader(input);
    if (header.format == MetafileFormat::None)
        return 0;
    QImage image(64, 48, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    PlayMetafile(input, painter, QRectF(2, 2, 60, 44));
    painter.end();
    // The card file form of the same bytes reads back.
    TPicture picture;
    if (picture.SetMetafile(QByteArray(input.constData(), input.size()))) {
        TPicture again;
        if (!again.SetGraphicData(picture.ClassName(), picture.GraphicData(), nullptr))
            __builtin_trap();
    }
    return 0;
}
