#pragma once
#include "imaging/picture.h"
#include <QRegion>
#include <QSize>
#include <unordered_set>
#include <vector>

namespace cardora {

class TQGraphicControl;

enum class CardShape { Rectangle, RoundRect, Ellipse };

// The card itself, apart from any view of it: its objects back to front with
// their stored geometry, its size and shape, the background art and the
// print shop's bleed. All in card pixels (zoom-1 screen pixels); a view
// decides how large it shows them.
class CardDocument {
public:
    const std::vector<TQGraphicControl*>& Objects() const { return objects_; }
    bool Contains(const TQGraphicControl* object) const { return members_.count(object) > 0; }
    // Appends the object in front; false when it is already there.
    bool Add(TQGraphicControl* object);
    // Takes the object out without freeing it; false when it was not there.
    bool Remove(TQGraphicControl* object);
    bool BringToFront(TQGraphicControl* object);
    bool SendToBack(TQGraphicControl* object);
    // Puts the objects in the order `rank` gives, keeping ties as they were.
    template <typename Rank> void Arrange(Rank rank);

    QSize Size() const { return size_; }
    void SetSize(QSize size) { size_ = size; }
    QRect Rect() const { return QRect(QPoint(0, 0), size_); }
    CardShape Shape() const { return shape_; }
    void SetShape(CardShape shape) { shape_ = shape; }
    // The card's shape over `r` (a view passes the rectangle it shows it in).
    static QRegion ShapeRegion(CardShape shape, const QRect& r);

    TPicture& Art() { return art_; }
    TPicture& ColorArt() { return colorArt_; }
    const TPicture& Art() const { return art_; }
    const TPicture& ColorArt() const { return colorArt_; }

    // Card pixels around the card where objects may reach (print shops).
    double Bleed() const { return bleed_; }
    void SetBleed(double pixels) { bleed_ = pixels > 0 ? pixels : 0.0; }
    // The card with its bleed, in whole card pixels.
    QRect RectWithBleed() const;

private:
    std::vector<TQGraphicControl*> objects_;
    // The same objects, for telling in constant time whether one is on the
    // card (cards of thousands of objects load in linear time).
    std::unordered_set<const TQGraphicControl*> members_;
    QSize size_;
    CardShape shape_ = CardShape::RoundRect;
    TPicture art_;
    TPicture colorArt_;
    double bleed_ = 0.0;
};

template <typename Rank> void CardDocument::Arrange(Rank rank)
{
    std::stable_sort(objects_.begin(), objects_.end(),
        [&rank](TQGraphicControl* a, TQGraphicControl* b) { return rank(a) < rank(b); });
}

} // namespace cardora
