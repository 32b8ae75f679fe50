#include "core/app_folder.h"
#include "core/modal.h"
#include "main/background_art_dialog.h"
#include "main/export_dialog.h"
#include "main/help_window.h"
#include "main/personal_info_dialog.h"
#include "main/print_shop_dialogs.h"
#include "objects/pictures/image_browser.h"
#include "objects/text_label_dialogs.h"
#include "printing/fine_tune_dialog.h"
#include "printing/layout_dialog.h"
#include "printing/preview_form.h"
#include "printing/select_cards_dialog.h"
#include "printing/warn_bottom_dialog.h"
#include "support/scripted_modal.h"
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWhatsThis>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

using namespace cardora;

namespace {
// The help a dialog asks for: its printing signal, the card objects' help
// handler, or the program's help window, whichever the dialog uses.
struct HelpWatch {
    int topic = 0;
    template <class D>
    static std::function<void(QDialog&, int&)> Signal()
    {
        return [](QDialog& d, int& topic) {
            QObject::connect(static_cast<D*>(&d), &D::HelpRequested, &d, [&topic](int t) { topic = t; });
        };
    }
};

struct Case {
    const char* window;
    std::function<std::unique_ptr<QDialog>()> make;
    const char* ok;     // object names, as the modal seam and the help table know them
    const char* cancel; // "" when the window has none
    const char* help;
    int helpTopic;
    int okResult; // mrNone: OK refuses until something is chosen
    bool whatsThis;
    std::function<void(QDialog&, int&)> watchSignal = {};
};

struct DialogButtons : ::testing::Test {
    QTemporaryDir folder;
    QString before;
    std::shared_ptr<test::ScriptedModal> modal;
    int dialogTopic = 0;

    void SetUp() override
    {
        before = ApplicationFolder();
        SetApplicationFolder(folder.path());
        QDir(folder.path()).mkdir("help");
        const QDir pages(QString(CARDORA_SOURCE_DIR) + "/help");
        for (const QString& name : pages.entryList({ "*.html" }, QDir::Files))
            QFile::copy(pages.filePath(name), folder.filePath("help/" + name));
        modal = test::ScriptedModal::Install();
        SetDialogHelpHandler([this](int topic) { dialogTopic = topic; });
    }
    void TearDown() override
    {
        SetDialogHelpHandler(nullptr);
        SetModalHandler(nullptr);
        CloseHelpWindow();
        SetApplicationFolder(before);
    }
};

// What Help opened: a topic sent to a handler, or the help window's page.
int openedTopic(int signalled, int dialogTopic)
{
    if (signalled)
        return signalled;
    if (dialogTopic)
        return dialogTopic;
    return HelpWindow::Instance().CurrentPage().section('.', 0, 0).toInt();
}
} // namespace

// One table over the program's dialogs: OK, Cancel, Help and what's-this
// each do the same thing everywhere, under each dialog's own names.
TEST_F(DialogButtons, OkAcceptsCancelRejectsHelpOpensTheDialogsOwnPage)
{
    const Case cases[] = {
        { "Export Card", [] { return std::make_unique<TExportDialog>(QSizeF(3.5, 2)); }, "OKButton", "CancelButton",
            "HelpButton", 2104, mrOk, true },
        { "Personal Information", [] { return std::make_unique<TPersonalInformation>(); }, "OKButton", "Cancelbutton",
            "Helpbutton", 2102, mrOk, true },
        { "Background Art", [] { return std::make_unique<TLoadBackGround>(); }, "OKButton", "Cancelbutton",
            "Helpbutton", 2101, mrNone, true },
        { "Print Shop Settings", [] { return std::make_unique<TPrintShopSettingsDialog>(); }, "OKButton",
            "CancelButton", "HelpButton", 2105, mrOk, true },
        { "Export for Print Shop",
            [] { return std::make_unique<TShopExportDialog>(std::vector<TPreflightWarning> {}, 0.0); }, "OKButton",
            "CancelButton", "HelpButton", 2105, mrOk, true },
        { "Card Layout", [] { return std::make_unique<TEditCardLayout>(); }, "OkButton", "Cancelbutton", "HelpButton",
            3101, mrOk, true, HelpWatch::Signal<TEditCardLayout>() },
        { "Printer Fine-Tuning", [] { return std::make_unique<TPrintFineTune>(TPrinterNudges()); }, "OKButton",
            "CancelButton", "HelpButton", 2103, mrOk, true, HelpWatch::Signal<TPrintFineTune>() },
        { "Print Cards", [] { return std::make_unique<TSelectSpecificLabels>(nullptr); }, "OKbutton", "CancelButton",
            "HelpButton", 2020, mrNone, true, HelpWatch::Signal<TSelectSpecificLabels>() },
        { "Bottom margin alert", [] { return std::make_unique<TWarnBottomMargin>(); }, "OKButton", "Cancelbutton",
            "HelpButton", 2021, mrOk, false, HelpWatch::Signal<TWarnBottomMargin>() },
        { "Print preview", [] { return std::make_unique<TPreviewForm>(); }, "CloseButton", "", "Helpbutton", 2039,
            mrOk, true, HelpWatch::Signal<TPreviewForm>() },
        { "Load Image File", [] { return std::make_unique<TQImageBrowser>(); }, "OkButton", "CancelButton",
            "HelpButton", 40003, mrOk, true },
        { "Text (every card object's dialog)", [] { return std::make_unique<TGetLabelText>(); }, "OkButton",
            "CancelButton", "HelpButton", 40004, mrOk, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.window);
        for (const char* pressed : { c.ok, c.cancel, c.help }) {
            if (!*pressed)
                continue;
            const std::unique_ptr<QDialog> dialog = c.make();
            int signalled = 0;
            if (c.watchSignal)
                c.watchSignal(*dialog, signalled);
            dialogTopic = 0;
            HelpWindow::Instance().ShowContents();
            dialog->show();
            auto* button = dialog->findChild<QPushButton*>(pressed);
            ASSERT_NE(button, nullptr) << pressed;
            if (pressed == c.ok)
                EXPECT_TRUE(button->isDefault());
            dialog->setResult(-1);
            QTest::mouseClick(button, Qt::LeftButton);
            if (pressed == c.help) {
                EXPECT_EQ(openedTopic(signalled, dialogTopic), c.helpTopic);
                EXPECT_TRUE(dialog->isVisible()) << "Help keeps the dialog open";
                EXPECT_FALSE(button->autoDefault()) << "Enter never means Help";
            } else {
                const int expected = pressed == c.ok ? c.okResult : int(mrCancel);
                EXPECT_EQ(dialog->isVisible(), expected == mrNone) << pressed;
                EXPECT_EQ(dialog->result(), expected == mrNone ? -1 : expected) << pressed;
                EXPECT_EQ(openedTopic(signalled, dialogTopic), 0) << pressed << " opened help";
            }
        }
        const std::unique_ptr<QDialog> dialog = c.make();
        auto* whatsThis = dialog->findChild<QToolButton*>("MouseHelpButton");
        ASSERT_EQ(whatsThis != nullptr, c.whatsThis);
        if (whatsThis) {
            dialog->show();
            QTest::mouseClick(whatsThis, Qt::LeftButton);
            EXPECT_TRUE(QWhatsThis::inWhatsThisMode());
            QWhatsThis::leaveWhatsThisMode();
        }
    }
}
