#pragma once
#include <QByteArray>
#include <QImage>

namespace cardora {

// Readers for the raster formats Qt's own plugins do not read (or read only in
// part). Each returns a null image when the bytes are not a picture it can
// decode. A file whose pixels end in the last row gives the picture with
// that row white; one that ends earlier is refused as damaged.
QImage ReadPcx(const QByteArray& bytes);
QImage ReadTga(const QByteArray& bytes);

} // namespace cardora
