#pragma once
#include "objects/richtext_label/rich_label.h"
#include "printing/card_layout.h"
#include "richtext/rich_text_control.h"
#include "surface/card_panel.h"
#include <QObject>
#include <QString>

namespace cardora {

// A card read from its file onto a panel of its own, away from any window,
// as File › Open reads it: the batch tool's cards, and the back side a
// print job draws behind the window's card.
struct TLoadedCard {
    QObject owner;
    CardPanel panel { nullptr, &owner };
    TRichTextControl masterRichText { &owner, QString::fromLatin1(kMasterRichTextName) };
    QString backgroundArt; // the sidecar's first line
    QString backSide;      // the sidecar's second line

    // A panel the size of the layout's card.
    explicit TLoadedCard(const TCardLayout& layout);
    // Throws EStreamError with the reader's message.
    void Load(const QString& path);
};

} // namespace cardora
