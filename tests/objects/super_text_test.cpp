#include "core/object_stream.h"
#include "core/rounding.h"
#include "fake_parent.h"
#include "objects/card_filer.h"
#include "objects/class_registry.h"
#include "objects/stream_error.h"
#include "objects/supertext/super_text.h"
#include "objects/supertext/super_text_dialog.h"
#include "objects/symbol_label.h"
#include "core/symbol_fonts.h"
#include <QListWidget>
#include "report/printer_report.h"
#include "report/recording_report.h"
#include "shapes_helpers.h"
#include "stream_bytes.h"
#include "support/scripted_modal.h"
#include "pdf_text.h"
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace cardora;
using namespace cardora::test;

namespace {

using ST = TQSuperText;

struct SuperTextFixture : ::testing::Test {
    FakeParent parent;
    std::shared_ptr<ScriptedModal> modal;

    void SetUp() override
    {
        modal = ScriptedModal::Install();
        RegisterCardClass<TQSuperText>();
    }
    void TearDown() override { SetModalHandler(nullptr); }

    TQSuperText* make(int width, int height, const QString& caption)
    {
        auto* t = new TQSuperText(&parent.Owner);
        parent.Adopt(t);
        t->Loaded();
        t->SetBounds(10, 10, width, height);
        t->SetCaption(caption);
        return t;
    }
};

// A glyph that is one solid block, so fills can be checked along a row.
const QString kBlock = QString(QChar(0x2588));

bool IsRed(QRgb c) { return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60; }
bool IsGreen(QRgb c) { return qGreen(c) > 200 && qRed(c) < 60 && qBlue(c) < 60; }
bool IsBlack(QRgb c) { return qRed(c) < 60 && qGreen(c) < 60 && qBlue(c) < 60; }

// Left half red, right half green.
QImage HalfTile(int size)
{
    QImage tile(size, size, QImage::Format_RGB32);
    tile.fill(QColor(255, 0, 0));
    QPainter p(&tile);
    p.fillRect(size / 2, 0, size - size / 2, size, QColor(0, 255, 0));
    return tile;
}

// Lengths of the runs of `match` along row y from x0 to x1.
std::vector<int> Runs(const QImage& image, int y, int x0, int x1, bool (*match)(QRgb))
{
    std::vector<int> runs;
    int n = 0;
    for (int x = x0; x < x1; ++x) {
        if (match(image.pixel(x, y))) {
            ++n;
        } else if (n) {
            runs.push_back(n);
            n = 0;
        }
    }
    if (n)
        runs.push_back(n);
    return runs;
}

} // namespace

TEST_F(SuperTextFixture, LayoutMarginsShadowAndTheHeightPull)
{
    struct Case {
        ShadowDirection orientation;
        int depth;
        bool transparent;
        LabelBorder border;
        int height; // before layout
        QPoint main, shadow;
        const char* heightRule; // "pulled", "grown", "kept"
    };
    const Case cases[] = {
        { ShadowDirection::Left, 4, true, LabelBorder::NoBorder, 40, { 9, 0 }, { 5, 0 }, "pulled" },
        { ShadowDirection::DownRight, 4, true, LabelBorder::NoBorder, 40, { 5, 0 }, { 9, 4 }, "pulled" },
        { ShadowDirection::DownLeft, 3, true, LabelBorder::NoBorder, 400, { 8, 0 }, { 5, 3 }, "pulled" },
        { ShadowDirection::NoShadow, 4, true, LabelBorder::NoBorder, 400, { 5, 0 }, { 5, 0 }, "pulled" },
        // A filled or framed box keeps a larger height and only grows.
        { ShadowDirection::Right, 2, false, LabelBorder::NoBorder, 400, { 5, 0 }, { 7, 0 }, "kept" },
        { ShadowDirection::Right, 2, true, LabelBorder::Single, 400, { 5, 0 }, { 7, 0 }, "kept" },
        { ShadowDirection::Right, 2, false, LabelBorder::NoBorder, 5, { 5, 0 }, { 7, 0 }, "grown" },
    };
    for (const Case& k : cases) {
        const std::string what = std::to_string(int(k.orientation)) + "/" + std::to_string(k.depth) + " h" + std::to_string(k.height);
        auto* t = new TQSuperText(&parent.Owner);
        parent.Adopt(t);
        t->Loaded();
        t->SetCaption("Ab");
        t->SetShadowOrientation(k.orientation);
        t->SetShadowDepth(k.depth);
        t->SetControlTransparent(k.transparent);
        t->SetBorderStyle(k.border);
        t->SetBounds(0, 0, 300, k.height);
        t->CalcLayout();
        EXPECT_EQ(t->Layout().mainOrigin, k.main) << what;
        EXPECT_EQ(t->Layout().shadowOrigin, k.shadow) << what;
        const int th = CaptionText(t->LetterFont().Name(), t->ShownFont(), "Ab").CellHeight();
        const int f = std::abs(t->Layout().shadowOffset.y()) + th;
        const std::string rule = k.heightRule;
        if (rule == "pulled") {
            EXPECT_GE(t->Height(), f) << what;
            EXPECT_LE(t->Height(), int(1.2 * f)) << what;
        } else if (rule == "kept") {
            EXPECT_EQ(t->Height(), k.height) << what;
        } else {
            EXPECT_EQ(t->Height(), f) << what;
        }
    }
}

