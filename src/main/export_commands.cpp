#include "main/main_screen.h"

namespace cardora {

void TMainScreen::mnuSaveAsBitmapClick() {}
void TMainScreen::mnuSaveAsJPGClick() {}

} // namespace cardora
