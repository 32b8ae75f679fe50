#pragma once
#include "main/command_context.h"

namespace cardora {

// The Help menu: contents, about, configuration, support pages and the web site.
class HelpCommands : public CommandFamily {
    Q_OBJECT
public:
    HelpCommands(CommandContext& context, QObject* parent);
    void showContents();
    void showAbout();
    void showConfiguration();
};

} // namespace cardora
