#include "main/main_screen.h"

namespace cardora {

void TMainScreen::mnuSetorChangeBackgroundArtClick() {}

} // namespace cardora
