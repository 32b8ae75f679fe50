#pragma once
#include <QString>

namespace cardora {

// Where CDW.INI, the saved cards, the scratch files and the help pages live.
// Always ends with "/".
QString ApplicationFolder();
void SetApplicationFolder(const QString& folder);
QString PreferencesFileName();
QString HelpFolder();

// Finds an existing entry of `folder` whose name matches `name` without regard
// to case ("Saved" finds "saved"); returns folder + name when none does.
QString FindCaseInsensitive(const QString& folder, const QString& name);

} // namespace cardora
