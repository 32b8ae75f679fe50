#include "objects/richtext_label/rich_label.h"
#include "objects/richtext_label/rich_text_editor.h"
#include "surface/card_panel.h"
#include "surface/object_kinds.h"
#include "window_fixture.h"
#include <QTextCursor>
#include <QToolButton>
#include <QTest>

using namespace cardora;
using namespace cardora::test;

namespace {

using RichTextWindow = MainWindowFixture;

// The rich-text tool: a drag makes a label and opens the editor at once; Ok
// puts the formatted text on the card, Cancel takes the label away again.
// Either way the tool returns to the pointer. Saved and reopened, the text
// is back.
TEST_F(RichTextWindow, ToolCreatesEditsSavesAndReopens)
{
    RegisterCardObjectKinds();
    start();
    CardPanel* panel = window->cardPanel();
    EXPECT_NE(window->findChild<TRichTextControl*>("MASTERWPRICHTEXT"), nullptr);

    struct Case {
        const char* what;
        int result;
        QString text;
    };
    const Case cases[] = {
        { "confirmed", mrOk, "Hello card" },
        { "cancelled", mrCancel, QString() }, // no label
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        panel->ClearObjects();
        window->context().setChangesMade(false);
        modal->dialogs.push_back([&](QDialog& d) {
            auto& editor = dynamic_cast<TRichTextLabelEditor&>(d);
            EXPECT_EQ(editor.WPPanel()->size(), QSize(201, 41));
            TRichTextItem* item = editor.WPRichText1()->TextItem();
            QTextCursor cursor = item->textCursor();
            cursor.insertText("Hello card");
            cursor.select(QTextCursor::Document);
            item->setTextCursor(cursor);
            editor.findChild<QToolButton*>("BoldButton")->click();
            return c.result;
        });
        panel->SetPanelState(PanelTool::RichLabel);
        QRect r(20, 30, 200, 40);
        panel->CreateObjectForRect(r);
        EXPECT_EQ(panel->PanelState(), PanelTool::Pointing);
        if (c.result == mrCancel) {
            EXPECT_TRUE(panel->Objects().empty());
            EXPECT_FALSE(window->context().card().changesMade);
            continue;
        }
        ASSERT_EQ(panel->Objects().size(), 1u);
        auto* label = qobject_cast<TQPRichBaseLabel*>(panel->Objects().front());
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->RTFText().toPlainText(), c.text);
        EXPECT_TRUE(window->context().card().changesMade);

        const QString path = folder.filePath(QString("rich-%1.CDW").arg(c.result));
        ASSERT_TRUE(window->fileCommands().saveCard(path));
        window->fileCommands().openCard(path);
        ASSERT_EQ(panel->Objects().size(), 1u);
        auto* back = qobject_cast<TQPRichBaseLabel*>(panel->Objects().front());
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->RTFText().toPlainText(), c.text);
        EXPECT_EQ(back->BoundsRect(), QRect(20, 30, 200, 40));
        if (!c.text.isEmpty()) {
            QTextCursor probe(const_cast<QTextDocument*>(&back->RTFText()));
            probe.setPosition(1);
            EXPECT_EQ(probe.charFormat().fontWeight(), QFont::Bold);
        }
    }
    EXPECT_TRUE(modal->messages.empty());
}

} // namespace
