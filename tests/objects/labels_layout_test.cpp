#include "labels_helpers.h"
#include <QFontMetrics>

using namespace cardora;
using namespace cardora::test;

namespace {

// b of the label's font, from the metrics directly.
int CellWithLeadings(const TQBaseLabel& label)
{
    const QFont f = label.ShownFont();
    const QFontMetrics m(f);
    return m.height() + (m.height() - f.pixelSize()) + m.leading();
}

} // namespace

TEST_F(LabelsFixture, ConstructionValues)
{
    auto* label = new TQPLabel(&parent.Owner);
    EXPECT_EQ(label->Width(), 142);
    EXPECT_EQ(label->Height(), 33);
    EXPECT_EQ(label->Caption(), "Text");
    EXPECT_EQ(label->Font()->Name(), "Arial");
    EXPECT_EQ(label->Font()->Size(), 10);
    EXPECT_TRUE(label->Transparent());
    EXPECT_EQ(label->BackColor(), clWhite);
    EXPECT_EQ(label->DirectionHighlight(), HighlightDirection::UpLeft);
    EXPECT_EQ(label->DirectionShadow(), ShadowDirection::DownRight);
    EXPECT_EQ(label->ColorHighlight(), 0xFFFF00);
    EXPECT_EQ(label->ColorShadow(), 0x808080);
    EXPECT_TRUE(label->LayoutDirty());
    EXPECT_EQ(label->Layout().shadowOffset, QPoint(0, 0));
    // The label keeps its own font when it goes onto a panel with another one.
    parent.Font.SetName("Courier New");
    parent.Adopt(label);
    EXPECT_EQ(label->Font()->Name(), "Arial");
    EXPECT_EQ(parent.ChangedCount, 0);
}

TEST_F(LabelsFixture, OffsetsFollowDepthAndDirectionAndDamagedValuesStayHarmless)
{
    // None, sideways, and the diagonal where shadow and highlight part ways.
    const struct {
        int direction;
        QPoint shadow, highlight;
    } cases[] = { { 0, { 0, 0 }, { 0, 0 } }, { 2, { -3, 0 }, { -3, 0 } }, { 3, { 3, 3 }, { 3, -3 } } };
    TQPLabel* label = make<TQPLabel>(0, 0, 142, 33);
    label->SetDepthShadow(3);
    label->SetDepthHighlight(3);
    for (const auto& c : cases) {
        label->SetDirectionShadow(static_cast<ShadowDirection>(c.direction));
        label->SetDirectionHighlight(static_cast<HighlightDirection>(c.direction));
        EXPECT_EQ(label->Layout().shadowOffset, c.shadow) << c.direction;
        EXPECT_EQ(label->Layout().highlightOffset, c.highlight) << c.direction;
    }
    // A depth from a damaged file does not overflow the arithmetic.
    label->SetDepthShadow(INT_MAX);
    label->SetDirectionShadow(ShadowDirection::DownRight);
    label->CalcLayout();
    EXPECT_GE(label->Height(), 1);
    EXPECT_LE(label->Layout().shadowOffset.x(), 100000);
    // So does a font height no card needs.
    label->Font()->SetHeight(-50000000);
    EXPECT_LE(label->ShownFont().pixelSize(), 2000);
    label->SetBounds(0, 0, 10, 10);
    label->CalcLayout();
    EXPECT_LE(label->Height(), 100000);
}

TEST_F(LabelsFixture, MarginsKeepEveryCopyInsideTheBox)
{
    TQPLabel* label = make<TQPLabel>(0, 0, 142, 33);
    // Default directions, both depths 2: text at (2,2), highlight at the corner, shadow at (4,4).
    label->SetDepthShadow(2);
    label->SetDepthHighlight(2);
    label->CalcLayout();
    const LabelLayout& L = label->Layout();
    const int b = CellWithLeadings(*label);
    EXPECT_EQ(L.b, b);
    EXPECT_EQ(L.textMargin, QPoint(2, 2));
    EXPECT_EQ(L.mainOrigin, QPoint(2, 2));
    EXPECT_EQ(L.highlightOrigin, QPoint(0, 0));
    EXPECT_EQ(L.shadowOrigin, QPoint(4, 4));
    EXPECT_EQ(L.l, b + 4);
    EXPECT_GE(label->Height(), b + 4);
    EXPECT_EQ(L.mainRect, (LabelRect { 2, 2, label->Width(), 2 + b }));
    EXPECT_EQ(L.shadowRect, L.mainRect.Moved(2, 2));
    EXPECT_EQ(L.highlightRect, L.mainRect.Moved(-2, -2));

    // Highlight 3 to the upper left alone: margin 3 on both axes.
    label->SetDepthShadow(0);
    label->SetDepthHighlight(3);
    label->CalcLayout();
    EXPECT_EQ(label->Layout().textMargin, QPoint(3, 3));
    EXPECT_EQ(label->Layout().highlightOrigin, QPoint(0, 0));

    // The larger of the two leftward offsets wins.
    label->SetDirectionShadow(ShadowDirection::Left);
    label->SetDepthShadow(5);
    label->SetDirectionHighlight(HighlightDirection::Left);
    label->SetDepthHighlight(2);
    label->CalcLayout();
    EXPECT_EQ(label->Layout().textMargin, QPoint(5, 0));
    EXPECT_EQ(label->Layout().shadowOrigin.x(), 0);
}

