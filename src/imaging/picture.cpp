#include "imaging/picture.h"
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

namespace cardora {

bool TPicture::LoadFromFile(const QString& path)
{
    QImageReader reader(path);
    if (QFileInfo(path).suffix().compare("dib", Qt::CaseInsensitive) == 0)
        reader.setFormat("bmp");
    QImage image = reader.read();
    if (image.isNull())
        return false;
    bitmap_ = image;
    return true;
}

void TPicture::Draw(QPainter& painter, const QRect& target) const
{
    if (!bitmap_.isNull())
        painter.drawImage(target, bitmap_);
}

} // namespace cardora
