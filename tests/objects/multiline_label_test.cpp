#include "core/object_stream.h"
#include "fake_parent.h"
#include "objects/card_filer.h"
#include "objects/class_registry.h"
#include "objects/multiline_label.h"
#include "support/scripted_modal.h"
#include "support/pixel_bounds.h"
#include <QAction>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <gtest/gtest.h>

using namespace cardora;
using namespace cardora::test;
using multiline_layout::WrapLines;

namespace {

using Label = TQMultiLineLabel;

bool IsDark(QRgb c) { return qGray(c) < 128; }

// The label painted on white with its box at the image's corner.
QImage Render(TQGraphicControl& o, int extraHeight = 0)
{
    QImage image(o.Width(), o.Height() + extraHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    o.PaintTo(p, 0, 0);
    return image;
}

// Bounds of the dark pixels (null when there are none).
QRect Ink(const QImage& image, QRect area = QRect()) { return cardora::test::MatchBounds(image, IsDark, area); }

QFontMetrics Arial13() { return QFontMetrics(TFont().ToQFont()); }

// A property entry: the short name, then the value bytes.
QByteArray Entry(const QByteArray& name, const QByteArray& value)
{
    return char(name.size()) + name + value;
}

QStringList Captions(const QMenu& menu)
{
    QStringList out;
    for (QAction* a : menu.actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

QAction* Item(QMenu& menu, const QString& caption)
{
    for (QAction* a : menu.actions()) {
        if (a->text() == caption)
            return a;
        if (a->menu())
            if (QAction* sub = Item(*a->menu(), caption))
                return sub;
    }
    return nullptr;
}

} // namespace

TEST(MultiLineWrap, BreaksAtTheLastSpaceThatFitsAndKeepsGivenBreaks)
{
    const QFontMetrics fm = Arial13();
    // Room for "alpha beta" but not for "alpha beta gamma".
    const int w = fm.horizontalAdvance("alpha beta") + 2;
    ASSERT_GT(fm.horizontalAdvance("alpha beta gamma"), w);
    EXPECT_EQ(WrapLines({ "alpha beta gamma" }, fm, w), QStringList({ "alpha beta ", "gamma" }));
    // Given breaks stay, empty lines included; short lines are left alone.
    EXPECT_EQ(WrapLines({ "one", "", "alpha beta gamma" }, fm, w), QStringList({ "one", "", "alpha beta ", "gamma" }));
    // Spaces at a break hang at the line's end, even when they would not fit.
    EXPECT_EQ(WrapLines({ "alpha beta      gamma" }, fm, w), QStringList({ "alpha beta      ", "gamma" }));
    // A line of spaces only never needs breaking.
    EXPECT_EQ(WrapLines({ QString(200, ' ') }, fm, 20), QStringList({ QString(200, ' ') }));

    // A word wider than the box breaks between characters, each piece as
    // long as fits.
    const int narrow = fm.horizontalAdvance("abcd");
    const QStringList pieces = WrapLines({ "abcdefghijkl xy" }, fm, narrow);
    ASSERT_GE(pieces.size(), 3);
    EXPECT_EQ(pieces.first(), "abcd");
    EXPECT_EQ(pieces.join(QString()), "abcdefghijkl xy");
    for (const QString& p : pieces)
        EXPECT_LE(fm.horizontalAdvance(p.trimmed()), narrow) << p.toStdString();

    // No room at all: one character per line, never a loop.
    EXPECT_EQ(WrapLines({ "abc" }, fm, 0), QStringList({ "a", "b", "c" }));
    EXPECT_EQ(WrapLines({ "abc" }, fm, -40), QStringList({ "a", "b", "c" }));

    // A very long line from a damaged card is wrapped in reasonable time.
    QString huge;
    for (int i = 0; i < 20000; ++i)
        huge += QStringLiteral("word ");
    QElapsedTimer t;
    t.start();
    const QStringList lines = WrapLines({ huge }, fm, 180);
    EXPECT_LT(t.elapsed(), 5000);
    EXPECT_EQ(lines.join(QString()), huge);
    EXPECT_GT(lines.size(), 1000);
}

TEST(MultiLineWrap, EditorTextSplitsIntoItems)
{
    using multiline_layout::SplitText;
    EXPECT_EQ(SplitText(""), QStringList());
    EXPECT_EQ(SplitText("a\nb\n"), QStringList({ "a", "b" }));
    EXPECT_EQ(SplitText("a\r\n\r\nb"), QStringList({ "a", "", "b" }));
    EXPECT_EQ(SplitText("\n"), QStringList({ "" }));
    EXPECT_EQ(SplitText("x\ry"), QStringList({ "x", "y" }));
}

TEST(MultiLineLabel, ConstructionDefaults)
{
    Label l;
    EXPECT_EQ(l.BoundsRect(), QRect(0, 0, 190, 33));
    EXPECT_EQ(l.Font()->Name(), "Arial");
    EXPECT_EQ(l.Font()->Size(), 10);
    EXPECT_FALSE(l.ParentFont());
    EXPECT_FALSE(l.WordWrap());
    EXPECT_FALSE(l.AutoSize());
    EXPECT_EQ(l.Alignment(), TextAlignment::LeftJustify);
    EXPECT_TRUE(l.Items().isEmpty());
    EXPECT_EQ(l.ClassName(), "TQMultiLineLabel");
}

TEST(MultiLineLabel, RewrapsAtOnceWhenTheBoxChanges)
{
    FakeParent panel;
    auto* l = new Label(&panel.Owner);
    panel.Adopt(l);
    l->SetBounds(10, 10, 300, 60);
    l->SetItems({ "alpha beta gamma", "second" });
    l->SetWordWrap(true);
    EXPECT_EQ(l->WrappedLines(), QStringList({ "alpha beta gamma", "second" }));

    const QFontMetrics fm = Arial13();
    // Narrow enough that "alpha beta" fits with the edit control's insets but "alpha beta gamma" does not.
    l->SetWidth(fm.horizontalAdvance("alpha beta") + multiline_layout::kWrapInsets + 2);
    EXPECT_EQ(l->WrappedLines(), QStringList({ "alpha beta ", "gamma", "second" }));
    // Widening joins the broken lines again.
    l->SetWidth(300);
    EXPECT_EQ(l->WrappedLines(), QStringList({ "alpha beta gamma", "second" }));

    // Turning wrap off draws Items again: the long line runs out of the
    // narrow box instead of a second line appearing.
    const int lh = l->LineHeight();
    l->SetBounds(0, 0, fm.horizontalAdvance("alpha beta") + 8, lh * 3);
    const QImage wrapped = Render(*l);
    EXPECT_FALSE(Ink(wrapped, QRect(0, 2 * lh, l->Width(), lh)).isNull()); // "second" on line 3
    l->SetWordWrap(false);
    const QImage plain = Render(*l);
    EXPECT_FALSE(Ink(plain, QRect(0, lh, l->Width(), lh)).isNull());      // "second" on line 2
    EXPECT_TRUE(Ink(plain, QRect(0, 2 * lh, l->Width(), lh)).isNull());
    EXPECT_NE(wrapped, plain);
}

TEST(MultiLineLabel, BlankPlaceholderForEmptyLabels)
{
    Label reference;
    reference.SetBounds(0, 0, 120, 60);
    Label l;
    l.SetBounds(0, 0, 120, 60);
    const int lh = l.LineHeight();

    // No lines: "<blank>" on the first line.
    reference.SetItems({ "<blank>" });
    const QImage empty = Render(l);
    EXPECT_FALSE(Ink(empty).isNull());
    EXPECT_EQ(empty, Render(reference));

    // One line of spaces: the spaces, then "<blank>" on the second line.
    l.SetItems({ "    " });
    reference.SetItems({ "    ", "<blank>" });
    const QImage spaces = Render(l);
    EXPECT_EQ(spaces, Render(reference));
    EXPECT_TRUE(Ink(spaces, QRect(0, 0, 120, lh)).isNull());
    EXPECT_FALSE(Ink(spaces, QRect(0, lh, 120, lh)).isNull());

    // Two empty lines are a real text: nothing is drawn.
    l.SetItems({ "", "" });
    EXPECT_TRUE(Ink(Render(l)).isNull());
    // Wrapping does not change the rule.
    l.SetItems({});
    l.SetWordWrap(true);
    EXPECT_EQ(Render(l), empty);
}

TEST(MultiLineLabel, AlignmentOffsetsAreOnePixelFromExact)
{
    Label l;
    l.SetBounds(0, 0, 191, 20);
    l.SetItems({ "Hi" });
    const int d = QFontMetrics(l.ShownFont()).horizontalAdvance("Hi");
    const QRect left = Ink(Render(l));
    ASSERT_FALSE(left.isNull());

    l.SetAlignment(TextAlignment::RightJustify);
    const QRect right = Ink(Render(l));
    // The line starts at width - d - 1: one pixel stays free at the right.
    EXPECT_EQ(right.left() - left.left(), 191 - d - 1);
    EXPECT_EQ(right.top(), left.top());

    l.SetAlignment(TextAlignment::Center);
    const QRect centre = Ink(Render(l));
    // (191 div 2) - (d div 2) + 1: one pixel right of the exact middle.
    EXPECT_EQ(centre.left() - left.left(), 95 - d / 2 + 1);

    // Each line is placed by its own width.
    l.SetBounds(0, 0, 191, 40);
    l.SetItems({ "Hi", "Hello there" });
    const int lh = l.LineHeight();
    const int d2 = QFontMetrics(l.ShownFont()).horizontalAdvance("Hello there");
    l.SetAlignment(TextAlignment::LeftJustify);
    const QRect leftLine2 = Ink(Render(l), QRect(0, lh, 191, lh));
    l.SetAlignment(TextAlignment::RightJustify);
    const QImage two = Render(l);
    EXPECT_EQ(Ink(two, QRect(0, 0, 191, lh)), right);
    EXPECT_EQ(Ink(two, QRect(0, lh, 191, lh)).left() - leftLine2.left(), 191 - d2 - 1);
}

TEST(MultiLineLabel, FitToLinesSetsHeightToLineCountAndOnlyGrowsWidth)
{
    FakeParent panel;
    auto* l = new Label(&panel.Owner);
    panel.Adopt(l);
    const int lh = l->LineHeight();
    const QFontMetrics fm = Arial13();

    // Wider than every line: width kept, height exactly 3 lines (smaller than before).
    l->SetBounds(5, 7, 400, 200);
    l->SetItems({ "a", "bb", "ccc" });
    l->FitToLines();
    EXPECT_EQ(l->BoundsRect(), QRect(5, 7, 400, 3 * lh));

    // Narrower than the widest line: the width grows to it.
    l->SetBounds(5, 7, 20, 10);
    l->SetItems({ "short", "a much longer line" });
    l->FitToLines();
    EXPECT_EQ(l->BoundsRect(), QRect(5, 7, fm.horizontalAdvance("a much longer line"), 2 * lh));

    // With word wrap the wrapped lines count.
    l->SetBounds(5, 7, fm.horizontalAdvance("alpha beta") + multiline_layout::kWrapInsets + 2, 10);
    l->SetItems({ "alpha beta gamma" });
    l->SetWordWrap(true);
    l->FitToLines();
    EXPECT_EQ(l->WrappedLines().size(), 2);
    EXPECT_EQ(l->Height(), 2 * lh);

    // An empty label keeps one line so that its "<blank>" stays visible.
    l->SetWordWrap(false);
    l->SetItems({});
    l->FitToLines();
    EXPECT_EQ(l->Height(), lh);
}

TEST(MultiLineLabel, MenusAndCommands)
{
    auto modal = ScriptedModal::Install();
    FakeParent panel;
    auto* l = new Label(&panel.Owner);
    panel.Adopt(l);
    l->Loaded();
    QMenu& menu = *l->ObjectMenu();
    EXPECT_EQ(Captions(menu),
        QStringList({ "Bring To Front", "Send To Back", "Cut", "Copy", "Delete", "Clone", "-", "Locked",
            "Unselectable", "-", "Center Vertically", "Center Horizontally", "-", "Font", "Alignment", "-",
            "Text", "Word Wrap" }));
    QMenu* alignment = Item(menu, "Alignment")->menu();
    ASSERT_NE(alignment, nullptr);
    EXPECT_EQ(Captions(*alignment), QStringList({ "Left", "Center", "Right" }));

    // Alignment items set the property, notify, and are ticked on opening.
    const int before = panel.ChangedCount;
    Item(menu, "Right")->trigger();
    EXPECT_EQ(l->Alignment(), TextAlignment::RightJustify);
    EXPECT_EQ(panel.ChangedCount, before + 1);
    l->PopupOpening();
    EXPECT_TRUE(Item(menu, "Right")->isChecked());
    EXPECT_FALSE(Item(menu, "Left")->isChecked());
    Item(menu, "Center")->trigger();
    l->PopupOpening();
    EXPECT_TRUE(Item(menu, "Center")->isChecked());
    EXPECT_FALSE(Item(menu, "Right")->isChecked());

    // Word Wrap toggles and follows with its tick.
    QAction* wrap = Item(menu, "Word Wrap");
    wrap->trigger();
    EXPECT_TRUE(l->WordWrap());
    EXPECT_TRUE(wrap->isChecked());
    wrap->trigger();
    EXPECT_FALSE(l->WordWrap());
    EXPECT_FALSE(wrap->isChecked());

    // Font: the chosen font is taken; with wrap on, the lines are wrapped in it.
    l->SetBounds(0, 0, 120, 40);
    l->SetItems({ "alpha beta gamma delta epsilon" });
    l->SetWordWrap(true);
    const int smallCount = static_cast<int>(l->WrappedLines().size());
    QFont big("Times New Roman");
    big.setPointSize(20);
    big.setBold(true);
    modal->fonts.push_back(big);
    const int changed = panel.ChangedCount;
    Item(menu, "Font")->trigger();
    EXPECT_EQ(l->Font()->Name(), "Times New Roman");
    EXPECT_EQ(l->Font()->Size(), 20);
    EXPECT_EQ(l->Font()->Style() & FontStyle::Bold, FontStyle::Bold);
    EXPECT_GT(panel.ChangedCount, changed);
    EXPECT_GT(l->WrappedLines().size(), smallCount);
    // Cancelling the font dialog changes nothing.
    Item(menu, "Font")->trigger();
    EXPECT_EQ(l->Font()->Size(), 20);

    // The panel's Font command.
    QFont arial("Arial");
    arial.setPointSize(8);
    l->ApplyFont(FontChoice { arial, QColor() });
    EXPECT_EQ(l->Font()->Name(), "Arial");
    EXPECT_EQ(l->Font()->Size(), 8);
    EXPECT_EQ(l->WrappedLines().size(), 1 + (QFontMetrics(l->ShownFont()).horizontalAdvance(l->Items()[0])
                                                > 120 - multiline_layout::kWrapInsets));
    SetModalHandler(nullptr);
}

TEST(MultiLineLabel, CardFileRoundTripIsByteForByte)
{
    RegisterCardClass<TQMultiLineLabel>();
    FakeParent panel;
    auto* full = new Label(&panel.Owner);
    panel.Adopt(full);
    full->SetName("Component0");
    full->SetBounds(12, 20, 200, 45);
    full->SetItems({ "Jane Doe", "", "  12 Long Street  ", QString(300, 'x') });
    full->SetAlignment(TextAlignment::Center);
    full->Font()->SetName("Times New Roman");
    full->Font()->SetColor(clNavy);
    full->SetWordWrap(true);
    full->SetAutoSize(true);
    auto* empty = new Label(&panel.Owner);
    panel.Adopt(empty);
    empty->SetName("Component1");
    empty->SetBounds(0, 0, 190, 33);

    const QByteArray first = TQLabelObjectFiler::WriteObjects({ full, empty });
    // The lines as a list of texts; a line of 256 or more characters as a long text.
    QByteArray items;
    items += char(13);
    items += "Items.Strings";
    items += char(0x01);
    items += char(0x06);
    items += char(8);
    items += "Jane Doe";
    items += char(0x06);
    items += char(0);
    items += char(0x06);
    items += char(18);
    items += "  12 Long Street  ";
    items += char(0x0C);
    items += QByteArray("\x2C\x01\x00\x00", 4);
    items += QByteArray(300, 'x');
    items += char(0x00);
    EXPECT_TRUE(first.contains(items));
    // Only the label with lines has the entry.
    EXPECT_EQ(first.count("Items.Strings"), 1);
    // AutoSize is always written; Alignment and WordWrap only when not the default.
    EXPECT_EQ(first.count(Entry("AutoSize", "\x08")), 1);
    EXPECT_EQ(first.count(Entry("AutoSize", "\x09")), 1);
    EXPECT_EQ(first.count(Entry("Alignment", QByteArray("\x07\x08") + "taCenter")), 1);
    EXPECT_EQ(first.count("taLeftJustify"), 0);
    EXPECT_EQ(first.count(Entry("WordWrap", "\x09")), 1);
    EXPECT_EQ(first.count("WordWrap"), 1);
    // The font always travels with the label.
    EXPECT_EQ(first.count("Font.Height"), 2);
    // Properties in stored order: the base ones, Items, AutoSize, Alignment, Font, WordWrap.
    const int at = first.indexOf("Items.Strings");
    EXPECT_LT(first.indexOf("Unselectable"), at);
    EXPECT_LT(at, first.indexOf("AutoSize"));
    EXPECT_LT(first.indexOf("AutoSize"), first.indexOf("Alignment"));
    EXPECT_LT(first.indexOf("Alignment"), first.indexOf("Font.Color"));
    EXPECT_LT(first.indexOf("Font.Color"), first.indexOf("WordWrap"));

    FakeParent other;
    TQLabelObjectFiler filer;
    const auto read = filer.ReadObjects(first, &other.Owner, &other, other.AdoptFunction());
    ASSERT_EQ(read.size(), 2u);
    auto* back = qobject_cast<Label*>(read[0]);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->Items(), full->Items());
    EXPECT_EQ(back->Alignment(), TextAlignment::Center);
    EXPECT_TRUE(back->WordWrap());
    EXPECT_TRUE(back->AutoSize());
    EXPECT_EQ(*back->Font(), *full->Font());
    EXPECT_EQ(back->BoundsRect(), full->BoundsRect());
    EXPECT_EQ(back->WrappedLines(), full->WrappedLines());
    EXPECT_TRUE(qobject_cast<Label*>(read[1])->Items().isEmpty());
    EXPECT_EQ(TQLabelObjectFiler::WriteObjects(read), first);
}

TEST(MultiLineLabel, DamagedValuesAreBounded)
{
    Label l;
    l.SetBounds(0, 0, 120, 40);
    l.SetItems({ "Big" });
    // A font height from a damaged card is drawn at a bounded size.
    l.Font()->SetHeight(-100000000);
    EXPECT_LE(l.ShownFont().pixelSize(), 2000);
    EXPECT_EQ(Render(l).size(), QSize(120, 40)); // painted (the letters lie below the box)
    l.Font()->SetHeight(-13);
    // Out-of-range alignments are refused.
    l.SetAlignment(static_cast<TextAlignment>(7));
    EXPECT_EQ(l.Alignment(), TextAlignment::LeftJustify);
    // Many lines: only those in the box are drawn.
    QStringList many;
    for (int i = 0; i < 200000; ++i)
        many << QStringLiteral("line %1").arg(i);
    l.SetItems(many);
    QElapsedTimer t;
    t.start();
    const QImage image = Render(l);
    EXPECT_LT(t.elapsed(), 2000);
    EXPECT_FALSE(Ink(image).isNull());
}
