#include "main/application.h"
#include <QApplication>

namespace cardora {

int RunCardora(int argc, char** argv)
{
    QApplication app(argc, argv);
    return 0;
}

} // namespace cardora
