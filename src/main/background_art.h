#pragma once
#include "main/command_context.h"

namespace cardora {

// Edit › Set or Change Background Art: the picture behind the card, with a
// step of its own in the undo history.
class BackgroundArtCommands : public CommandFamily {
    Q_OBJECT
public:
    BackgroundArtCommands(CommandContext& context, QObject* parent);
    void chooseBackgroundArt();
    // Shows the picture as the card's background art (empty: none).
    void applyBackgroundArt(const QString& path);

private:
    // Records a change of background art from `before` to the present one.
    void pushBackgroundArt(const QString& before);
};

} // namespace cardora
