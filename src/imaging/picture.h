#pragma once
#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>

class QPainter;

namespace cardora {

// Holds at most one graphic. Bitmaps are stretched by copying pixels; other
// kinds draw themselves into the target rectangle.
class TPicture {
public:
    bool HasGraphic() const { return !bitmap_.isNull(); }
    bool IsBitmap() const { return HasGraphic(); }
    const QImage& Bitmap() const { return bitmap_; }
    void SetBitmap(const QImage& image) { bitmap_ = image; }
    void Clear() { bitmap_ = QImage(); }
    // False when the file cannot be read as a picture.
    bool LoadFromFile(const QString& path);
    void Draw(QPainter& painter, const QRect& target) const;

private:
    QImage bitmap_;
};

} // namespace cardora
