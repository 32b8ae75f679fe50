#include "core/ini_file.h"
#include "main/designer_assistant.h"
#include "surface/card_panel.h"
#include "support/plain_object.h"
#include "window_fixture.h"
#include <QAbstractButton>
#include <QToolButton>
#include <QSet>
#include <QTest>

using namespace cardora;
using cardora::test::MainWindowFixture;
using cardora::test::PlainObject;

TEST(AssistantTips, EachToolHasItsOwnTipNamingIt)
{
    RegisterCardObjectKinds();
    const struct {
        int tool;
        const char* mentions;
    } cases[] = {
        { int(PanelTool::Label), "Text tool:" }, { int(PanelTool::MultiLineLabel), "Multi-line Text tool:" }, { int(PanelTool::SymbolLabel), "Symbol tool:" },
        { int(PanelTool::Rectangle), "Rectangle tool:" }, { int(PanelTool::Ellipse), "Ellipse tool:" }, { int(PanelTool::RoundRectangle), "Round Rectangle tool:" },
        { int(PanelTool::Line), "Line tool:" }, { int(PanelTool::Image), "Picture tool:" }, { int(PanelTool::SuperShape), "Super Shape tool:" },
        { int(PanelTool::RichLabel), "Rich Text tool:" }, { int(PanelTool::SuperText), "Super Text tool:" }, { int(PanelTool::CircleText), "Circle Text tool:" },
        { ObjectKinds::ToolFor("TQRCode"), "QR Code tool:" },
    };
    QSet<QString> tips;
    for (const auto& c : cases) {
        TAssistantSituation s;
        s.Tool = c.tool;
        s.Objects = 3;
        s.Selected = 1; // a chosen tool wins over the selection
        const QString tip = TDesignerAssistant::TipFor(s);
        EXPECT_TRUE(tip.startsWith(c.mentions)) << c.mentions << ": " << tip.toStdString();
        tips.insert(tip);
    }
    EXPECT_EQ(tips.size(), int(std::size(cases)));
}

TEST(AssistantTips, WithTheSelectionToolTheTipFollowsTheCard)
{
    const struct {
        int objects, selected;
        const char* kind;
        const char* mentions;
    } cases[] = {
        { 0, 0, "", "Your card is empty" },
        { 4, 0, "", "Click an object to select it" },
        { 4, 1, "TQBusinessCardLabel", "Text selected" },
        { 4, 1, "TQMultiLineLabel", "Multi-line text selected" },
        { 4, 1, "TQSymbolLabel", "Symbol selected" },
        { 4, 1, "TQLineShape", "Line selected" },
        { 4, 1, "TBCShapes", "Shape selected" },
        { 4, 1, "TQLabelShapes", "Shape selected" },
        { 4, 1, "TQRCode", "QR code selected" },
        { 4, 1, "TSomethingNew", "Object selected" },
        { 4, 3, "", "3 objects selected" },
    };
    for (const auto& c : cases) {
        TAssistantSituation s;
        s.Objects = c.objects;
        s.Selected = c.selected;
        s.SelectedKind = c.kind;
        EXPECT_TRUE(TDesignerAssistant::TipFor(s).startsWith(c.mentions)) << c.kind << " " << c.selected;
    }
}

TEST_F(MainWindowFixture, AssistantFollowsTheToolAndRemembersBeingClosed)
{
    start();
    TDesignerAssistant* assistant = window->Assistant();
    ASSERT_NE(assistant, nullptr);
    EXPECT_TRUE(assistant->isVisible()); // open on the first run
    EXPECT_GT(assistant->x(), window->cardPanel()->mapTo(window.get(), QPoint(0, 0)).x()); // beside the card
    assistant->Refresh();
    EXPECT_TRUE(assistant->SituationText().startsWith("Your card is empty"));
    window->ToolButton("DrawEllipseButton")->click();
    assistant->Refresh();
    EXPECT_TRUE(assistant->SituationText().startsWith("Ellipse tool"));
    window->ToolButton("Pointerbutton")->click();
    auto* o = new PlainObject(window.get());
    window->cardPanel()->AddObject(o);
    o->SetBounds(20, 20, 40, 30);
    window->cardPanel()->AddToSelection(o);
    assistant->Refresh();
    EXPECT_TRUE(assistant->SituationText().startsWith("Object selected"));

    // Paging through the quick tips wraps round at both ends.
    const int count = TDesignerAssistant::QuickTips().size();
    const QString first = assistant->CurrentTip();
    assistant->findChild<QAbstractButton*>("PreviousTip")->click();
    EXPECT_EQ(assistant->TipIndex(), count - 1);
    for (int i = 0; i < count; ++i)
        assistant->findChild<QAbstractButton*>("NextTip")->click();
    EXPECT_EQ(assistant->TipIndex(), count - 1);
    assistant->NextTip();
    EXPECT_EQ(assistant->CurrentTip(), first);

    assistant->findChild<QAbstractButton*>("AssistantClose")->click();
    EXPECT_FALSE(assistant->isVisible());
    EXPECT_TRUE(IniFile(PreferencesFileName()).ReadBool("Assistant", "Closed", false));
    window.reset();
    start(); // the next run keeps it closed
    EXPECT_FALSE(window->Assistant()->isVisible());
    window->ToolButton("AssistButton")->click();
    EXPECT_TRUE(window->Assistant()->isVisible());
    EXPECT_FALSE(IniFile(PreferencesFileName()).ReadBool("Assistant", "Closed", true));
}
