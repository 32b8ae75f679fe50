#pragma once
#include "main/command_context.h"

namespace cardora {

// Edit › Undo, Redo, Cut, Copy, Paste, Delete and Select All on the card's
// objects. The window's key handling runs the clipboard keys; the menu only
// shows them.
class EditCommands : public CommandFamily {
    Q_OBJECT
public:
    EditCommands(CommandContext& context, QObject* parent);
    // Cut, Copy, Delete and Paste enabled as the selection and the clipboard allow.
    void updateSelectionActions();
};

} // namespace cardora
