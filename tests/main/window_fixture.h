#pragma once
#include "core/app_folder.h"
#include "main/card_sidecar.h"
#include "main/main_window.h"
#include "support/scripted_modal.h"
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace cardora::test {

// A main window in an application folder of its own, with every modal
// interaction answered by a script. start() opens the window as the program does.
struct MainWindowFixture : ::testing::Test {
    QTemporaryDir folder;
    std::shared_ptr<ScriptedModal> modal;
    std::unique_ptr<MainWindow> window;

    void SetUp() override
    {
        SetApplicationFolder(folder.path());
        modal = ScriptedModal::Install();
    }
    void TearDown() override
    {
        window.reset();
        SetModalHandler(nullptr);
    }
    void start()
    {
        window = std::make_unique<MainWindow>();
        window->show();
        window->firstActivation();
    }
    // Printer Setup chooses the PDF file printer writing `file`, so that no
    // test job ever reaches a real queue, whatever the machine's default is.
    void choosePdfPrinter(const QString& file)
    {
        modal->dialogs.push_back([file](QDialog& d) {
            QPrinter* printer = dynamic_cast<QPrintDialog&>(d).printer();
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(file);
            return int(QDialog::Accepted);
        });
        window->printCommands().setUpPrinter();
    }
};

} // namespace cardora::test
