#pragma once
#include "main/command_context.h"

namespace cardora {

// Two-sided cards: File › Back Side... chooses the card printed on the back,
// and Show Back Side switches the window to it and back.
class BackSideCommands : public CommandFamily {
    Q_OBJECT
public:
    BackSideCommands(CommandContext& context, QObject* parent);

    void chooseBackSide();
    // Shows the back card in the window, or the front again.
    void switchSide();
    // Sets the back side and records it in the card's sidecar at once when
    // the card has a file (the card file itself does not change).
    bool setBackSide(const QString& path);
    void updateActions() override;
};

} // namespace cardora
