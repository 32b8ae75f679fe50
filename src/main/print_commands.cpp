#include "main/main_screen.h"

namespace cardora {

void TMainScreen::ChangeCardLayout1Click() {}
void TMainScreen::mnuPrintClick() {}
void TMainScreen::mnuPreviewClick() {}
void TMainScreen::mnuPrinterSetupClick() {}
void TMainScreen::mnuPrinterFineTuningClick() {}
void TMainScreen::mnuPrintOutlineTestPageClick() {}

} // namespace cardora
