#include "core/app_folder.h"
#include "core/symbol_fonts.h"
#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Every test program runs with a QApplication on the offscreen platform and
// an application folder of its own, so no test touches a real CDW.INI.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    cardora::RegisterBundledFonts();
    QTemporaryDir folder;
    cardora::SetApplicationFolder(folder.path());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
