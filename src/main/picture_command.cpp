#include "main/picture_command.h"
#include "core/safe_file.h"
#include "imaging/byte_reader.h"
#include "imaging/picture.h"
#include "imaging/picture_file.h"
#include "objects/pictures/image_object.h"
#include <QFileInfo>
#include <QImage>
#include <QPainter>

namespace cardora {

namespace {

constexpr const char* kUsage = "Usage: cardora-cli picture IN OUT [--width W --height H]";

const char* KindName(const TPicture& picture)
{
    if (picture.IsPng())
        return "png";
    switch (picture.Kind()) {
    case TGraphicKind::Icon: return "icon";
    case TGraphicKind::Metafile: return "metafile";
    case TGraphicKind::Svg: return "svg";
    default: return "bitmap";
    }
}

bool ParseSide(const QString& text, int* value)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < 1 || v > kMaxPictureSide)
        return false;
    *value = v;
    return true;
}

} // namespace

bool RunPictureCommand(const QStringList& args, QString* json, QString* error)
{
    QStringList positional;
    int width = 0, height = 0;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--width") || a == QLatin1String("--height")) {
            int* side = a == QLatin1String("--width") ? &width : &height;
            if (i + 1 >= args.size() || !ParseSide(args[++i], side)) {
                *error = a + QStringLiteral(" needs a whole number of pixels from 1 to ") + QString::number(kMaxPictureSide);
                return false;
            }
        } else if (a.startsWith(QLatin1String("--"))) {
            *error = QStringLiteral("Unknown option: ") + a;
            return false;
        } else {
            positional << a;
        }
    }
    if (positional.size() != 2 || (width == 0) != (height == 0)) {
        *error = QString::fromLatin1(kUsage);
        return false;
    }
    const QString& in = positional[0];
    const QString& out = positional[1];
    if (!PictureSizeAcceptable(std::max(width, 1), std::max(height, 1))) {
        *error = QStringLiteral("The picture size %1 x %2 is too large").arg(width).arg(height);
        return false;
    }
    if (!QFileInfo(in).isFile()) {
        *error = QStringLiteral("Cannot open file ") + in;
        return false;
    }
    if (IsSameFile(in, out)) { // also through links and hard links
        *error = QStringLiteral("The output %1 is the input; choose another name").arg(out);
        return false;
    }

    TPicture picture;
    if (!picture.LoadFromFile(in)) {
        *error = picture.ErrorText();
        return false;
    }
    const QSize natural = picture.Size();
    const QSize size = width > 0 ? QSize(width, height) : natural;

    // Drawn as an image object of that box draws it.
    TQImage object;
    object.SetBounds(0, 0, size.width(), size.height());
    object.SetPicture(picture.ToBitmapPicture());
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull()) {
        *error = QStringLiteral("Not enough memory for a picture of %1 x %2").arg(size.width()).arg(size.height());
        return false;
    }
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        object.PaintTo(painter, 0, 0);
    }
    if (!WritePictureFile(image, out, 80, error))
        return false;
    *json = QStringLiteral("{\"kind\": \"%1\", \"width\": %2, \"height\": %3}")
                .arg(QLatin1String(KindName(picture)))
                .arg(natural.width())
                .arg(natural.height());
    return true;
}

} // namespace cardora
