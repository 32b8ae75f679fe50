#pragma once

namespace cardora {

// Registers every card object class with the card file reader and every
// drawing tool with the panel. Safe to call more than once.
void RegisterCardObjectKinds();

} // namespace cardora
