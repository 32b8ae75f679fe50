#include "main/main_screen.h"

namespace cardora {

void TMainScreen::PersonalInformation1Click() {}

} // namespace cardora
