#include "labels_helpers.h"
#include "core/rounding.h"
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

using namespace cardora;
using namespace cardora::test;

namespace {

// The glyph box of a symbol label's caption: 1.1 times its measured extent,
// measured here straight from the glyph the symbol fonts choose.
QSize GlyphBox(const TQSymbolLabel& label)
{
    const SymbolGlyph glyph = GlyphForCode(label.Font().Name(), label.Code(), label.ShownFont());
    const QFontMetrics m(glyph.font);
    return { Trunc(1.1 * m.horizontalAdvance(glyph.text)), Trunc(1.1 * m.height()) };
}

// A code the installed Wingdings clone draws itself, or -1.
int CodeDrawnByWingdings()
{
    QFont font("Wingdings");
    font.setPixelSize(32);
    for (int code = 33; code < 256; ++code)
        if (GlyphForCode("WingDings", code, font).font.family() == ResolveFontFamily("WingDings"))
            return code;
    return -1;
}

} // namespace

TEST_F(LabelsFixture, SymbolBoxHugsTheGlyphAndSnapsBack)
{
    auto* fresh = new TQSymbolLabel(&parent.Owner);
    EXPECT_EQ(fresh->Font()->Name(), "WingDings");
    EXPECT_EQ(fresh->Font()->Size(), 24);
    EXPECT_EQ(fresh->Caption(), "[");
    EXPECT_EQ(fresh->Code(), 91);

    auto* symbol = make<TQSymbolLabel>(10, 20, 142, 33);
    const QSize glyph = GlyphBox(*symbol);
    ASSERT_GT(glyph.width(), 10);
    EXPECT_EQ(symbol->BoundsRect(), QRect(QPoint(10, 20), glyph));
    // Dragging a handle: the box returns to the glyph at once, the place stays.
    symbol->SetBounds(30, 40, 300, 5);
    EXPECT_EQ(symbol->BoundsRect(), QRect(QPoint(30, 40), glyph));
    EXPECT_GT(parent.SyncCount, 0);
    // Painting runs the text label's fitting too; the glyph fit has the last word.
    RenderObject(*symbol);
    EXPECT_EQ(symbol->BoundsRect().size(), glyph);

    // Offsets to the right and below widen the box by as much.
    symbol->SetColorShadow(clRed);
    symbol->SetDepthShadow(4);
    RenderObject(*symbol);
    EXPECT_EQ(symbol->BoundsRect().size(), glyph + QSize(4, 4));
    const QImage image = RenderObject(*symbol, 0);
    EXPECT_GT(CountIn(image, IsInk, image.rect()), 20);
    EXPECT_GT(CountIn(image, IsPureRed, image.rect()), 5);

    // A larger font: about 1.1 times the larger glyph.
    symbol->SetDepthShadow(0);
    symbol->Font()->SetSize(36);
    symbol->BoundsChanged();
    RenderObject(*symbol);
    EXPECT_EQ(symbol->BoundsRect().size(), GlyphBox(*symbol));
    EXPECT_GT(symbol->Width(), glyph.width());

    // Off the panel nothing is fitted.
    TQSymbolLabel loose;
    loose.Loaded();
    loose.SetBounds(0, 0, 200, 200);
    EXPECT_EQ(loose.BoundsRect().size(), QSize(200, 200));
}

TEST_F(LabelsFixture, SymbolsDrawThroughTheSymbolFonts)
{
    auto* symbol = make<TQSymbolLabel>(0, 0, 40, 40);
    // Code 91 is missing from the Wingdings clone: a symbol font draws it, never "[".
    const CaptionText bracket = symbol->MeasuredText(symbol->Caption());
    ASSERT_EQ(bracket.Runs().size(), 1);
    EXPECT_NE(bracket.Runs().first().text, "[");
    EXPECT_TRUE(SymbolFallbackFamilies().contains(bracket.Runs().first().font.family()));
    const QImage image = RenderObject(*symbol, 0);
    EXPECT_GT(CountIn(image, IsInk, image.rect()), 20);

    // "WingDings" of the card file finds the installed Wingdings for its own glyphs.
    const int own = CodeDrawnByWingdings();
    ASSERT_GT(own, 0) << "the Wingdings clone is not installed";
    symbol->SetCaption(TQSymbolLabel::CaptionForCode(own));
    const CaptionText native = symbol->MeasuredText(symbol->Caption());
    ASSERT_EQ(native.Runs().size(), 1);
    EXPECT_EQ(native.Runs().first().font.family().toLower(), "wingdings");
    const QImage nativeImage = RenderObject(*symbol, 0);
    EXPECT_GT(CountIn(nativeImage, IsInk, nativeImage.rect()), 20);
}

