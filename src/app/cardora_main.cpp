#include "main/application.h"

int main(int argc, char** argv) { return cardora::RunCardora(argc, argv); }
