#include "core/context_help.h"
#include "main/background_art_dialog.h"
#include "main/export_dialog.h"
#include "main/help_window.h"
#include "main/personal_info_dialog.h"
#include "main/print_shop_dialogs.h"
#include "objects/circletext/circle_text_dialog.h"
#include "objects/multiline_editor.h"
#include "objects/pictures/image_browser.h"
#include "objects/richtext_label/rich_text_editor.h"
#include "objects/supershape/super_shape_dialog.h"
#include "objects/supertext/super_text_dialog.h"
#include "objects/texture_browser.h"
#include "objects/symbol_label.h"
#include "objects/text_label_dialogs.h"
#include "printing/fine_tune_dialog.h"
#include "printing/label_printer.h"
#include "printing/layout_dialog.h"
#include "printing/preview_form.h"
#include "printing/select_cards_dialog.h"
#include "printing/warn_bottom_dialog.h"
#include "surface/card_panel.h"
#include "window_fixture.h"
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSlider>
#include <QTextEdit>
#include <QTest>
#include <QWhatsThis>
#include <functional>
#include <memory>

using namespace cardora;
using cardora::test::MainWindowFixture;

namespace {
bool isControl(QWidget* w)
{
    if (qobject_cast<QScrollBar*>(w))
        return false;
    return qobject_cast<QAbstractButton*>(w) || qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QComboBox*>(w)
        || qobject_cast<QLineEdit*>(w) || qobject_cast<QTextEdit*>(w) || qobject_cast<QPlainTextEdit*>(w)
        || qobject_cast<QAbstractItemView*>(w) || qobject_cast<QAbstractSlider*>(w);
}

// Parts of a compound control (a spin box's edit, a combo box's list) are
// not controls of their own.
bool insideControl(QWidget* w)
{
    for (QWidget* p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        if (isControl(p))
            return true;
    return false;
}

// Every control of the window that the user cannot ask "What's this?".
QStringList controlsWithoutHelp(QWidget& window)
{
    ApplyWhatsThis(&window);
    QStringList missing;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (w->objectName().startsWith("qt_") || insideControl(w) || w->window() != &window)
            continue;
        // Named custom controls (the card, the sheet picture, samples) count too.
        const bool custom = !w->objectName().isEmpty() && !isControl(w) && w->focusPolicy() != Qt::NoFocus;
        if ((isControl(w) || custom) && w->whatsThis().isEmpty())
            missing << QString("%1 (%2)").arg(w->objectName(), w->metaObject()->className());
    }
    for (QAction* a : window.findChildren<QAction*>())
        if (!a->objectName().isEmpty() && !a->objectName().startsWith("Recent") && !a->isSeparator()
            && a->whatsThis().isEmpty())
            missing << "menu item " + a->objectName();
    return missing;
}

// Counts the what's-this text windows that appear.
struct TextWindowWatch : QObject {
    int shown = 0;
    TextWindowWatch() { qApp->installEventFilter(this); }
    ~TextWindowWatch() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Show && QByteArray(o->metaObject()->className()) == "QWhatsThat")
            ++shown;
        return false;
    }
};

struct WhatsThis : MainWindowFixture {
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        start(); // loads the program's texts
    }
};
} // namespace

