// PCX or TGA reader (chosen at build time) on any bytes: no crash, no read
// outside the input, and a picture of an acceptable size or none.
#include "fuzz_support.h"
#include "imaging/byte_reader.h"
#include "imaging/raster_readers.h"
#include <cstdint>
#include <cstdlib>

using namespace cardora;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::StartOffscreenApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input = fuzz::Input(data, size);
    const QImage image = RASTER_READER(input);
    if (!image.isNull() && !PictureSizeAcceptable(image.width(), image.height()))
        std::abort();
    return 0;
}
