#pragma once
#include "main/command_context.h"
#include <vector>

namespace cardora {

struct TPreflightWarning;

// File › Export for Print Shop, Edit › Print Shop Settings and the guides of
// the View menu.
class PrintShopCommands : public CommandFamily {
    Q_OBJECT
public:
    PrintShopCommands(CommandContext& context, QObject* parent);

    void exportForPrintShop();
    void editSettings();
    void showGuides(bool show);
    // The panel's bleed band and guides as the preferences say.
    void applyPreferences();
    // What the pre-flight check finds on the card, as a shop export shows it.
    std::vector<TPreflightWarning> preflightWarnings();
};

} // namespace cardora
