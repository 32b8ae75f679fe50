#pragma once

namespace cardora {

// The batch tool: card files in, card files, pictures and sheets out.
int RunCli(int argc, char** argv);

} // namespace cardora
