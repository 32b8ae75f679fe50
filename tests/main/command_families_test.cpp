#include "main/window_fixture.h"
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>
#include <map>

using namespace cardora;

namespace {
struct CommandFamilies : cardora::test::MainWindowFixture { };

// Every item of the menus in order: its menu, object name (tests, help and
// what's-this find it by that), text, keys, and the family that owns it
// (empty: the window's own).
struct MenuItem {
    const char* menu;
    const char* name;
    const char* text;
    const char* keys;
    const char* owner;
};

const MenuItem kMenus[] = {
    { "FileMenu", "New1", "&New", "Ctrl+N", "cardora::FileCommands" },
    { "FileMenu", "Open1", "&Open", "Ctrl+O", "cardora::FileCommands" },
    { "FileMenu", "Delete1", "&Delete", "", "cardora::FileCommands" },
    { "FileMenu", "mnuSave", "Save", "Ctrl+S", "cardora::FileCommands" },
    { "FileMenu", "mnuSaveAs", "Save &As...", "", "cardora::FileCommands" },
    { "FileMenu", "mnuSaveAsBitmap", "Save As Bitmap", "", "cardora::ExportCommands" },
    { "FileMenu", "mnuSaveAsJPG", "Save As JPG", "", "cardora::ExportCommands" },
    { "FileMenu", "mnuExport", "Expo&rt...", "", "cardora::ExportCommands" },
    { "FileMenu", "mnuExportForPrintShop", "Export for Print S&hop...", "", "cardora::PrintShopCommands" },
    { "FileMenu", "mnuMergeData", "&Merge Data...", "", "cardora::MergeCommands" },
    { "FileMenu", "mnuForgetMergeData", "&Forget Merge Data", "", "cardora::MergeCommands" },
    { "FileMenu", "mnuBackSide", "&Back Side...", "", "cardora::BackSideCommands" },
    { "FileMenu", "mnuSwitchSide", "Show Bac&k Side", "Ctrl+B", "cardora::BackSideCommands" },
    { "FileMenu", "mnuPrint", "&Print", "Ctrl+P", "cardora::PrintCommands" },
    { "FileMenu", "mnuPreview", "Pre&view", "", "cardora::PrintCommands" },
    { "FileMenu", "mnuPrinterSetup", "Printer S&etup", "", "cardora::PrintCommands" },
    { "FileMenu", "mnuPrinterFineTuning", "Printer Fine &Tuning", "", "cardora::PrintCommands" },
    { "FileMenu", "mnuPrintOutlineTestPage", "Print O&utline Test Page", "", "cardora::PrintCommands" },
    { "FileMenu", "mnuBackFineTuning", "Back Side Fine Tu&ning", "", "cardora::PrintCommands" },
    { "FileMenu", "mnuPrintTwoSidedTestPage", "Print T&wo-Sided Test Page", "", "cardora::PrintCommands" },
    { "FileMenu", "Exit1", "E&xit", "", "" },
    { "EditMenu", "mnuUndo", "Undo", "Ctrl+Z", "cardora::EditCommands" },
    { "EditMenu", "mnuRedo", "Redo", "Ctrl+Shift+Z, Ctrl+Y", "cardora::EditCommands" },
    { "EditMenu", "mnuCut", "Cu&t", "Ctrl+X", "cardora::EditCommands" },
    { "EditMenu", "mnuCopy", "&Copy", "Ctrl+C", "cardora::EditCommands" },
    { "EditMenu", "mnuPaste", "&Paste", "Ctrl+V", "cardora::EditCommands" },
    { "EditMenu", "mnuDelete", "De&lete", "Del", "cardora::EditCommands" },
    { "EditMenu", "mnuSelectAll", "Select &All", "Ctrl+A", "cardora::EditCommands" },
    { "EditMenu", "mnuDefaultFont", nullptr, "", "" },
    { "EditMenu", "PersonalInformation1", "&Personal Information", "", "cardora::PersonalInfoCommands" },
    { "EditMenu", "mnuSetorChangeBackgroundArt", "&Set or Change Background Art", "",
        "cardora::BackgroundArtCommands" },
    { "EditMenu", "ChangeCardLayout1", "Change Business Card Layout", "", "cardora::PrintCommands" },
    { "EditMenu", "mnuPrintShopSettings", "Print Shop Settings...", "", "cardora::PrintShopCommands" },
    { "ViewMenu", "mnuShowGuides", "Print Shop &Guides (Trim, Bleed, Safe Area)", "", "cardora::PrintShopCommands" },
    { "ViewMenu", "mnuZoomIn", "Zoom &In", "Ctrl++", "cardora::ViewCommands" },
    { "ViewMenu", "mnuZoomOut", "Zoom &Out", "Ctrl+-", "cardora::ViewCommands" },
    { "ViewMenu", "mnuActualSize", "&Actual Size", "Ctrl+0", "cardora::ViewCommands" },
    { "ViewMenu", "mnuFitToWindow", "&Fit to Window", "Ctrl+9", "cardora::ViewCommands" },
    { "HelpMenu", "Contents1", "&Contents", "", "cardora::HelpCommands" },
    { "HelpMenu", "About1", "&About", "", "cardora::HelpCommands" },
    { "HelpMenu", "ConfigurationInformation1", "Configuration Information", "", "cardora::HelpCommands" },
    { "HelpMenu", "TechnicalSupport1", "Technical Support", "", "cardora::HelpCommands" },
    { "HelpMenu", "FrequentlyAskedQuestions1", "Frequently Asked Questions", "", "cardora::HelpCommands" },
    { "HelpMenu", "VisitOurInternetWebsite1", "Visit Our Internet Website", "", "cardora::HelpCommands" },
};

QString keysOf(const QAction* a)
{
    QStringList keys;
    for (const QKeySequence& k : a->shortcuts())
        keys << k.toString(QKeySequence::PortableText);
    return keys.join(", ");
}
} // namespace

