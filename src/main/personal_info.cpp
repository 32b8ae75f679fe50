#include "main/personal_info.h"
#include "core/modal.h"
#include "main/personal_info_dialog.h"
#include "surface/card_panel.h"

namespace cardora {

PersonalInfoCommands::PersonalInfoCommands(CommandContext& context, QObject* parent) : CommandFamily(context, parent)
{
    addAction("PersonalInformation1", "&Personal Information", [this] { editPersonalInfo(); });
}

void PersonalInfoCommands::editPersonalInfo()
{
    TPersonalInformation dialog(context_.dialogParent());
    // The values come fresh from the file, so hand edits show.
    context_.readPreferences();
    TPreferences& prefs = context_.preferences();
    dialog.SetValues(prefs.Personal);
    if (ExecModal(dialog) != mrOk)
        return;
    prefs.Personal = dialog.Values();
    context_.writePreferences();
    context_.panel().SetPersonalInfo(prefs.Personal);
}

} // namespace cardora
