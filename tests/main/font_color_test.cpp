#include "core/ini_file.h"
#include "main/window_fixture.h"
#include "objects/card_dump.h"
#include "objects/card_filer.h"
#include "objects/circletext/circle_text.h"
#include "objects/multiline_label.h"
#include "objects/richtext_label/rich_label.h"
#include "objects/supertext/super_text.h"
#include "objects/symbol_label.h"
#include "objects/text_label.h"
#include "surface/card_panel.h"
#include <QAction>
#include <QMenu>
#include <QUndoStack>
#include <functional>
#include <gtest/gtest.h>

using namespace cardora;

namespace {

QAction* findItem(QMenu* menu, const QString& caption)
{
    for (QAction* a : menu->actions()) {
        if (a->text() == caption)
            return a;
        if (a->menu())
            if (QAction* inner = findItem(a->menu(), caption))
                return inner;
    }
    return nullptr;
}

// A card with one object of every kind that shows text, put there directly
// so that the undo stack starts empty.
struct FontColorFixture : cardora::test::MainWindowFixture {
    TQBusinessCardLabel* label = nullptr;
    TQMultiLineLabel* lines = nullptr;
    TQPCircleText* circle = nullptr;
    TQSuperText* super = nullptr;
    TQSymbolLabel* symbol = nullptr;
    TQPRichBaseLabel* rich = nullptr;

    void SetUp() override
    {
        MainWindowFixture::SetUp();
        start();
        placeObjects();
    }
    // Undo puts objects back as new ones: each case starts on a new card.
    void placeObjects()
    {
        window->New1Click();
        TQBusinessCardPanel32& p = panel();
        QObject* owner = p.parent();
        label = TQBusinessCardLabel::CreateForTool(owner, p, p.Font());
        p.PlaceNewObject(label, QRect(10, 10, 80, 20));
        lines = TQMultiLineLabel::CreateForTool(owner, p.Font());
        p.PlaceNewObject(lines, QRect(10, 40, 120, 40));
        lines->SetItems({ "first", "second" });
        circle = TQPCircleText::CreateForTool(owner);
        p.PlaceNewObject(circle, QRect(150, 10, 80, 80));
        super = TQSuperText::CreateForTool(owner);
        p.PlaceNewObject(super, QRect(10, 100, 120, 30));
        symbol = TQSymbolLabel::CreateForTool(owner);
        p.PlaceNewObject(symbol, QRect(250, 10, 40, 40));
        rich = TQPRichBaseLabel::CreateForTool(owner);
        p.PlaceNewObject(rich, QRect(150, 110, 120, 50));
        window->UndoStack().clear();
    }
    TQBusinessCardPanel32& panel() { return *window->BusinessCardPanel(); }
    QByteArray bytes() { return TQLabelObjectFiler::WriteObjects(panel().Objects()); }
    static bool red(TQGraphicControl* o)
    {
        return DumpCardJson({ o }).contains(R"(["Font.Color", "clRed"])");
    }
};

} // namespace

// Every font dialog that opens for text offers a colour; the colour chosen
// reaches the card, and undo takes it back.
TEST_F(FontColorFixture, FontCommandsChooseTheColourAndUndoTakesItBack)
{
    struct Case {
        const char* place;
        std::function<void(FontColorFixture&)> run;
        std::function<std::vector<TQGraphicControl*>(FontColorFixture&)> recoloured;
    };
    const Case cases[] = {
        { "panel Font on several objects",
            [](FontColorFixture& f) {
                f.panel().SelectOnly({ f.label, f.lines, f.circle, f.super, f.symbol, f.rich });
                findItem(f.panel().PanelMenu(), "Font")->trigger();
            },
            [](FontColorFixture& f) {
                return std::vector<TQGraphicControl*> { f.label, f.lines, f.circle, f.super };
            } },
        { "circle text Font item", [](FontColorFixture& f) { findItem(f.circle->ObjectMenu(), "Font")->trigger(); },
            [](FontColorFixture& f) { return std::vector<TQGraphicControl*> { f.circle }; } },
        { "super text Font item", [](FontColorFixture& f) { findItem(f.super->ObjectMenu(), "Font")->trigger(); },
            [](FontColorFixture& f) { return std::vector<TQGraphicControl*> { f.super }; } },
        { "multi-line Font item", [](FontColorFixture& f) { findItem(f.lines->ObjectMenu(), "Font")->trigger(); },
            [](FontColorFixture& f) { return std::vector<TQGraphicControl*> { f.lines }; } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.place);
        placeObjects();
        const QByteArray before = bytes();
        const std::size_t offered = modal->fontColorsOffered.size();
        modal->fonts = { QFont("Times New Roman", 14) };
        modal->fontColors = { QColor(Qt::red) };
        c.run(*this);
        EXPECT_EQ(modal->fontColorsOffered.size(), offered + 1) << "the dialog offers a colour";
        const std::vector<TQGraphicControl*> changed = c.recoloured(*this);
        for (TQGraphicControl* o : panel().Objects()) {
            const bool expected = std::find(changed.begin(), changed.end(), o) != changed.end();
            EXPECT_EQ(red(o), expected) << o->ClassName().toStdString();
        }
        ASSERT_EQ(window->UndoStack().count(), 1);
        const QByteArray after = bytes();
        window->UndoStack().undo();
        EXPECT_EQ(bytes(), before);
        window->UndoStack().redo();
        EXPECT_EQ(bytes(), after);
    }
}

// The panel's Font offers the colour new objects start with; the default
// font's colour and strike-out are kept between runs.
TEST_F(FontColorFixture, DefaultFontChoosesTheColourOfNewText)
{
    QFont chosen("Times New Roman", 12);
    chosen.setStrikeOut(true);
    modal->fonts = { chosen };
    modal->fontColors = { QColor(Qt::red) };
    const QByteArray card = bytes();
    window->mnuDefaultFontClick();
    EXPECT_EQ(bytes(), card);
    EXPECT_EQ(window->UndoStack().count(), 0);
    auto* fresh = TQBusinessCardLabel::CreateForTool(panel().parent(), panel(), panel().Font());
    panel().PlaceNewObject(fresh, QRect(200, 150, 60, 20));
    EXPECT_TRUE(red(fresh));
    EXPECT_TRUE(DumpCardJson({ fresh }).contains("fsStrikeOut"));

    // A new window reads them back from the preferences file, and its
    // Default Font starts from that colour.
    window.reset();
    start();
    EXPECT_EQ(panel().Font().Color(), clRed);
    EXPECT_TRUE(panel().Font().Style() & fsStrikeOut);
    modal->fonts = { std::nullopt };
    window->mnuDefaultFontClick();
    ASSERT_FALSE(modal->fontColorsOffered.empty());
    EXPECT_EQ(modal->fontColorsOffered.back(), QColor(Qt::red));
}