// The menus show the same items, names, texts and keys as before the
// commands were split into families, each item owned by its family.
TEST_F(CommandFamilies, EveryMenuItemHasItsFamilyNameTextAndKeys)
{
    start();
    std::vector<const MenuItem*> expected;
    for (const MenuItem& item : kMenus)
        expected.push_back(&item);
    std::size_t next = 0;
    for (QAction* top : window->menuBar()->actions()) {
        const QMenu* menu = top->menu();
        ASSERT_TRUE(menu);
        for (QAction* a : menu->actions()) {
            if (a->isSeparator() || a->property("recent").toBool())
                continue;
            ASSERT_LT(next, expected.size()) << "unexpected item " << a->objectName().toStdString();
            const MenuItem& want = *expected[next++];
            SCOPED_TRACE(want.name);
            EXPECT_EQ(menu->objectName(), want.menu);
            EXPECT_EQ(a->objectName(), want.name);
            if (want.text)
                EXPECT_EQ(a->text(), want.text);
            EXPECT_EQ(keysOf(a), want.keys);
            if (*want.owner)
                EXPECT_STREQ(a->parent()->metaObject()->className(), want.owner);
            else
                EXPECT_FALSE(a->parent()->inherits("cardora::CommandFamily"));
            EXPECT_EQ(window->Action(want.name), a) << "found by its name";
        }
    }
    EXPECT_EQ(next, expected.size());
}

// A key that reaches two items does neither: no two actions of the window share one.
TEST_F(CommandFamilies, NoTwoActionsShareAKey)
{
    start();
    std::map<QString, QString> owner;
    for (QAction* a : window->findChildren<QAction*>())
        for (const QKeySequence& k : a->shortcuts()) {
            const QString key = k.toString(QKeySequence::PortableText);
            const auto [it, fresh] = owner.emplace(key, a->objectName());
            EXPECT_TRUE(fresh) << key.toStdString() << ": " << it->second.toStdString() << " and "
                               << a->objectName().toStdString();
        }
    EXPECT_GE(owner.size(), 12u);
}

// The button row and the tool bar run the same commands as the menus.
TEST_F(CommandFamilies, ButtonsRunTheFamiliesCommands)
{
    start();
    modal->dialogs.push_back([](QDialog& d) {
        EXPECT_EQ(d.objectName(), "LoadBackGround");
        return int(mrCancel);
    });
    window->ToolButton("SetBackgroundArtButton")->click();
    EXPECT_TRUE(modal->dialogs.empty()) << "the background art dialog opened";

    window->context().setChangesMade(true);
    auto* save = window->findChild<QPushButton*>("Savebutton");
    ASSERT_TRUE(save->isVisible());
    EXPECT_EQ(save->text(), "Save As");
    modal->fileNames = { folder.filePath("saved/Button.CDW") };
    save->click();
    EXPECT_EQ(window->context().card().fileName, folder.filePath("saved/Button.CDW"));
    EXPECT_FALSE(window->context().card().changesMade);
    EXPECT_FALSE(save->isVisible());
}