TEST_F(SuperTextFixture, TextIsCutToTheBoxAndTooNarrowABoxIsCrossed)
{
    TQSuperText* t = make(40, 60, "Headline of the card");
    t->SetControlTransparent(false); // keep the height
    t->Font()->SetSize(12);
    t->CalcLayout();
    const QString shown = t->ShownText();
    const QFont font = t->ShownFont();
    // The leading characters that fit 40 - 5 pixels, and not one more.
    EXPECT_TRUE(QStringLiteral("Headline of the card").startsWith(shown));
    EXPECT_FALSE(shown.isEmpty());
    EXPECT_LE(QFontMetrics(font).horizontalAdvance(shown), 35);
    EXPECT_GT(QFontMetrics(font).horizontalAdvance(QStringLiteral("Headline of the card").left(shown.size() + 1)), 35);

    // A very long caption is cut the same way.
    t->SetCaption(QString(20000, QChar('W')));
    t->CalcLayout();
    const QString longShown = t->ShownText();
    ASSERT_FALSE(longShown.isEmpty());
    EXPECT_LE(QFontMetrics(font).horizontalAdvance(longShown), 35);
    EXPECT_GT(QFontMetrics(font).horizontalAdvance(longShown + "W"), 35);

    // Not even the first letter fits: a crossed box, no letters.
    t->Font()->SetSize(72);
    t->SetBounds(10, 10, 12, 60);
    t->CalcLayout();
    EXPECT_TRUE(t->ShownText().isEmpty());
    const QImage image = RenderObject(*t, 0);
    const int H = t->Height(); // grown to the letters' height
    EXPECT_TRUE(IsBlack(image.pixel(0, 0)));
    EXPECT_TRUE(IsBlack(image.pixel(11, H - 1)));
    EXPECT_TRUE(IsBlack(image.pixel(6, H / 2)) || IsBlack(image.pixel(5, H / 2))); // where the diagonals cross
    EXPECT_TRUE(IsFill(image.pixel(2, H / 2)));                                     // white box between the lines

    // And it prints nothing at all.
    TPageMetrics m;
    m.paperInches = QSizeF(2, 2);
    m.xDpi = m.yDpi = 300;
    TRecordingReport report(m);
    report.OnPrint = [&](TReport& r) { t->PrintAtResolution(r, 0, 0, 96, 1 << 24); };
    ASSERT_TRUE(report.Execute());
    EXPECT_EQ(CountIn(report.RenderPage(0), IsBlack, QRect(0, 0, 600, 600)), 0);
}

