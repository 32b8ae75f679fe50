#include "core/color.h"

namespace cardora {
namespace {
// Classic scheme, indexed by system colour number, as 0x00BBGGRR.
constexpr std::uint32_t kSystemColors[25] = {
    0xC8D0D4, // ScrollBar
    0xA56E3A, // Background
    0x6A240A, // ActiveCaption
    0x808080, // InactiveCaption
    0xC8D0D4, // Menu
    0xFFFFFF, // Window
    0x000000, // WindowFrame
    0x000000, // MenuText
    0x000000, // WindowText
    0xFFFFFF, // CaptionText
    0xC8D0D4, // ActiveBorder
    0xC8D0D4, // InactiveBorder
    0x808080, // AppWorkSpace
    0x6A240A, // Highlight
    0xFFFFFF, // HighlightText
    0xC8D0D4, // BtnFace
    0x808080, // BtnShadow
    0x808080, // GrayText
    0x000000, // BtnText
    0xC8D0D4, // InactiveCaptionText
    0xFFFFFF, // BtnHighlight
    0x404040, // 3DDkShadow
    0xC8D0D4, // 3DLight
    0x000000, // InfoText
    0xE1FFFF, // InfoBk
};
} // namespace

std::uint32_t ColorToRGB(TColor c)
{
    const auto u = static_cast<std::uint32_t>(c);
    if (u & 0x80000000u) {
        const std::uint32_t index = u & 0xFFu;
        return index < 25 ? kSystemColors[index] : 0;
    }
    return u & 0x00FFFFFFu;
}

QColor ToQColor(TColor c)
{
    if (c == clNone)
        return QColor(Qt::transparent);
    const std::uint32_t rgb = ColorToRGB(c);
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

TColor FromQColor(const QColor& c)
{
    if (!c.isValid() || c.alpha() == 0)
        return clNone;
    return static_cast<TColor>(c.red() | (c.green() << 8) | (c.blue() << 16));
}

} // namespace cardora
