#include "labels_helpers.h"
#include <QTransform>

using namespace cardora;
using namespace cardora::test;

namespace {

// The label's box alone, on the green page, without margin.
QImage Box(TQBaseLabel& label)
{
    label.CalcLayout();
    return RenderObject(label, 0);
}

// The set of pure black pixels, as a picture of its own.
QImage InkMask(const QImage& image)
{
    QImage mask(image.size(), QImage::Format_Grayscale8);
    mask.fill(0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (IsInk(image.pixel(x, y)))
                mask.setPixel(x, y, 255);
    return mask;
}

// Fully covered by the text (antialiased edges excluded).
bool InkAt(const QImage& image, int x, int y)
{
    if (!image.rect().contains(x, y))
        return false;
    const QRgb c = image.pixel(x, y);
    return qRed(c) <= 2 && qGreen(c) <= 2 && qBlue(c) <= 2;
}

// Touched by the text at all.
bool AnyInkAt(const QImage& image, int x, int y)
{
    return image.rect().contains(x, y) && image.pixel(x, y) != kPage.rgb();
}

// Share of a copy's colour in a pixel over the green page.
bool Covered(QRgb c) { return qGreen(c) < 100; }

// The ink of `image` cut to its bounds.
QImage CroppedInk(const QImage& image)
{
    const QImage mask = InkMask(image);
    return mask.copy(MatchBounds(image, IsInk));
}

// Mean difference of two masks once `b` is scaled to the size of `a`.
double Difference(const QImage& a, const QImage& b)
{
    const QImage s = b.scaled(a.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            sum += std::abs(qGray(a.pixel(x, y)) - qGray(s.pixel(x, y)));
    return sum / (a.width() * a.height());
}

// Which quarter turn of `level` looks most like `turned`.
int BestTurn(const QImage& level, const QImage& turned)
{
    int best = -1;
    double bestScore = 1e9;
    for (int angle : { 0, 90, 180, 270 }) {
        const double score = Difference(level.transformed(QTransform().rotate(-angle)), turned);
        if (score < bestScore) {
            bestScore = score;
            best = angle;
        }
    }
    return best;
}

} // namespace

TEST_F(LabelsFixture, HighlightLiesOverShadowAndTextOverBoth)
{
    TQPLabel* label = make<TQPLabel>(0, 0, 200, 40);
    label->SetCaption("WMW");
    label->Font()->SetSize(20);
    label->Font()->SetStyle(FontStyle::Bold);
    label->SetColorShadow(clRed);
    label->SetColorHighlight(clBlue);
    // The text alone shows where each copy's glyphs lie.
    const QImage text = Box(*label);

    label->SetDirectionShadow(ShadowDirection::Right);
    label->SetDepthShadow(4);
    label->SetDirectionHighlight(HighlightDirection::Right);
    label->SetDepthHighlight(2);
    label->CalcLayout();
    ASSERT_EQ(label->Layout().textMargin, QPoint(0, 0)); // the text does not move
    const QImage all = Box(*label);

    int textOverShadow = 0, highlightOverShadow = 0, shadowSeen = 0;
    for (int y = 0; y < text.height(); ++y)
        for (int x = 0; x < text.width(); ++x) {
            const bool textHere = InkAt(text, x, y);
            const bool shadowHere = InkAt(text, x - 4, y);
            const bool highlightHere = InkAt(text, x - 2, y);
            if (textHere) {
                EXPECT_TRUE(IsPureBlack(all.pixel(x, y))) << x << "," << y;
                textOverShadow += shadowHere;
            } else if (highlightHere && !AnyInkAt(text, x, y)) {
                EXPECT_TRUE(IsPureBlue(all.pixel(x, y))) << x << "," << y;
                highlightOverShadow += shadowHere;
            } else if (shadowHere && !AnyInkAt(text, x, y) && !AnyInkAt(text, x - 2, y)) {
                EXPECT_TRUE(IsPureRed(all.pixel(x, y))) << x << "," << y;
                ++shadowSeen;
            }
        }
    // The copies really overlap, so the order was put to the test.
    EXPECT_GT(textOverShadow, 20);
    EXPECT_GT(highlightOverShadow, 20);
    EXPECT_GT(shadowSeen, 20);
}

TEST_F(LabelsFixture, CopiesNeedBothDepthAndDirection)
{
    TQPLabel* label = make<TQPLabel>(0, 0, 200, 40);
    label->Font()->SetSize(16);
    label->SetColorShadow(clRed);
    label->SetColorHighlight(clBlue);
    label->SetDepthShadow(3);
    label->SetDirectionShadow(ShadowDirection::NoShadow);
    label->SetDepthHighlight(0);
    label->SetDirectionHighlight(HighlightDirection::Up);
    QImage image = Box(*label);
    EXPECT_EQ(CountIn(image, IsPureRed, image.rect()), 0);
    EXPECT_EQ(CountIn(image, IsPureBlue, image.rect()), 0);
    EXPECT_GT(CountIn(image, IsInk, image.rect()), 30);

    label->SetDirectionShadow(ShadowDirection::Down);
    label->SetDepthHighlight(3);
    image = Box(*label);
    EXPECT_GT(CountIn(image, IsPureRed, image.rect()), 10);
    EXPECT_GT(CountIn(image, IsPureBlue, image.rect()), 10);
}

TEST_F(LabelsFixture, DefaultEffectsPlaceTheCopiesAroundTheText)
{
    TQPLabel* label = make<TQPLabel>(0, 0, 120, 30);
    label->SetCaption("I");
    label->Font()->SetSize(20);
    label->Font()->SetStyle(FontStyle::Bold);
    const QRect plain = MatchBounds(Box(*label), Covered);
    label->SetColorShadow(clRed);
    label->SetColorHighlight(clBlue);
    label->SetDepthShadow(2);
    label->SetDepthHighlight(2);
    const QImage image = Box(*label);
    // Text 2 right and down, highlight at the corner, shadow 4 right and down.
    EXPECT_EQ(MatchBounds(image, IsPureBlue).topLeft(), plain.topLeft());
    EXPECT_EQ(MatchBounds(image, Covered), QRect(plain.topLeft(), plain.translated(4, 4).bottomRight()));
    // The text itself, with both copies in the page's colour: 2 right and down.
    label->SetColorShadow(FromQColor(kPage));
    label->SetColorHighlight(FromQColor(kPage));
    EXPECT_EQ(MatchBounds(Box(*label), Covered), plain.translated(2, 2));
}

TEST_F(LabelsFixture, BackgroundFillsTheBoxAndBorderFramesIt)
{
    TQPLabel* label = make<TQPLabel>(0, 0, 150, 30);
    label->SetBackColor(clRed);
    label->SetTransparent(false);
    const QImage image = RenderObject(*label, 10);
    const QRect box(10, 10, label->Width(), label->Height());
    EXPECT_EQ(MatchBounds(image, [](QRgb c) { return !IsPage(c); }), box);
    EXPECT_TRUE(IsPureRed(image.pixel(box.left(), box.top())));
    EXPECT_TRUE(IsPureRed(image.pixel(box.right(), box.bottom())));
    EXPECT_TRUE(IsPureRed(image.pixel(box.right(), box.top())));

    label->SetBorderStyle(LabelBorder::Single);
    const QImage framed = RenderObject(*label, 10);
    EXPECT_TRUE(IsPureBlack(framed.pixel(box.left(), box.top())));
    EXPECT_TRUE(IsPureBlack(framed.pixel(box.right(), box.bottom())));
    EXPECT_TRUE(IsPureBlack(framed.pixel(box.center().x(), box.bottom())));
    EXPECT_TRUE(IsPureRed(framed.pixel(box.left() + 1, box.bottom() - 1)));
    EXPECT_EQ(MatchBounds(framed, [](QRgb c) { return !IsPage(c); }), box);
}

TEST_F(LabelsFixture, AlignmentMovesTheTextWithinTheBox)
{
    TQPLabel* label = make<TQPLabel>(0, 0, 200, 20);
    label->SetCaption("Name");
    label->Font()->SetSize(14);
    const QRect left = MatchBounds(Box(*label), IsInk);
    label->SetAlignment(TextAlignment::RightJustify);
    const QRect right = MatchBounds(Box(*label), IsInk);
    // One space's width stays free at the right edge.
    const int space = ScreenWidth(*label, " ");
    EXPECT_NEAR(label->Width() - 1 - right.right(), space, 3);
    EXPECT_EQ(right.width(), left.width());
    label->SetAlignment(TextAlignment::Center);
    const QRect centre = MatchBounds(Box(*label), IsInk);
    EXPECT_NEAR(centre.center().x(), label->Width() / 2 - space / 2, 3);
}

TEST_F(LabelsFixture, QuarterTurnsTurnTheText)
{
    TQPLabel* label = make<TQPLabel>(0, 0, 200, 40);
    label->SetCaption("Lg7");
    label->Font()->SetSize(20);
    const QImage level = CroppedInk(Box(*label));
    ASSERT_GT(level.width(), level.height());

    for (int angle : { 90, 180, 270 }) {
        SCOPED_TRACE(angle);
        label->SetAngle(angle);
        const QImage turnedBox = Box(*label);
        const QRect ink = MatchBounds(turnedBox, IsInk);
        ASSERT_FALSE(ink.isNull());
        // Counter-clockwise on the card is -angle in the image's y-down frame.
        EXPECT_EQ(BestTurn(level, InkMask(turnedBox).copy(ink)), angle);
        // The whole text stays inside the box.
        EXPECT_TRUE(QRect(0, 0, label->Width(), label->Height()).contains(ink));
    }
}

TEST_F(LabelsFixture, PaintingEndsWithTheSelectionMarkersOnThePanel)
{
    TQPLabel* label = make<TQPLabel>(20, 20, 100, 20);
    QImage panel(200, 100, QImage::Format_RGB32);
    panel.fill(kPage);
    QPainter p(&panel);
    parent.Canvas = &p;
    parent.AddToSelection(label);
    label->PaintOnPanel(p);
    p.end();
    parent.Canvas = nullptr;
    // A marker square just outside the box's corner.
    EXPECT_TRUE(IsInk(panel.pixel(18, 18)));
    EXPECT_TRUE(IsInk(panel.pixel(20 + label->Width() + 1, 20 + label->Height() + 1)));
}
