#include "core/app_folder.h"
#include "core/ini_file.h"
#include "core/window_placement.h"
#include "main/main_window.h"
#include "main/preferences.h"
#include "support/plain_object.h"
#include "support/scripted_modal.h"
#include "surface/card_panel.h"
#include <QAction>
#include <QButtonGroup>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include "main/window_fixture.h"

using namespace cardora;
using cardora::test::PlainObject;
using cardora::test::ScriptedModal;

namespace {
struct WindowFixture : cardora::test::MainWindowFixture {
    QPushButton* button(const char* name) { return window->findChild<QPushButton*>(name); }
    QString zoomCaption() { return window->findChild<QLabel*>("ZoomCaption")->text(); }
};
} // namespace

TEST_F(WindowFixture, StartsWithEmptyCardAtTrueSizeAndPlainCaption)
{
    start();
    EXPECT_EQ(window->windowTitle(), "Cardora");
    EXPECT_EQ(window->cardPanel()->size(), QSize(336, 192));
    EXPECT_TRUE(window->cardPanel()->Objects().empty());
    EXPECT_FALSE(button("Cancelbutton")->isVisible());
    EXPECT_FALSE(button("Savebutton")->isVisible());
    EXPECT_TRUE(window->Action("mnuSave")->isEnabled()); // asks for a name on a new card
    EXPECT_TRUE(window->Action("mnuPrint")->isEnabled()); // the PDF printer is always there
    // First run: the placement section exists afterwards.
    IniFile ini(PreferencesFileName());
    EXPECT_TRUE(ini.ValueExists("TMainScreen_Placement", "Bottom"));
    for (const char* f : { "saved", "bg", "bmbrush" })
        EXPECT_TRUE(QFileInfo(folder.filePath(f)).isDir()) << f;
}

// The card size the window starts with comes from CDW.INI; a layout the
// layout dialog would refuse is replaced by the standard one, and said so.
TEST_F(WindowFixture, LayoutFromPreferencesIsCheckedAtStart)
{
    struct Case {
        const char* layout; // key=value lines of [Layout]
        QSize panel;
        bool warned;
    } cases[] = {
        { "Width=3000\nHeight=1750\nHPitch=3000\nVPitch=1750", QSize(288, 168), false },
        { "Width=320000\nHeight=200000", QSize(336, 192), true },
        { "Width=0\nHeight=2000", QSize(336, 192), true },
        { "Width=3500\nHeight=-5000", QSize(336, 192), true },
        { "LeftMargin=5000", QSize(336, 192), true }, // two 3.5 in cards off Letter paper
        { "Across=1\nLeftMargin=5000", QSize(336, 192), false }, // one card ends at 8.5 in: fits
    };
    for (const Case& c : cases) {
        QFile ini(PreferencesFileName());
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write(QByteArray("[Layout]\n") + c.layout + "\n");
        ini.close();
        modal->messages.clear();
        start();
        EXPECT_EQ(window->cardPanel()->size(), c.panel) << c.layout;
        const bool warned = !modal->messages.empty() && modal->messages.front().caption == "Card Layout";
        EXPECT_EQ(warned, c.warned) << c.layout;
        window.reset();
    }
}

TEST_F(WindowFixture, MenusHoldEveryItemInOrder)
{
    start();
    auto captions = [&](const char* menu) {
        QStringList out;
        for (QAction* a : window->findChild<QMenu*>(menu)->actions())
            out << (a->isSeparator() ? "-" : a->text());
        return out;
    };
    EXPECT_EQ(captions("FileMenu"),
        QStringList({ "&New", "&Open", "&Delete", "-", "Save", "Save &As...", "Save As Bitmap", "Save As JPG", "Expo&rt...",
            "Export for Print S&hop...", "-", "&Merge Data...", "&Forget Merge Data", "-",
            "&Back Side...", "Show Bac&k Side", "-", "&Print", "Pre&view", "-", "Printer S&etup", "Printer Fine &Tuning",
            "Print O&utline Test Page", "Back Side Fine Tu&ning", "Print T&wo-Sided Test Page", "-", "E&xit" }));
    EXPECT_EQ(captions("EditMenu"),
        QStringList({ "Undo", "Redo", "-", "Cu&t", "&Copy", "&Paste", "De&lete", "Select &All", "-",
            "Default Font: Arial, 10 pt ", "&Personal Information", "&Set or Change Background Art", "-",
            "Change Business Card Layout", "Print Shop Settings..." }));
    EXPECT_EQ(captions("ViewMenu"),
        QStringList({ "Print Shop &Guides (Trim, Bleed, Safe Area)", "-", "Zoom &In", "Zoom &Out", "&Actual Size",
            "&Fit to Window" }));
    EXPECT_EQ(captions("HelpMenu"),
        QStringList({ "&Contents", "&About", "Configuration Information", "Technical Support",
            "Frequently Asked Questions", "-", "Visit Our Internet Website" }));
    EXPECT_EQ(window->Action("mnuSave")->shortcut(), QKeySequence("Ctrl+S"));
}

