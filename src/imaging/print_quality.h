#pragma once
#include <QSize>
#include <QString>

namespace cardora {

class TPicture;

// Print shops ask for this many pixels per inch of a bitmap on paper.
inline constexpr int kPrintShopPixelsPerInch = 300;

// Pixels per inch of a bitmap placed in a box of `placed` card pixels (96 to
// the inch): the lower of across and down. 0 for drawings (metafiles, SVG),
// which print sharp at any size, and for no picture or an empty box.
int EffectivePixelsPerInch(const TPicture& picture, QSize placed);

// One line for the image browser and the assistant: the resolution at the
// placed size, with a warning under kPrintShopPixelsPerInch. Empty without a
// picture.
QString PrintQualityText(const TPicture& picture, QSize placed);

} // namespace cardora
