#include "objects/richtext_label/rich_text_editor.h"
#include <QComboBox>
#include <QFontComboBox>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace cardora;

namespace {

// An editor holding "one two" with "two" selected.
struct Editing {
    TRichTextLabelEditor editor;
    TRichTextItem* item = editor.WPRichText1()->TextItem();

    Editing()
    {
        QTextCursor c = item->textCursor();
        c.insertText("one two");
        c.setPosition(4);
        c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        item->setTextCursor(c);
    }
    QTextCharFormat At(int position) const
    {
        QTextCursor c(item->document());
        c.setPosition(position);
        return c.charFormat();
    }
};

// Each tool of the bar changes the selected word and leaves the other alone.
TEST(RichTextEditor, ToolBarFormatsTheSelection)
{
    struct Case {
        const char* what;
        std::function<void(TRichTextLabelEditor&)> use;
        std::function<bool(const QTextCharFormat&)> applied;
    };
    const Case cases[] = {
        { "bold", [](TRichTextLabelEditor& e) { e.findChild<QToolButton*>("BoldButton")->click(); },
            [](const QTextCharFormat& f) { return f.fontWeight() == QFont::Bold; } },
        { "italic", [](TRichTextLabelEditor& e) { e.findChild<QToolButton*>("ItalicButton")->click(); },
            [](const QTextCharFormat& f) { return f.fontItalic(); } },
        { "underline", [](TRichTextLabelEditor& e) { e.findChild<QToolButton*>("UnderlineButton")->click(); },
            [](const QTextCharFormat& f) { return f.underlineStyle() == QTextCharFormat::SingleUnderline; } },
        { "strike out", [](TRichTextLabelEditor& e) { e.findChild<QToolButton*>("StrikeOutButton")->click(); },
            [](const QTextCharFormat& f) { return f.fontStrikeOut(); } },
        { "size 24",
            [](TRichTextLabelEditor& e) {
                auto* size = e.findChild<QComboBox*>("FontSizeCombo");
                emit size->textActivated("24");
            },
            [](const QTextCharFormat& f) { return f.fontPointSize() == 24; } },
        { "red",
            [](TRichTextLabelEditor& e) {
                auto* color = e.findChild<QComboBox*>("FontColorCombo");
                emit color->activated(color->findText("Red"));
            },
            [](const QTextCharFormat& f) { return f.foreground().color() == QColor(255, 0, 0); } },
        { "font name",
            [](TRichTextLabelEditor& e) {
                e.findChild<QFontComboBox*>("FontNameCombo")->setCurrentFont(QFont("Liberation Mono"));
            },
            [](const QTextCharFormat& f) {
                return !f.fontFamilies().toStringList().isEmpty()
                    && f.fontFamilies().toStringList().first() == "Liberation Mono";
            } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Editing e;
        c.use(e.editor);
        EXPECT_TRUE(c.applied(e.At(6))) << "the selected word";
        EXPECT_FALSE(c.applied(e.At(2))) << "the word before it";
    }
}

// The alignment buttons set the paragraph's alignment and show it checked.
TEST(RichTextEditor, AlignmentButtons)
{
    const std::pair<const char*, Qt::Alignment> cases[] = { { "AlignCenterButton", Qt::AlignHCenter },
        { "AlignRightButton", Qt::AlignRight }, { "AlignJustifyButton", Qt::AlignJustify },
        { "AlignLeftButton", Qt::AlignLeft } };
    Editing e;
    for (const auto& [button, alignment] : cases) {
        SCOPED_TRACE(button);
        auto* b = e.editor.findChild<QToolButton*>(button);
        b->click();
        EXPECT_EQ(e.item->document()->begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, alignment);
        EXPECT_TRUE(b->isChecked());
    }
}

// Pasting: RTF from a word processor keeps its formatting; plain text takes
// the format at the caret.
TEST(RichTextEditor, PastesRtfWithItsFormatting)
{
    struct Case {
        const char* type;
        QByteArray data;
        QString text;
        bool bold;
    };
    const Case cases[] = {
        { "text/rtf", "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 {\\b strong} words}", "one strong words", true },
        { "application/rtf", "{\\rtf1 {\\b strong}}", "one strong", true },
        { "text/plain", "strong", "one strong", false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        Editing e;
        QMimeData data;
        data.setData(c.type, c.data);
        e.item->InsertMimeData(data);
        EXPECT_EQ(e.item->document()->toPlainText(), c.text);
        EXPECT_EQ(e.At(6).fontWeight() == QFont::Bold, c.bold);
    }
}

} // namespace

namespace {

// Typing in the shown editor: the keys reach the text, and Ctrl+B bolds the
// line selected with Shift+Home.
TEST(RichTextEditor, KeyboardSelectsAndBolds)
{
    TRichTextLabelEditor editor;
    editor.show();
    editor.prepareToShow();
    TRichTextEdit* edit = editor.WPRichText1();
    QTest::keyClicks(edit->viewport(), "Jane");
    QTest::keyClick(edit->viewport(), Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(edit->TextItem()->textCursor().selectedText(), "Jane");
    editor.findChild<QToolButton*>("BoldButton")->animateClick();
    QTest::qWait(200);
    QTextCursor c(&edit->Document());
    c.setPosition(2);
    EXPECT_EQ(edit->Document().toPlainText(), "Jane");
    EXPECT_EQ(c.charFormat().fontWeight(), QFont::Bold);
}

} // namespace
