#pragma once

class QWidget;

namespace cardora {

class CardView;

// Start-up timing for the benchmarks: with CARDORA_STARTUP_PROBE set in the
// environment, the program ends as soon as the card panel has been painted
// and shown (with objects on it when a card was named at start), and says on
// standard error how long after the process started that was.
bool StartupProbeWanted();
void InstallStartupProbe(CardView& panel, bool waitForObjects);

} // namespace cardora