TEST_F(LabelsFixture, HeightStaysBetweenLAndOneFifthMore)
{
    TQPLabel* label = make<TQPLabel>(0, 0, 142, 33);
    label->SetDepthShadow(2);
    label->SetDirectionShadow(ShadowDirection::Down);
    label->CalcLayout();
    const int l = label->Layout().l;
    ASSERT_EQ(l, CellWithLeadings(*label) + 2);
    EXPECT_GE(label->Height(), l);
    EXPECT_LE(label->Height(), static_cast<int>(1.2 * l));

    label->SetHeight(200);
    label->CalcLayout();
    EXPECT_EQ(label->Height(), static_cast<int>(1.2 * l));
    label->SetHeight(3);
    label->CalcLayout();
    EXPECT_EQ(label->Height(), l);
    // A plain paint pulls a tall box back too.
    label->SetHeight(120);
    QImage image = RenderObject(*label);
    EXPECT_EQ(label->Height(), static_cast<int>(1.2 * l));
}

TEST_F(LabelsFixture, WidthRulesMeasureCaptionPlusOneSpace)
{
    TQPLabel* label = make<TQPLabel>(0, 0, 142, 33);
    label->SetCaption("Hi");
    label->SetWidth(5);
    label->CalcLayout();
    EXPECT_EQ(label->Layout().tw, ScreenWidth(*label, "Hi "));
    EXPECT_EQ(label->Width(), ScreenWidth(*label, "Hi "));

    // An empty caption measures as one space.
    label->SetCaption("");
    label->SetWidth(4);
    label->CalcLayout();
    const int space = ScreenWidth(*label, " ");
    ASSERT_GT(space, 0);
    EXPECT_EQ(label->Layout().tw, space);
    EXPECT_EQ(label->Width(), space);

    // A width of 6 is left alone.
    label->SetCaption("Wide caption");
    label->SetWidth(6);
    label->CalcLayout();
    EXPECT_EQ(label->Width(), 6);
}

TEST_F(LabelsFixture, UpsideDownBoxIsAtMostTwiceTheTextWide)
{
    TQPLabel* label = make<TQPLabel>(0, 0, 400, 20);
    label->SetCaption("Abc");
    label->SetAngle(180);
    label->CalcLayout();
    const int tw = ScreenWidth(*label, "Abc ");
    EXPECT_EQ(label->Width(), 2 * tw);
    // The copy's corner is its rectangle's right bottom, shifted left by one.
    const LabelLayout& L = label->Layout();
    EXPECT_EQ(L.mainRect.left, -1);
    EXPECT_EQ(L.mainRect.right, label->Width() - 1);
    EXPECT_EQ(L.mainOrigin, QPoint(L.mainRect.right, L.mainRect.bottom));
    // Narrower boxes keep their width.
    label->SetWidth(tw + 3);
    label->CalcLayout();
    EXPECT_EQ(label->Width(), tw + 3);
}

TEST_F(LabelsFixture, AngleChangesSwapWidthAndHeight)
{
    TQPLabel* label = make<TQPLabel>(10, 10, 142, 33);
    label->SetAngle(45);
    EXPECT_EQ(label->Angle(), 0);
    EXPECT_EQ(label->BoundsRect().size(), QSize(142, 33));

    label->SetAngle(90);
    EXPECT_EQ(label->Angle(), 90);
    EXPECT_EQ(label->BoundsRect().size(), QSize(33, 142));
    label->CalcLayout();
    const LabelLayout& L = label->Layout();
    EXPECT_GE(label->Width(), L.l);
    EXPECT_LE(label->Width(), static_cast<int>(1.2 * L.l));
    EXPECT_LE(label->Height(), static_cast<int>(1.2 * L.tw));
    // Upward text: the reference point is the rectangle's left bottom.
    EXPECT_EQ(L.mainOrigin, QPoint(L.mainRect.left, L.mainRect.bottom));

    // 90 to 270 keeps the tall box; 270 to 0 lays it down again.
    const QSize tall = label->BoundsRect().size();
    label->SetAngle(270);
    EXPECT_EQ(label->BoundsRect().size(), tall);
    label->CalcLayout();
    EXPECT_EQ(label->Layout().mainOrigin, QPoint(label->Layout().mainRect.right, label->Layout().mainRect.top));
    label->SetAngle(0);
    EXPECT_GT(label->Width(), label->Height());
}