TEST_F(WindowFixture, KeypadZoomStepsFromAQuarterToFourTimes)
{
    start();
    QStringList seen;
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(window->cardPanel(), Qt::Key_Minus, Qt::KeypadModifier);
        seen << zoomCaption();
    }
    EXPECT_EQ(seen, QStringList({ "75%", "67%", "50%", "33%", "25%", "25%" }));
    EXPECT_EQ(window->cardPanel()->size(), QSize(84, 48));
    seen.clear();
    for (int i = 0; i < 15; ++i) {
        QTest::keyClick(window->cardPanel(), Qt::Key_Plus, Qt::KeypadModifier);
        seen << zoomCaption();
    }
    EXPECT_EQ(seen,
        QStringList({ "33%", "50%", "67%", "75%", "100%", "110%", "120%", "130%", "140%", "150%", "200%", "300%", "400%",
            "400%", "400%" }));
    EXPECT_EQ(window->cardPanel()->size(), QSize(1344, 768));
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(window->cardPanel(), Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_FALSE(window->context().card().changesMade); // zooming is not a change
    // The panel is the card size times the zoom, not the last size rescaled
    // (which would drift to 506 and come back at 337).
    EXPECT_EQ(window->cardPanel()->width(), 504);
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(window->cardPanel(), Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(zoomCaption(), "100%");
    EXPECT_EQ(window->cardPanel()->size(), QSize(336, 192));
}

// A + or - key zooms one step when it comes up, whichever key of a pair
// comes up first; with Ctrl it is the View menu's shortcut, and letting Ctrl
// go before the key does not step a second time.
TEST_F(WindowFixture, PlusAndMinusKeysStepOnceWhateverComesUpFirst)
{
    start();
    struct Stroke {
        const char* what;
        Qt::Key pressed, released;
        Qt::KeyboardModifiers atPress, atRelease;
        const char* zoom; // after the stroke, from 100 %
    };
    const Qt::KeyboardModifiers none, ctrl(Qt::ControlModifier), pad(Qt::KeypadModifier);
    const Stroke strokes[] = {
        { "minus", Qt::Key_Minus, Qt::Key_Minus, none, none, "75%" },
        { "keypad minus", Qt::Key_Minus, Qt::Key_Minus, pad, pad, "75%" },
        { "plus, Shift up first", Qt::Key_Plus, Qt::Key_Equal, Qt::ShiftModifier, none, "110%" },
        { "equals", Qt::Key_Equal, Qt::Key_Equal, none, none, "110%" },
        { "keypad plus", Qt::Key_Plus, Qt::Key_Plus, pad, pad, "110%" },
        // The View menu's shortcut takes the step.
        { "Ctrl+minus", Qt::Key_Minus, Qt::Key_Minus, ctrl, ctrl, "75%" },
        { "Ctrl+minus, Ctrl up first", Qt::Key_Minus, Qt::Key_Minus, ctrl, none, "75%" },
        { "Ctrl+keypad plus, Ctrl up first", Qt::Key_Plus, Qt::Key_Plus, ctrl | pad, pad, "110%" },
    };
    for (const Stroke& k : strokes) {
        SCOPED_TRACE(k.what);
        window->viewCommands().setZoom(1.0f);
        QTest::keyPress(window->cardPanel(), k.pressed, k.atPress);
        QTest::keyRelease(window->cardPanel(), k.released, k.atRelease);
        EXPECT_EQ(zoomCaption().toStdString(), k.zoom);
    }
}

// Any zoom is a view of the same card: Actual Size comes back to it, Fit to
// Window shows the whole card as large as the window allows.
TEST_F(WindowFixture, ViewMenuZoomsFitAndComeBack)
{
    start();
    auto* o = new PlainObject(window.get());
    window->cardPanel()->AddObject(o);
    o->SetBounds(300, 160, 30, 25); // by the corner the fit must keep in sight
    window->context().setChangesMade(false);
    const QWidget* room = window->cardPanel()->parentWidget()->parentWidget();
    for (QSize windowSize : { QSize(900, 700), QSize(1400, 600), QSize(700, 900) }) {
        SCOPED_TRACE(windowSize.width());
        window->resize(windowSize);
        QCoreApplication::processEvents();
        window->Action("mnuFitToWindow")->trigger();
        const float z = window->cardPanel()->Zoom();
        EXPECT_GE(z, 0.25f);
        EXPECT_LE(z, 4.0f);
        EXPECT_EQ(zoomCaption(), QString::number(qRound(z * 100)) + "%");
        const QRect shown = window->cardPanel()->geometry();
        EXPECT_LE(shown.right(), room->width());
        EXPECT_LE(shown.bottom(), room->height());
        // As large as it goes: a tenth larger would not fit one way or the other.
        EXPECT_TRUE(shown.width() * 1.1 > room->width() || shown.height() * 1.1 > room->height());
        window->Action("mnuActualSize")->trigger();
        EXPECT_EQ(zoomCaption(), "100%");
        EXPECT_EQ(window->cardPanel()->size(), QSize(336, 192));
    }
    EXPECT_EQ(o->BoundsRect(), QRect(300, 160, 30, 25));
    EXPECT_FALSE(window->context().card().changesMade);
}

TEST_F(WindowFixture, ChangesShowCancelAndSaveButtons)
{
    start();
    auto* o = new PlainObject(window.get());
    window->cardPanel()->AddObject(o);
    o->SetBounds(10, 10, 40, 20);
    o->SetLeft(30);
    EXPECT_TRUE(window->context().card().changesMade);
    EXPECT_TRUE(button("Cancelbutton")->isVisible());
    EXPECT_TRUE(button("Savebutton")->isVisible());
    EXPECT_EQ(button("Savebutton")->text(), "Save As");
    // Revert asks first; No keeps everything.
    modal->answers = { mrNo };
    button("Cancelbutton")->click();
    EXPECT_EQ(window->cardPanel()->Objects().size(), 1u);
    modal->answers = { mrYes };
    button("Cancelbutton")->click();
    EXPECT_TRUE(window->cardPanel()->Objects().empty());
    EXPECT_FALSE(button("Cancelbutton")->isVisible());
    EXPECT_EQ(modal->messages.back().text, "Cancel all changes?");
    EXPECT_EQ(modal->messages.back().caption, "Cancel");
}

TEST_F(WindowFixture, DroppedObjectReturnsToSelectionTool)
{
    start();
    ObjectTool plain;
    plain.create = [](const ToolPlacement& at) -> TQGraphicControl* { return new PlainObject(at.owner); };
    ObjectKinds::ReplaceTool(int(PanelTool::Ellipse), plain);
    window->ToolButton("DrawEllipseButton")->click();
    EXPECT_EQ(window->cardPanel()->PanelState(), PanelTool::Ellipse);
    QTest::mouseClick(window->cardPanel(), Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_EQ(window->cardPanel()->Objects().size(), 1u);
    EXPECT_EQ(window->cardPanel()->PanelState(), PanelTool::Pointing);
    EXPECT_TRUE(window->ToolButton("Pointerbutton")->isChecked());
    EXPECT_FALSE(window->ToolButton("DrawEllipseButton")->isChecked());
}

TEST_F(WindowFixture, DefaultFontIsStoredAndNoteShownEvenWhenCancelled)
{
    start();
    QFont chosen("Times New Roman");
    chosen.setPointSize(12);
    chosen.setBold(true);
    chosen.setStrikeOut(true);
    modal->fonts = { chosen };
    modal->fontColors = { QColor(Qt::red) };
    window->chooseDefaultFont();
    EXPECT_EQ(modal->fontColorsOffered.back(), QColor(Qt::black));
    EXPECT_EQ(window->Action("mnuDefaultFont")->text(), "Default Font: Times New Roman, 12 pt , bold");
    EXPECT_TRUE(modal->messages.back().text.startsWith("Note: the default font is used for NEW objects only.\r"));
    IniFile ini(PreferencesFileName());
    EXPECT_EQ(ini.ReadString("Default Font", "Name", ""), "Times New Roman");
    EXPECT_EQ(ini.ReadInteger("Default Font", "Size", 0), 12);
    EXPECT_TRUE(ini.ReadBool("Default Font", "Bold", false));
    // Its colour and strike-out come back in the next run.
    TFont next;
    ApplyDefaultFont(LoadPreferencesFile(PreferencesFileName()).DefaultFont, next);
    EXPECT_EQ(next.Color(), clRed);
    EXPECT_TRUE(next.Style() & FontStyle::StrikeOut);
    const size_t before = modal->messages.size();
    window->chooseDefaultFont(); // cancelled: the note still shows
    EXPECT_EQ(modal->messages.size(), before + 1);
}

TEST_F(WindowFixture, ExitAsksOnceWhenSaveWasDeclined)
{
    start();
    auto* o = new PlainObject(window.get());
    window->cardPanel()->AddObject(o);
    o->SetBounds(10, 10, 40, 20);
    o->SetLeft(20);
    modal->answers = { mrNo, mrNo };
    window->close();
    int asked = 0;
    for (const auto& m : modal->messages)
        if (m.text == "Save changes?")
            ++asked;
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(window->isVisible());
}

TEST(Preferences, DefaultsRoundTripAndHalfEvenThousandths)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("CDW.INI");
    TPreferences p = LoadPreferencesFile(path);
    EXPECT_EQ(p.Layout.Width, 3.5);
    EXPECT_EQ(p.Layout.Height, 2.0);
    EXPECT_EQ(p.Layout.Across, 2);
    EXPECT_EQ(p.Layout.Down, 5);
    EXPECT_DOUBLE_EQ(p.Layout.TopMargin, 0.5);
    EXPECT_DOUBLE_EQ(p.Layout.LeftMargin, 0.75);
    EXPECT_EQ(p.DefaultFont.Name, "Arial");
    EXPECT_EQ(p.DefaultFont.Size, 10);
    EXPECT_TRUE(p.ShowBottomMarginWarning);
    EXPECT_EQ(p.Nudges.TopMarginNudge, 0);
    p.Layout.Width = 2.0625;
    p.Personal[8] = "ann@example.org";
    SavePreferencesFile(path, p);
    IniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("Layout", "Width", 0), 2062);
    const TPreferences back = LoadPreferencesFile(path);
    EXPECT_DOUBLE_EQ(back.Layout.Width, 2.062);
    EXPECT_EQ(back.Personal[8], "ann@example.org");

    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Default Font]\nName=Courier New\nBold=1\nItalic=0\nUnderline=5\n");
    f.close();
    TFont font;
    font.SetStyle(FontStyle::StrikeOut);
    ApplyDefaultFont(LoadPreferencesFile(path).DefaultFont, font);
    EXPECT_EQ(font.Style(), FontStyle::Bold | FontStyle::Underline | FontStyle::StrikeOut);
    EXPECT_EQ(font.Name(), "Courier New");
    EXPECT_EQ(font.Size(), 10);
}

TEST(WindowPlacement, SectionNamesAndClamping)
{
    EXPECT_EQ(PlacementSection("TMainScreen", 96), "TMainScreen_Placement");
    EXPECT_EQ(PlacementSection("TMainScreen", 120), "TMainScreen_Placement120");
    // Stored on a larger screen: pulled back fully, size kept.
    EXPECT_EQ(ClampToScreen(QRect(1500, 900, 622, 450), QSize(1280, 800)), QRect(658, 350, 622, 450));
    EXPECT_EQ(ClampToScreen(QRect(100, 50, 622, 450), QSize(1280, 800)), QRect(100, 50, 622, 450));
}

TEST(Sidecar, ReplacesTheCardsOwnExtension)
{
    EXPECT_EQ(SidecarFileName("/home/a/My.Cards/Card.CDW"), "/home/a/My.Cards/Card.CDB");
    EXPECT_EQ(SidecarFileName("/home/a/.local/x/Card"), "/home/a/.local/x/Card.CDB");
    EXPECT_EQ(SidecarFileName("/tmp/v1.2/BC0001.cdw"), "/tmp/v1.2/BC0001.CDB");
}
