#pragma once
#include "main/command_context.h"

namespace cardora {

// Edit › Personal Information: the values a card's personal fields show.
class PersonalInfoCommands : public CommandFamily {
    Q_OBJECT
public:
    PersonalInfoCommands(CommandContext& context, QObject* parent);
    void editPersonalInfo();
};

} // namespace cardora
