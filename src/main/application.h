#pragma once

namespace cardora {

// Start-up of the desktop program: single-instance guard, title, main window.
int RunCardora(int argc, char** argv);

} // namespace cardora
