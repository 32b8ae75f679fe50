#pragma once
#include <QByteArray>
#include <QImage>

namespace cardora {

// Card files keep a bitmap property as a 4-byte little-endian size S
// followed by S bytes of a complete BMP file; an empty bitmap is S = 0.

// The block for an image (written as a BMP file) or for a BMP file kept as it was read.
QByteArray BitmapDataBlock(const QImage& image);
QByteArray BitmapDataBlock(const QByteArray& bmpFile);

// Decodes a block. False when it is not a bitmap (shorter than its size
// field, or a file not starting with "BM"). An empty bitmap gives a null
// image and no file; a file that cannot be decoded here gives a null image
// but its bytes, so that it can be written back as it came.
bool ReadBitmapDataBlock(const QByteArray& block, QImage* image, QByteArray* bmpFile);

} // namespace cardora
