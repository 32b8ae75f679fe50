#pragma once
// A crowded card for timing interactive work: 200 objects of every
// registered kind in turn, with random settings from a fixed seed, then a
// rich-text label to type into and on top a text label to drag about.
#include "wysiwyg/card_maker.h"

namespace cardora::test {

constexpr int kBusyCardObjects = 200;
// Where the label on top lies at zoom 1.
inline QRect BusyCardDragLabelBox() { return QRect(16, 84, 96, 24); }

// Fills the panel (at zoom 1, 336 x 192 pixels) and returns the label on top.
inline TQGraphicControl* BuildBusyCard(QObject& owner, CardPanel& panel)
{
    QStringList kinds = CardClassRegistry::Instance().Names();
    kinds.sort();
    QRandomGenerator rng(27);
    for (int i = 0; i < kBusyCardObjects - 2; ++i) {
        AddRandomObjectOf(owner, panel, kinds[i % kinds.size()], rng);
        // Smaller boxes than the random cards', as a crowded card has them:
        // about five objects over each point rather than twenty.
        const int w = 12 + int(rng.bounded(90)), h = 10 + int(rng.bounded(40));
        panel.Objects().back()->SetBounds(int(rng.bounded(336 - w / 2)), int(rng.bounded(192 - h / 2)), w, h);
    }
    // Rich text of a useful size to type into.
    AddKind(owner, panel, "TQPRichBaseLabel", QRect(150, 140, 170, 44), "www.example.com");
    const QRect box = BusyCardDragLabelBox();
    return AddKind(owner, panel, "TQBusinessCardLabel", box, "Jane Example", [](TQGraphicControl& o) {
        SetProperty(o, "Font.Size", 14);
        SetProperty(o, "Font.Color", 0x202080);
    });
}

} // namespace cardora::test
