#pragma once
#include <QByteArray>
#include <QtGlobal>
#include <QImage>
#include <QString>

namespace cardora {

class TPicture;

// The picture file classes, told apart by the last extension of the name,
// upper-cased ("photo.final.jpg" is JPG).
enum class PictureClass { Other, Jpg, Gif, Jif, Bmp, Dib, Rle, Tga, Pcx, Ico, Wmf, Emf, Png, Svg };

PictureClass ClassifyPictureName(const QString& fileName);
// The last extension of a file name, upper-cased; the whole name when it has
// no dot.
QString LastExtension(const QString& fileName);

// Reads a picture of the given name from bytes: the one way every dialog and
// the batch tool turn a file into a picture. False with a message when the
// bytes cannot be decoded.
bool ReadPicture(const QByteArray& bytes, const QString& fileName, TPicture& picture, QString* message);

// Writes an image as BMP, PNG or JPEG ("bmp", "png", "jpeg"; by the target's
// extension when no format is given; JPEG at the quality given), replacing
// the target only when the whole file was written.
bool WritePictureFile(const QImage& image, const QString& path, int jpegQuality, QString* message,
    const char* format = nullptr);

// While one lives, what Qt's image plugins say about a damaged file (their
// warnings) is dropped: the reader's caller reports the failure once, in
// its own words.
class QuietImageReaders {
public:
    QuietImageReaders();
    ~QuietImageReaders();
    QuietImageReaders(const QuietImageReaders&) = delete;
    QuietImageReaders& operator=(const QuietImageReaders&) = delete;

private:
    QtMessageHandler previous_;
};

// The mask the image browser lists.
inline constexpr const char* kImageFileMask
    = "*.BMP;*.DIB;*.JPG;*.JIF;*.PCX;*.RLE;*.TGA;*.WMF;*.ICO;*.EMF;*.PNG;*.SVG;*.GIF;*.TIF;*.TIFF;*.WEBP;*.JPEG";

} // namespace cardora
