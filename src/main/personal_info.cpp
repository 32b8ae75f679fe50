#include "core/modal.h"
#include "main/main_window.h"
#include "main/personal_info_dialog.h"

namespace cardora {

void MainWindow::PersonalInformation1Click()
{
    TPersonalInformation dialog(this);
    // The values come fresh from the file, so hand edits show.
    LoadPreferences();
    dialog.SetValues(prefs_.Personal);
    if (ExecModal(dialog) != mrOk)
        return;
    prefs_.Personal = dialog.Values();
    SavePreferences();
    SetPanelPersonalInfo();
}

} // namespace cardora