TEST_F(LabelsFixture, RotationResetsCentring)
{
    TQPLabel* label = make<TQPLabel>(0, 0, 142, 33);
    label->SetAlignment(TextAlignment::Center);
    label->CalcLayout();
    const LabelLayout& L = label->Layout();
    EXPECT_EQ(L.mainOrigin.x(), (L.mainRect.right - L.mainRect.left) / 2 - L.tw / 2);
    label->SetAngle(90);
    EXPECT_EQ(label->Alignment(), TextAlignment::LeftJustify);

    // Centring a turned label is stored but moves nothing.
    label->CalcLayout();
    const QPoint before = label->Layout().mainOrigin;
    label->SetAlignment(TextAlignment::Center);
    EXPECT_EQ(label->Alignment(), TextAlignment::Center);
    label->CalcLayout();
    EXPECT_EQ(label->Layout().mainOrigin, before);
}

TEST_F(LabelsFixture, LayoutIsComputedOnlyWhenDirty)
{
    TQPLabel* label = make<TQPLabel>(0, 0, 142, 33);
    RenderObject(*label);
    const int runs = label->LayoutRuns();
    EXPECT_FALSE(label->LayoutDirty());
    RenderObject(*label);
    label->SetColorShadow(clRed); // a colour only repaints
    label->SetColorHighlight(clBlue);
    RenderObject(*label);
    EXPECT_EQ(label->LayoutRuns(), runs);

    label->SetDepthShadow(2);
    EXPECT_TRUE(label->LayoutDirty());
    RenderObject(*label);
    EXPECT_EQ(label->LayoutRuns(), runs + 1);
    label->SetLeft(40); // a bounds change
    RenderObject(*label);
    label->Font()->SetStyle(FontStyle::Bold);
    RenderObject(*label);
    EXPECT_EQ(label->LayoutRuns(), runs + 3);
}

TEST_F(LabelsFixture, FitToTextOnlyGrowsAndOnlyWhenLevel)
{
    TQPLabel* label = make<TQPLabel>(0, 0, 30, 10);
    label->SetCaption("A rather long caption");
    label->CalcLayout();
    label->FitToText();
    const QFontMetrics m(label->ShownFont());
    EXPECT_EQ(label->Width(), m.horizontalAdvance("A rather long caption     "));
    EXPECT_GE(label->Height(), m.height());

    label->SetCaption("A");
    label->CalcLayout();
    label->FitToText();
    EXPECT_EQ(label->Width(), m.horizontalAdvance("A rather long caption     "));

    label->SetAngle(90);
    label->CalcLayout();
    const QRect turned = label->BoundsRect();
    label->SetCaption("A much much longer caption than before");
    label->FitToText();
    EXPECT_EQ(label->BoundsRect(), turned);
}

TEST_F(LabelsFixture, SettersNotifyAsTheUserSeesThem)
{
    TQPLabel* label = make<TQPLabel>(0, 0, 142, 33);
    RenderObject(*label);
    const int start = parent.ChangedCount;
    label->SetAlignment(TextAlignment::RightJustify);
    label->SetBackColor(clRed);
    label->SetTransparent(false);
    label->SetBorderStyle(LabelBorder::Single);
    label->SetCaption("Other");
    EXPECT_EQ(parent.ChangedCount, start + 5);
    label->SetBorderStyle(LabelBorder::Single); // unchanged: nothing
    label->SetBorderStyle(static_cast<LabelBorder>(7)); // not a border style
    EXPECT_EQ(parent.ChangedCount, start + 5);
    EXPECT_EQ(label->BorderStyle(), LabelBorder::Single);

    // Setters run while loading store silently.
    label->SetLoading(true);
    label->SetCaption("Loaded");
    label->SetAlignment(TextAlignment::Center);
    label->SetLoading(false);
    EXPECT_EQ(parent.ChangedCount, start + 5);
    EXPECT_EQ(label->Caption(), "Loaded");
}