TEST_F(SuperTextFixture, SurfacesFillTheLettersOnScreen)
{
    // What a pixel inside the letters shows, by surface: the font colour,
    // the gradient of the whole box at that place, or the page behind.
    for (const ST::Surface surface : { ST::Surface::Normal, ST::Surface::Gradient, ST::Surface::Transparent }) {
        TQSuperText* t = make(200, 80, kBlock + kBlock + kBlock);
        t->Font()->SetName("DejaVu Sans");
        t->Font()->SetSize(40);
        t->Font()->SetColor(clRed);
        t->SetOutlineStyle(PenStyle::Clear);
        t->SetSurfaceType(surface);
        t->SetBounds(10, 10, 200, 80);
        t->CalcLayout();
        const QImage image = RenderObject(*t, 0);
        const QRect block = t->TextPath(t->ShownText(), t->Layout().mainOrigin).boundingRect().toAlignedRect();
        const int y = block.center().y();
        for (const int x : { block.left() + 3, block.center().x(), block.right() - 3 }) {
            const QRgb expected = surface == ST::Surface::Normal ? qRgb(255, 0, 0)
                : surface == ST::Surface::Gradient           ? t->GradientBitmap().pixel(x, y)
                                                          : kPage.rgb();
            EXPECT_EQ(image.pixel(x, y), expected) << int(surface) << " x " << x;
        }
        // Outside the letters the page shows.
        EXPECT_TRUE(IsPage(image.pixel(2, 2))) << int(surface);
    }
    // The default gradient runs from blue at the left to yellow at the right.
    TQSuperText* t = make(256, 40, "x");
    EXPECT_EQ(t->GradientBitmap().pixel(0, 20), qRgb(0, 0, 255));
    EXPECT_EQ(t->GradientBitmap().pixel(255, 20), qRgb(255, 255, 0));
}

TEST_F(SuperTextFixture, TilesStartAtTheBoxTheOutlineKeepsItsWidthAndTheShadowItsDepth)
{
    struct Case {
        int tile, outline, depth;
    };
    for (const Case c : { Case { 8, 2, 5 }, Case { 12, 3, 3 } }) {
        SCOPED_TRACE(c.tile);
        auto* t = new TQSuperText(&parent.Owner);
        parent.Adopt(t);
        t->Loaded();
        t->SetCaption(kBlock + kBlock + kBlock);
        t->Font()->SetName("DejaVu Sans");
        t->Font()->SetSize(30);
        t->SetSurfaceType(ST::Surface::Image);
        const QImage tile = HalfTile(c.tile);
        t->SetImage(&tile);
        t->SetOutlineStyle(PenStyle::Clear);
        t->SetBounds(0, 0, 400, 200);
        t->CalcLayout();
        QImage image = RenderObject(*t, 0);
        const QRect block = t->TextPath(t->ShownText(), t->Layout().mainOrigin).boundingRect().toAlignedRect();
        // Tiles start at the box's corner: red and green alternate every half tile.
        const std::vector<int> reds = Runs(image, block.center().y(), block.left() + 12, block.right() - 12, IsRed);
        ASSERT_GE(reds.size(), 2u);
        EXPECT_EQ(reds[1], c.tile / 2);

        t->SetSurfaceType(ST::Surface::Transparent);
        t->SetOutlineStyle(PenStyle::Solid);
        t->SetOutlineWidth(c.outline);
        image = RenderObject(*t, 0);
        const std::vector<int> ink = Runs(image, block.center().y(), 0, block.left() + 10, IsBlack);
        ASSERT_FALSE(ink.empty());
        EXPECT_NEAR(ink.front(), c.outline, 1);

        // The shadow lies its depth below and to the right.
        t->SetShadowDepth(c.depth);
        t->SetShadowcolor(clGreen);
        t->SetOutlineStyle(PenStyle::Clear);
        t->SetSurfaceType(ST::Surface::Normal);
        t->CalcLayout();
        EXPECT_EQ(t->Layout().shadowOrigin - t->Layout().mainOrigin, QPoint(c.depth, c.depth));
    }
}

