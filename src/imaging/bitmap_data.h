#pragma once
#include <QByteArray>
#include <QImage>

namespace cardora {

// Card files keep a bitmap property as a 4-byte little-endian size S
// followed by S bytes of a complete BMP file; an empty bitmap is S = 0.

// The block for an image (written as a BMP file) or for a BMP file kept as it was read.
QByteArray BitmapDataBlock(const QImage& image);
QByteArray BitmapDataBlock(const QByteArray& bmpFile);

// Decodes a block. False when it holds no valid BMP file (not starting with
// "BM", shorter than it says, or not decodable); an empty bitmap gives a
// null image. `bmpFile` receives the file's bytes.
bool ReadBitmapDataBlock(const QByteArray& block, QImage* image, QByteArray* bmpFile);

} // namespace cardora
