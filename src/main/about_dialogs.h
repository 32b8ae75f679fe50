#pragma once

class QWidget;

namespace cardora {

class TFont;
struct TPrinterNudges;

// Help › About: the program's name, version and word size.
void ShowAboutBox(QWidget* parent);
// Help › Configuration Information: what a support question needs to know
// of this machine and these preferences.
void ShowConfigurationInformation(QWidget* parent, const TFont& defaultFont, const TPrinterNudges& nudges);

} // namespace cardora
