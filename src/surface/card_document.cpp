#include "surface/card_document.h"
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace cardora {

bool CardDocument::Add(TQGraphicControl* o)
{
    if (!members_.insert(o).second)
        return false;
    objects_.push_back(o);
    return true;
}

bool CardDocument::Remove(TQGraphicControl* o)
{
    if (!members_.erase(o))
        return false;
    // From the back: clearing the card removes the last object each time.
    auto it = std::find(objects_.rbegin(), objects_.rend(), o);
    if (it != objects_.rend())
        objects_.erase(std::next(it).base());
    return true;
}

bool CardDocument::BringToFront(TQGraphicControl* o)
{
    auto it = std::find(objects_.begin(), objects_.end(), o);
    if (it == objects_.end())
        return false;
    objects_.erase(it);
    objects_.push_back(o);
    return true;
}

bool CardDocument::SendToBack(TQGraphicControl* o)
{
    auto it = std::find(objects_.begin(), objects_.end(), o);
    if (it == objects_.end())
        return false;
    objects_.erase(it);
    objects_.insert(objects_.begin(), o);
    return true;
}

QRegion CardDocument::ShapeRegion(CardShape shape, const QRect& r)
{
    switch (shape) {
    case CardShape::Rectangle:
        return QRegion(r);
    case CardShape::Ellipse:
        return QRegion(r, QRegion::Ellipse);
    case CardShape::RoundRect: {
        QPainterPath path;
        path.addRoundedRect(QRectF(r), 12, 12);
        return QRegion(path.toFillPolygon().toPolygon());
    }
    }
    return QRegion(r);
}

QRect CardDocument::RectWithBleed() const
{
    const int b = bleed_ > 0 ? int(std::ceil(bleed_ - 0.01)) : 0;
    return Rect().adjusted(-b, -b, b, b);
}

} // namespace cardora
