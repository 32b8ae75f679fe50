#pragma once
#include <QString>

namespace cardora {

// Where CDW.INI, the saved cards, the scratch files and the help pages live.
// Always ends with "/".
QString ApplicationFolder();
void SetApplicationFolder(const QString& folder);
QString PreferencesFileName();
// True when the application folder is the per-user data folder (an installed
// copy, or a program folder that cannot be written), not a folder of its own.
bool ApplicationFolderIsDataFolder();
QString HelpFolder();

// Finds an existing entry of `folder` whose name matches `name` without regard
// to case ("Saved" finds "saved"); returns folder + name when none does.
QString FindCaseInsensitive(const QString& folder, const QString& name);

} // namespace cardora
