#pragma once
#include "core/app_folder.h"
#include "main/main_screen.h"
#include "support/scripted_modal.h"
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace cardora::test {

// A main window in an application folder of its own, with every modal
// interaction answered by a script. start() opens the window as the program does.
struct MainWindowFixture : ::testing::Test {
    QTemporaryDir folder;
    std::shared_ptr<ScriptedModal> modal;
    std::unique_ptr<TMainScreen> window;

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
        window = std::make_unique<TMainScreen>();
        window->show();
        window->FormActivate();
    }
};

} // namespace cardora::test
