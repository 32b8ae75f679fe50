#include "main/cli.h"
#include "main/version.h"
#include <QCoreApplication>
#include <cstdio>
#include <cstring>

namespace cardora {

namespace {
const char* kUsage =
    "Usage: cardora-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
    "  --help       show this help\n"
    "  --version    show the version\n";
}

int RunCli(int argc, char** argv)
{
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::fputs(kUsage, argc < 2 ? stderr : stdout);
        return argc < 2 ? 1 : 0;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("cardora-cli %s\n", kVersionText);
        return 0;
    }
    std::fprintf(stderr, "Unknown command: %s\n", argv[1]);
    return 1;
}

} // namespace cardora