TEST_F(SuperTextFixture, SetterSideEffects)
{
    TQSuperText* t = make(200, 60, "Side");
    const QImage tile = HalfTile(4);
    // A transparent surface with no outline would hide the letters: the outline comes back.
    t->SetOutlineStyle(PenStyle::Clear);
    t->SetSurfaceType(ST::Surface::Transparent);
    EXPECT_EQ(t->OutlineStyle(), PenStyle::Solid);
    // Leaving the texture loses it.
    t->SetSurfaceType(ST::Surface::Image);
    t->SetImage(&tile);
    EXPECT_FALSE(t->Image().isNull());
    t->SetSurfaceType(ST::Surface::Normal);
    EXPECT_TRUE(t->Image().isNull());
    // A giant box from a damaged file keeps a bounded gradient, stretched over it.
    t->SetBounds(0, 0, 30000, 20000);
    EXPECT_LE(t->GradientBitmap().width(), 4096);
    EXPECT_LE(t->GradientBitmap().height(), 4096);
    // The gradient follows the box and the colours.
    t->SetSurfaceType(ST::Surface::Gradient);
    t->SetBounds(0, 0, 256, 40);
    EXPECT_EQ(t->GradientBitmap().size(), QSize(256, 40));
    t->SetGradientFromColor(clRed);
    EXPECT_TRUE(IsRed(t->GradientBitmap().pixel(0, 0)));
    EXPECT_FALSE(IsRed(t->GradientBitmap().pixel(255, 0)));
    t->SetFillDirection(FillDirection::Up); // From at the bottom
    EXPECT_TRUE(IsRed(t->GradientBitmap().pixel(0, 39)));
    EXPECT_FALSE(IsRed(t->GradientBitmap().pixel(0, 0)));
}

TEST_F(SuperTextFixture, SavedAndReadBackUnchangedWithItsTexture)
{
    TQSuperText* t = make(220, 70, "Saved");
    t->SetName("Component0");
    const std::vector<std::function<void(TQSuperText&)>> changes = {
        [](TQSuperText&) {},
        [](TQSuperText& o) {
            o.SetShadowDepth(4);
            o.SetShadowOrientation(ShadowDirection::Left);
            o.SetShadowcolor(0x102030);
            o.SetFillDirection(FillDirection::Down);
            o.SetGradientFromColor(clRed);
            o.SetGradientToColor(clLime);
        },
        [](TQSuperText& o) {
            o.SetSurfaceType(ST::Surface::Image);
            const QImage tile = HalfTile(6);
            o.SetImage(&tile);
            o.SetLastBitmapFileNameandPath("/textures/half.bmp");
            o.SetOutlineStyle(PenStyle::Dash);
            o.SetOutlineWidth(3);
            o.SetBorderStyle(LabelBorder::Single);
            o.SetControlTransparent(false);
            o.SetBGColor(clSilver);
        },
    };
    for (size_t i = 0; i < changes.size(); ++i) {
        changes[i](*t);
        const QByteArray bytes = TQLabelObjectFiler::WriteObjects({ t });
        FakeParent other;
        TQLabelObjectFiler filer;
        const auto read = filer.ReadObjects(bytes, &other.Owner, &other, other.AdoptFunction());
        ASSERT_EQ(read.size(), 1u) << i;
        auto* back = qobject_cast<TQSuperText*>(read.front());
        ASSERT_NE(back, nullptr) << i;
        EXPECT_EQ(TQLabelObjectFiler::WriteObjects({ back }), bytes) << i;
        EXPECT_EQ(RenderObject(*back), RenderObject(*t)) << i;
    }
    QStringList paths;
    for (const StoredEntry& e : StoredEntries(*t))
        paths << e.path;
    EXPECT_TRUE(paths.contains("Image.Data"));
    EXPECT_TRUE(paths.contains("SurfaceType"));

    // A texture whose bytes are not a bitmap fails the read with the reader's message.
    QByteArray bytes = TQLabelObjectFiler::WriteObjects({ t });
    const qsizetype at = bytes.indexOf("BM");
    ASSERT_GT(at, 0);
    bytes[at] = 'X';
    FakeParent other;
    TQLabelObjectFiler filer;
    try {
        filer.ReadObjects(bytes, &other.Owner, &other, other.AdoptFunction());
        ADD_FAILURE() << "read a damaged bitmap";
    } catch (const EStreamError& e) {
        EXPECT_EQ(e.Message(), "Bitmap image is not valid");
    }
}

