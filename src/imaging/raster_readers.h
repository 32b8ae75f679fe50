#pragma once
#include <QByteArray>
#include <QImage>

namespace cardora {

// Readers for the raster formats Qt's own plugins do not read (or read only in
// part). Each returns a null image when the bytes are not a picture it can
// decode; a truncated file gives what was decoded so far only when at least
// the header and the first row are there.
QImage ReadPcx(const QByteArray& bytes);
QImage ReadTga(const QByteArray& bytes);

} // namespace cardora
