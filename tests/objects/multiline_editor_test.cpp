#include "core/modal.h"
#include "fake_parent.h"
#include "objects/multiline_editor.h"
#include "objects/multiline_label.h"
#include "objects/text_label_dialogs.h"
#include "support/scripted_modal.h"
#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace cardora;
using namespace cardora::test;

TEST(MultiLineEditor, AcceptsAtMost254TypedOrPastedCharacters)
{
    TMultiLineTextEditor editor;
    EXPECT_EQ(editor.windowTitle(), "Multi-line Text Editor");
    TLimitedMemo* memo = editor.findChild<TLimitedMemo*>("Memo");
    ASSERT_NE(memo, nullptr);
    editor.show();
    memo->setFocus();

    QTest::keyClicks(memo, QString(250, 'a'));
    QTest::keyClick(memo, Qt::Key_Return); // a line break is one character
    QTest::keyClicks(memo, "bcdefgh");
    EXPECT_EQ(memo->toPlainText(), QString(250, 'a') + "\nbcd");
    EXPECT_EQ(memo->Room(), 0);
    QTest::keyClick(memo, Qt::Key_Return);
    EXPECT_EQ(memo->toPlainText().size(), 254);

    // Deleting makes room again; a selection may be replaced.
    QTest::keyClick(memo, Qt::Key_Backspace);
    QTest::keyClick(memo, Qt::Key_Backspace);
    QTest::keyClicks(memo, "xyz");
    EXPECT_TRUE(memo->toPlainText().endsWith("\nbxy"));
    memo->selectAll();
    QTest::keyClicks(memo, "new");
    EXPECT_EQ(memo->toPlainText(), "new");

    // Pasting takes only what fits.
    QApplication::clipboard()->setText(QString(300, 'p'));
    memo->paste();
    EXPECT_EQ(memo->toPlainText(), "new" + QString(251, 'p'));
    memo->paste();
    EXPECT_EQ(memo->toPlainText().size(), 254);

    // Text from a card file is shown whole, even when longer.
    editor.SetText(QString(300, 'f'));
    EXPECT_EQ(memo->toPlainText().size(), 300);
    QTest::keyClicks(memo, "g");
    EXPECT_EQ(memo->toPlainText().size(), 300);
}

TEST(MultiLineEditor, ButtonsCloseWithTheirResultsAndHelpOpensItsTopic)
{
    QList<int> topics;
    SetDialogHelpHandler([&](int topic) { topics << topic; });
    TMultiLineTextEditor editor;
    auto* ok = editor.findChild<QPushButton*>("OkButton");
    auto* cancel = editor.findChild<QPushButton*>("CancelButton");
    auto* help = editor.findChild<QPushButton*>("HelpButton");
    ASSERT_TRUE(ok && cancel && help);
    EXPECT_EQ(ok->text(), "Ok");
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(cancel->text(), "Cancel");
    help->click();
    EXPECT_EQ(topics, QList<int>({ 40001 }));
    ok->click();
    EXPECT_EQ(editor.result(), mrOk);
    cancel->click();
    EXPECT_EQ(editor.result(), mrCancel);
    editor.setResult(0);
    editor.reject(); // Escape and the close box
    EXPECT_EQ(editor.result(), mrCancel);
    SetDialogHelpHandler(nullptr);
}

TEST(MultiLineEditor, EditTextTakesTheLinesOnOkOnly)
{
    auto modal = ScriptedModal::Install();
    FakeParent panel;
    auto* l = new TQMultiLineLabel(&panel.Owner);
    panel.Adopt(l);
    l->Font()->SetName("Times New Roman");
    l->Font()->SetSize(14);
    l->SetItems({ "first", "second" });
    l->SetBounds(0, 0, 60, 40);
    l->SetWordWrap(true);

    QString shownText;
    QFont shownFont;
    modal->dialogs.push_back([&](QDialog& d) {
        auto* memo = d.findChild<TLimitedMemo*>("Memo");
        shownText = memo->toPlainText();
        shownFont = memo->font();
        memo->setPlainText("Acme Widgets Incorporated\n\n  Suite 5\n");
        return int(mrOk);
    });
    const int changed = panel.ChangedCount;
    EXPECT_TRUE(l->EditText());
    EXPECT_EQ(shownText, "first\nsecond");
    EXPECT_EQ(shownFont.family(), "Times New Roman");
    EXPECT_EQ(l->Items(), QStringList({ "Acme Widgets Incorporated", "", "  Suite 5" }));
    EXPECT_EQ(panel.ChangedCount, changed + 1);
    // Wrapped at once in the narrow box.
    EXPECT_GT(l->WrappedLines().size(), 3);
    EXPECT_EQ(l->WrappedLines().join(QString()), l->Items().join(QString()));

    // Cancel keeps the lines and notifies nothing.
    modal->dialogs.push_back([](QDialog& d) {
        d.findChild<TLimitedMemo*>("Memo")->setPlainText("thrown away");
        return int(mrCancel);
    });
    EXPECT_FALSE(l->EditText());
    EXPECT_EQ(l->Items(), QStringList({ "Acme Widgets Incorporated", "", "  Suite 5" }));
    EXPECT_EQ(panel.ChangedCount, changed + 1);
    SetModalHandler(nullptr);
}

TEST(MultiLineEditor, ToolLabelTakesTheFontGivenAndKeepsIt)
{
    FakeParent panel;
    panel.Font.SetName("Courier New");
    TFont toolFont;
    toolFont.SetName("Times New Roman");
    toolFont.SetSize(12);
    auto* l = TQMultiLineLabel::CreateForTool(&panel.Owner, toolFont);
    panel.Adopt(l);
    // The panel's own default does not replace the font given at creation.
    EXPECT_EQ(*l->Font(), toolFont);
    EXPECT_FALSE(l->ParentFont());
}