TEST_F(SuperTextFixture, PropertiesDialogWorksOnThePreview)
{
    TQSuperText* t = make(300, 90, "Original");
    t->CalcLayout();
    const QImage before = RenderObject(*t);

    // Cancel changes nothing.
    modal->dialogs.push_back([](QDialog& d) {
        auto& p = static_cast<TSuperTextProperties&>(d);
        p.CaptionText()->setText("Tried");
        p.SurfaceTypeCombo()->setCurrentIndex(int(ST::Surface::Normal));
        return int(mrCancel);
    });
    EXPECT_FALSE(t->EditProperties());
    EXPECT_EQ(RenderObject(*t), before);

    std::vector<QString> panels;
    modal->dialogs.push_back([&](QDialog& d) {
        auto& p = static_cast<TSuperTextProperties&>(d);
        EXPECT_EQ(p.CaptionText()->text(), "Original");
        panels.push_back(p.VisibleFillPanel());
        // Typing marks a refit; the timer's next tick fits the preview once.
        p.CaptionText()->setText("Much longer headline");
        EXPECT_TRUE(p.RefitPending());
        const int widthBefore = p.Preview()->Width();
        p.Timer1Timer();
        EXPECT_FALSE(p.RefitPending());
        EXPECT_GT(p.Preview()->Width(), widthBefore);
        // Each surface shows its own panel.
        for (ST::Surface s :
            { ST::Surface::Normal, ST::Surface::Transparent, ST::Surface::Image, ST::Surface::Gradient }) {
            p.SurfaceTypeCombo()->setCurrentIndex(int(s));
            panels.push_back(p.VisibleFillPanel());
        }
        p.findChild<QComboBox*>("ShadowOrientationCombo")->setCurrentIndex(int(ShadowDirection::Down));
        p.findChild<QSpinBox*>("ShadowDepthSpinner")->setValue(3);
        p.findChild<QComboBox*>("OutlineStyleCombo")->setCurrentIndex(int(PenStyle::Dot));
        p.findChild<QSpinBox*>("OutLineWidthSpinner")->setValue(2);
        // Empty text: told, and the dialog stays open.
        p.CaptionText()->clear();
        p.findChild<QPushButton*>("OkButton")->click();
        EXPECT_EQ(p.result(), 0);
        p.CaptionText()->setText("Final");
        p.findChild<QPushButton*>("OkButton")->click();
        return p.result();
    });
    EXPECT_TRUE(t->EditProperties());
    EXPECT_EQ(panels, std::vector<QString>({ "FillPanel", "FontcolorPanel", "", "ImagePanel", "FillPanel" }));
    ASSERT_EQ(modal->messages.size(), 1u);
    EXPECT_EQ(modal->messages[0].text, "Please enter some text");
    EXPECT_EQ(t->Caption(), "Final");
    EXPECT_EQ(t->ShadowOrientation(), ShadowDirection::Down);
    EXPECT_EQ(t->ShadowDepth(), 3);
    EXPECT_EQ(t->OutlineStyle(), PenStyle::Dot);
    EXPECT_EQ(t->OutlineWidth(), 2);
    // The box keeps its size; the preview's refits stay in the dialog.
    EXPECT_EQ(t->Width(), 300);
}

TEST_F(SuperTextFixture, TextureComesBackWhenTheSurfaceReturnsToTexture)
{
    TQSuperText* t = make(300, 90, "Tiles");
    const QImage tile = HalfTile(6);
    t->SetSurfaceType(ST::Surface::Image);
    t->SetImage(&tile);
    TSuperTextProperties d;
    d.Setup(*t);
    EXPECT_EQ(d.LastUsedImage(), tile);
    d.SurfaceTypeCombo()->setCurrentIndex(int(ST::Surface::Gradient));
    EXPECT_TRUE(d.Preview()->Image().isNull());
    d.SurfaceTypeCombo()->setCurrentIndex(int(ST::Surface::Image));
    EXPECT_EQ(d.Preview()->Image(), tile);
}

