#pragma once
#include "main/command_context.h"
#include <functional>

namespace cardora {

// The View menu's zoom: any zoom from 25 % to 400 %, in steps, at the
// card's true size, or as large as the window allows. Only the view
// changes; the card never does.
class ViewCommands : public CommandFamily {
    Q_OBJECT
public:
    // `room` is the size the window has for the card and its margins.
    ViewCommands(CommandContext& context, std::function<QSize()> room, QObject* parent);
    void zoomBy(bool up);
    void setZoom(float z);
    void zoomToFit();

private:
    std::function<QSize()> room_;
};

} // namespace cardora