// One table: every window of the program, each control asked in turn.
TEST_F(WhatsThis, EveryControlOfEveryWindowSaysWhatItDoes)
{
    CardPanel& panel = *window->cardPanel();
    const std::vector<std::pair<const char*, std::function<std::unique_ptr<QWidget>()>>> windows = {
        { "Print Cards", [] { return std::make_unique<TSelectSpecificLabels>(nullptr); } },
        { "Printer Fine-Tuning", [] { return std::make_unique<TPrintFineTune>(TPrinterNudges()); } },
        { "ALERT", [] { return std::make_unique<TWarnBottomMargin>(); } },
        { "Card layout", [] { return std::make_unique<TEditCardLayout>(); } },
        { "Preview", [] { return std::make_unique<TPreviewForm>(); } },
        { "Print status", [&panel] { return std::make_unique<TLabelPrinter>(panel); } },
        { "Personal Information", [] { return std::make_unique<TPersonalInformation>(); } },
        { "Background art", [] { return std::make_unique<TLoadBackGround>(); } },
        { "Export Card", [] { return std::make_unique<TExportDialog>(QSizeF(3.5, 2)); } },
        { "Text", [] { return std::make_unique<TGetLabelText>(); } },
        { "Text with personal information", [] { return std::make_unique<TGetBCLabelText>(QStringList { "Ann" }); } },
        { "Text 3D Effects", [] { return std::make_unique<TQFont3DEffects>(); } },
        { "Multi-line Text Editor", [] { return std::make_unique<TMultiLineTextEditor>(); } },
        { "Symbol Selector", [] { return std::make_unique<TGetSymbol>(); } },
        { "Help", [] { return std::make_unique<HelpWindow>(); } },
        { "Super Shape Properties", [] { return std::make_unique<TSuperShapeProperties>(); } },
        { "Load Texture Image", [] { return std::make_unique<TQBrushImageBrowser>(); } },
        { "CircleText Properties", [] { return std::make_unique<TCircleTextProperties>(); } },
        { "SuperText Properties", [] { return std::make_unique<TSuperTextProperties>(); } },
        { "Rich Text Editor", [] { return std::make_unique<TRichTextLabelEditor>(); } },
        { "Load Image File", [] { return std::make_unique<TQImageBrowser>(); } },
        { "Print Shop Settings", [] { return std::make_unique<TPrintShopSettingsDialog>(); } },
        { "Export for Print Shop", [] {
             return std::make_unique<TShopExportDialog>(
                 std::vector<TPreflightWarning> { { "tiny-text", "Label1", "Small" } }, 0.125);
         } },
    };
    EXPECT_EQ(controlsWithoutHelp(*window).join(", ").toStdString(), "") << "main window";
    for (const auto& [name, make] : windows) {
        const std::unique_ptr<QWidget> w = make();
        EXPECT_EQ(controlsWithoutHelp(*w).join(", ").toStdString(), "") << name;
    }
    // Windows the main window builds inside its commands, reached as the
    // user reaches them.
    QStringList seen;
    for (const char* command : { "About1", "ConfigurationInformation1", "mnuExport" }) {
        modal->dialogs.push_back([&](QDialog& d) {
            seen << d.objectName();
            EXPECT_EQ(controlsWithoutHelp(d).join(", ").toStdString(), "") << d.objectName().toStdString();
            return int(mrCancel);
        });
        window->Action(command)->trigger();
    }
    EXPECT_EQ(seen, QStringList({ "AboutBox", "ConfigurationInformation", "ExportCard" }));
}

TEST_F(WhatsThis, RightClickOffersWhatsThisExceptOnTheCard)
{
    TExportDialog dialog(QSizeF(3.5, 2), window.get());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::qWait(50); // activation settles first; it would close a what's-this text
    struct Case {
        QWidget* target;
        bool offered;
    };
    const Case cases[] = {
        { dialog.BorderCheck, true },
        { dialog.FormatCombo, true },
        { dialog.findChild<QWidget*>("HelpButton"), true },
        { window->cardPanel(), false }, // its right click opens the card's own menus
    };
    for (const Case& c : cases) {
        ASSERT_NE(c.target, nullptr);
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), c.target->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(c.target, &event);
        QMenu* menu = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == "WhatsThisMenu" && top->isVisible())
                menu = qobject_cast<QMenu*>(top);
        EXPECT_EQ(menu != nullptr, c.offered) << c.target->objectName().toStdString();
        if (!menu)
            continue;
        QAction* item = menu->findChild<QAction*>("WhatsthisMenuItem");
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->text(), "What's this?");
        TextWindowWatch watch;
        item->trigger();
        menu->close();
        QTest::qWait(20);
        EXPECT_EQ(watch.shown, 1) << c.target->objectName().toStdString();
        QWhatsThis::hideText();
    }
    // The button enters the mode in which a click on a control shows its text.
    QTest::mouseClick(dialog.findChild<QAbstractButton*>("MouseHelpButton"), Qt::LeftButton);
    EXPECT_TRUE(QWhatsThis::inWhatsThisMode());
    QWhatsThis::leaveWhatsThisMode();
}

TEST(WhatsThisTable, WindowTextsComeBeforeTextsEveryWindowShares)
{
    SetWhatsThisTexts(ParseWhatsThisTexts("# comment\n[*]\nHelpButton=Opens help.\nOk=Keeps it.\n"
                                          "[ExportCard]\nHelpButton=Export help.\nBorder=A frame\\nline two\n"
                                          "broken line without equals\n"));
    const struct {
        const char* window;
        const char* control;
        const char* text;
    } cases[] = {
        { "ExportCard", "HelpButton", "Export help." },
        { "PrintFineTune", "HelpButton", "Opens help." },
        { "ExportCard", "Ok", "Keeps it." },
        { "ExportCard", "Border", "A frame\nline two" },
        { "ExportCard", "Nothing", "" },
        { "ExportCard", "", "" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(WhatsThisTextFor(c.window, c.control), QString(c.text)) << c.window << "/" << c.control;
    InstallProgramHelp(); // the program's own table again for later tests
}