TEST_F(LabelsFixture, PanelFontCommandLeavesSymbolsAlone)
{
    auto* symbol = make<TQSymbolLabel>(0, 0, 40, 40);
    auto* text = make<TQPLabel>(0, 50, 100, 20);
    const TFont before = *symbol->Font();
    const QRect box = symbol->BoundsRect();
    QFont chosen("Liberation Serif");
    chosen.setPointSize(30);
    for (TQGraphicControl* o : std::vector<TQGraphicControl*> { symbol, text })
        o->ApplyFont(FontChoice { chosen, QColor(Qt::red) });
    EXPECT_TRUE(*symbol->Font() == before);
    EXPECT_EQ(symbol->BoundsRect(), box);
    EXPECT_EQ(text->Font()->Name(), "Liberation Serif");
}

TEST_F(LabelsFixture, SymbolSelectorPicksCharacterAndFont)
{
    auto* symbol = make<TQSymbolLabel>(0, 0, 40, 40);
    struct Seen {
        QString title, button;
        int items = 0, row = -1, columns = 0;
        bool selectedCharHidden = false;
    } seen;
    QFont chosen("Webdings");
    chosen.setPointSize(30);
    chosen.setBold(true);
    chosen.setItalic(true);
    modal->fonts.push_back(chosen);
    QString buttonAfterFont;
    modal->dialogs.push_back([&](QDialog& d) {
        auto* dialog = qobject_cast<TGetSymbol*>(&d);
        auto* list = d.findChild<QListWidget*>("SymbolList");
        auto* button = d.findChild<QPushButton*>("Fontbutton");
        auto* selected = d.findChild<QLabel*>("SelectedChar");
        if (!dialog || !list || !button || !selected)
            return int(mrCancel);
        seen.title = d.windowTitle();
        seen.items = list->count();
        seen.row = list->currentRow();
        seen.button = button->text();
        seen.columns = dialog->Columns();
        seen.selectedCharHidden = selected->isHidden();
        button->click();
        buttonAfterFont = button->text();
        list->setCurrentRow(0x80 - 32);
        return int(mrOk);
    });
    symbol->SelectSymbol();
    EXPECT_EQ(seen.title, "Symbol Selector");
    EXPECT_EQ(seen.items, 224);
    EXPECT_EQ(seen.row, 91 - 32);
    EXPECT_EQ(seen.button, "WingDings, 20pt ");
    EXPECT_EQ(seen.columns, 10);
    EXPECT_TRUE(seen.selectedCharHidden);
    // Bold italic shows only the italic word.
    EXPECT_EQ(buttonAfterFont, "Webdings, 20pt Italic ");

    EXPECT_EQ(symbol->Code(), 0x80);
    EXPECT_EQ(symbol->Font()->Name(), "Webdings");
    EXPECT_EQ(symbol->Font()->Size(), 30);
    EXPECT_EQ(symbol->Font()->Style(), FontStyle::Bold | FontStyle::Italic);
    EXPECT_EQ(symbol->BoundsRect().size(), GlyphBox(*symbol));

    // Cancel changes nothing.
    modal->dialogs.push_back([](QDialog& d) {
        d.findChild<QListWidget*>("SymbolList")->setCurrentRow(0);
        return int(mrCancel);
    });
    symbol->SelectSymbol();
    EXPECT_EQ(symbol->Code(), 0x80);
}

TEST_F(LabelsFixture, SymbolSelectorCaptionAndColumns)
{
    TGetSymbol dialog;
    TFont font;
    font.SetName("Symbol");
    font.SetStyle(FontStyle::Bold);
    dialog.Setup(font, "a");
    EXPECT_EQ(dialog.FontButtonCaption(), "Symbol, 20pt Bold ");
    EXPECT_EQ(dialog.Fontbutton()->text(), "Symbol, 20pt Bold ");
    EXPECT_EQ(dialog.SelectedCode(), 'a');
    // A caption without a code selects nothing; Ok then keeps the caption.
    TGetSymbol empty;
    empty.Setup(font, "");
    EXPECT_EQ(empty.SelectedCode(), -1);

    const std::pair<int, int> table[] = { { 5, 1 }, { 6, 14 }, { 10, 14 }, { 11, 10 }, { 20, 10 }, { 21, 8 },
        { 30, 8 }, { 31, 6 }, { 40, 6 }, { 41, 4 }, { 50, 4 }, { 51, 3 }, { 60, 3 }, { 61, 2 }, { 72, 2 }, { 73, 1 } };
    for (const auto& [points, columns] : table)
        EXPECT_EQ(TGetSymbol::ColumnsForPointSize(points), columns) << points;
}

TEST_F(LabelsFixture, SymbolGridDrawsEachCodeInTheFont)
{
    TGetSymbol dialog;
    TFont font;
    font.SetName("WingDings");
    dialog.Setup(font, "[");
    dialog.show();
    QCoreApplication::processEvents();
    QListWidget* list = dialog.SymbolList();
    auto cellInk = [&](int code) {
        const QRect cell = list->visualItemRect(list->item(code - 32));
        const QImage image = list->viewport()->grab(cell).toImage();
        return CountIn(image, IsInk, image.rect());
    };
    EXPECT_EQ(cellInk(32), 0);      // the space
    EXPECT_GT(cellInk(92), 10);     // not selected, drawn from a symbol font
    EXPECT_GT(cellInk(CodeDrawnByWingdings()), 10);
    dialog.hide();
}
