#pragma once
#include "core/color.h"
#include <array>
#include <functional>

class QAction;
class QMenu;
class QLineEdit;

namespace cardora {

class TQGraphicControl;
enum class TextAlignment;

// What the box items of an object menu do, in the object's own terms.
struct BoxMenuCommands {
    std::function<void()> chooseFont;        // "Font"; left out when empty
    std::function<void()> toggleTransparent; // "Transparent"
    std::function<void()> chooseBackground;  // "Background Color"
    std::function<void()> toggleBorder;      // "Border"
};

// The items that text drawn in a box (circle text, super text, rich text)
// appends to its object menu after a separator: "Font", "Transparent",
// "Background Color" and "Border". The two toggles say the card changed and
// carry check marks that Check brings up to date as the menu opens.
class BoxMenuItems {
public:
    void Add(QMenu& menu, TQGraphicControl& owner, const BoxMenuCommands& commands);
    void Check(bool transparent, bool border) const;

private:
    QAction* transparent_ = nullptr;
    QAction* border_ = nullptr;
};

// "Background Color": the colour dialog preset with `current`; on OK `set`
// takes the colour, the object says it changed, `makeOpaque` runs (a box
// with a background colour is no longer transparent) and it repaints.
bool ChooseBoxBackground(TQGraphicControl& owner, TColor current, const std::function<void(TColor)>& set,
    const std::function<void()>& makeOpaque);

// The "Alignment" submenu of a text object: Left, Center and Right, each
// calling `set` with its value of `values` (in that order) and saying the card
// changed. The three items come back in that order for their check marks.
std::array<QAction*, 3> AddAlignmentMenu(QMenu& menu, TQGraphicControl& owner,
    const std::array<TextAlignment, 3>& values, const std::function<void(TextAlignment)>& set);

// A properties dialog's OK with an empty text: "Please enter some text", the
// focus back in the text; false then.
bool TextEntered(QLineEdit& text);

} // namespace cardora
