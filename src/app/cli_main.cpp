#include "main/cli.h"

int main(int argc, char** argv) { return cardora::RunCli(argc, argv); }