TEST_F(SuperTextFixture, PrintedLettersTakeTheirFillAndTheShadowIsText)
{
    TQSuperText* t = make(300, 90, kBlock + kBlock + kBlock + kBlock);
    t->Font()->SetName("DejaVu Sans");
    t->Font()->SetSize(36);
    t->SetOutlineStyle(PenStyle::Clear);
    t->SetBounds(48, 24, 300, 90);
    t->CalcLayout();
    const QRect block = t->TextPath(t->ShownText(), t->Layout().mainOrigin).boundingRect().toAlignedRect();

    // 300 dpi, card at (0.5, 0.25) inch. Whatever margin the printer cannot
    // reach, each place of the letters takes the colour it has on screen.
    const QImage screen = RenderObject(*t, 0);
    const int y = block.center().y();
    for (const double margin : { 0.0, 0.25, 0.4 }) {
        TPageMetrics m;
        m.paperInches = QSizeF(5, 3);
        m.xDpi = m.yDpi = 300;
        m.unprintableInches = QMarginsF(margin, margin, 0, 0);
        TRecordingReport report(m);
        report.OnPrint = [&](TReport& r) { t->PrintAtResolution(r, 0.5, 0.25, 96, 1 << 24); };
        ASSERT_TRUE(report.Execute());
        const QImage page = report.RenderPage(0);
        const double k = 300.0 / 96.0;
        for (const int x : { block.left() + 4, block.center().x(), block.right() - 4 }) {
            const QRgb want = screen.pixel(x, y);
            // The recorded page is the whole sheet.
            const QRgb got = page.pixel(Round(0.5 * 300 + (48 + x) * k), Round(0.25 * 300 + (24 + y) * k));
            EXPECT_NEAR(qRed(got), qRed(want), 8) << margin << " x " << x;
            EXPECT_NEAR(qGreen(got), qGreen(want), 8) << margin << " x " << x;
            EXPECT_NEAR(qBlue(got), qBlue(want), 8) << margin << " x " << x;
        }
    }

    // In a PDF the letters and their shadow are outlines, as the panel draws them.
    t->SetCaption("Headline");
    t->SetShadowDepth(3);
    t->Font()->SetName("Arial");
    const QString text = cardora::test::PrintedPdfText([&](TReport& r) { t->PrintAt(r, 1.0, 1.0); });
    EXPECT_FALSE(text.contains("Headline")) << text.toStdString();
}

TEST_F(SuperTextFixture, SymbolSelectorPutsOneSymbolInTheText)
{
    TQSuperText* t = make(300, 90, "Text");
    TSuperTextProperties d;
    d.Setup(*t);
    QStringList offered;
    modal->dialogs.push_back([&](QDialog& picker) {
        auto& g = static_cast<TGetSymbol&>(picker);
        for (int i = 0; i < g.SymbolSets()->count(); ++i)
            offered << g.SymbolSets()->itemText(i);
        // The Wingdings font comes first; its character 74 is chosen.
        EXPECT_TRUE(g.GridFontName().toUpper().contains("WINGDING")) << g.GridFontName().toStdString();
        g.SymbolList()->setCurrentRow(74 - 32);
        return int(mrOk);
    });
    d.chooseSymbol();
    EXPECT_EQ(offered, SymbolFontFamilies());
    EXPECT_EQ(d.CaptionText()->text(), TQSymbolLabel::CaptionForCode(74));
    EXPECT_TRUE(d.Preview()->LetterFont().Name().toUpper().contains("WINGDING"));
    // The symbol shows: the preview's letters are not empty.
    d.Preview()->CalcLayout();
    EXPECT_FALSE(d.Preview()->TextPath(d.Preview()->ShownText(), QPointF(0, 0)).isEmpty());
}

TEST_F(SuperTextFixture, AnEmptyFontNameFromAFileStillPrintsOnThePreview)
{
    TQSuperText* t = make(300, 80, "Headline");
    t->Font()->SetName("");
    t->SetShadowDepth(3);
    TPageMetrics m;
    m.paperInches = QSizeF(4, 2);
    m.xDpi = m.yDpi = 150;
    TRecordingReport report(m);
    report.OnPrint = [&](TReport& r) { t->PrintAtResolution(r, 0, 0, 96, 256); };
    ASSERT_TRUE(report.Execute());
    EXPECT_GT(CountIn(report.RenderPage(0), [](QRgb c) { return qGray(c) < 200; }, QRect(0, 0, 600, 300)), 100);
}
