#pragma once
#include <QImage>

namespace cardora {

class CardPanel;

// The card as Save As Bitmap writes it: background art and every object at
// the card's own size (zoom 1), optionally framed by a one-pixel black line.
QImage RenderCardPicture(CardPanel& panel, bool border);

} // namespace cardora
