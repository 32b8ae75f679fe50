#include "fake_parent.h"
#include "objects/card_filer.h"
#include "objects/class_registry.h"
#include "objects/line_shape.h"
#include "objects/shapes.h"
#include "shapes_helpers.h"
#include "support/scripted_modal.h"
#include <gtest/gtest.h>

using namespace cardora;
using namespace cardora::test;

namespace {

// Remembers the colour each colour dialog started with.
class ColorModal : public ScriptedModal {
public:
    std::vector<QColor> initial;
    std::optional<QColor> Color(const QColor& start) override
    {
        initial.push_back(start);
        return ScriptedModal::Color(start);
    }
};

struct ShapesFixture : ::testing::Test {
    FakeParent parent;
    std::shared_ptr<ColorModal> modal = std::make_shared<ColorModal>();

    void SetUp() override { SetModalHandler(modal); }
    void TearDown() override { SetModalHandler(nullptr); }

    template <class T>
    T* place(T* o, int l, int t, int w, int h)
    {
        parent.Adopt(o);
        o->SetBounds(l, t, w, h);
        return o;
    }
    TBCShapes* shape(ShapeType s, int l, int t, int w, int h)
    {
        return place(TBCShapes::CreateForTool(&parent.Owner, s), l, t, w, h);
    }
    TQLineShape* line(LineStyle s, int l, int t, int w, int h)
    {
        TQLineShape* o = place(TQLineShape::CreateForTool(&parent.Owner), l, t, w, h);
        o->SetLineStyle(s);
        return o;
    }
};

} // namespace

TEST_F(ShapesFixture, RectangleOutlineFillsTheBoxForEveryPenWidthAndZoom)
{
    TBCShapes* s = shape(ShapeType::Rectangle, 0, 0, 100, 50);
    // Pen width 1: rectangle (0,0)-(100,50), one-pixel outline on the box's edge.
    QImage img = RenderObject(*s);
    EXPECT_EQ(MatchBounds(img, IsInk), QRect(10, 10, 100, 50));
    EXPECT_TRUE(IsInk(img.pixel(10, 35)));
    EXPECT_TRUE(IsFill(img.pixel(11, 35)));
    EXPECT_TRUE(IsInk(img.pixel(109, 35)));
    EXPECT_TRUE(IsFill(img.pixel(108, 35)));
    EXPECT_TRUE(IsInk(img.pixel(60, 59)));
    EXPECT_TRUE(IsFill(img.pixel(60, 58)));

    // Pen width 4: rectangle (2,2)-(99,49), still ending on the box's edge, 4 pixels thick.
    s->Pen()->SetWidth(4);
    img = RenderObject(*s);
    EXPECT_EQ(MatchBounds(img, IsInk), QRect(10, 10, 100, 50));
    EXPECT_EQ(CountIn(img, IsInk, QRect(0, 35, img.width(), 1)), 8);
    EXPECT_TRUE(IsFill(img.pixel(14, 35)));
    EXPECT_TRUE(IsInk(img.pixel(13, 35)));
    EXPECT_TRUE(IsInk(img.pixel(106, 35)));
    EXPECT_TRUE(IsFill(img.pixel(105, 35)));
    EXPECT_EQ(CountIn(img, IsInk, QRect(60, 0, 1, img.height())), 8);

    // Pen width 3 centres on pixel centres: 3 pixels on each side.
    s->Pen()->SetWidth(3);
    img = RenderObject(*s);
    EXPECT_EQ(MatchBounds(img, IsInk), QRect(10, 10, 100, 50));
    EXPECT_EQ(CountIn(img, IsInk, QRect(0, 35, img.width(), 1)), 6);
}

TEST_F(ShapesFixture, FiguresFillTheWholeBoxWhateverTheShapeName)
{
    // A "square" 80 by 40 is an 80 by 40 rectangle.
    TBCShapes* sq = shape(ShapeType::Rectangle, 0, 0, 80, 40);
    sq->SetShape(ShapeType::Square);
    QImage img = RenderObject(*sq);
    EXPECT_EQ(MatchBounds(img, IsInk), QRect(10, 10, 80, 40));

    // Ellipse and circle: inscribed in the box, corners untouched, white inside.
    for (ShapeType t : { ShapeType::Ellipse, ShapeType::Circle }) {
        TBCShapes* e = shape(t, 0, 0, 100, 50);
        img = RenderObject(*e);
        EXPECT_EQ(MatchBounds(img, IsInk), QRect(10, 10, 100, 50)) << int(t);
        EXPECT_TRUE(IsPage(img.pixel(11, 11))) << int(t);
        EXPECT_TRUE(IsPage(img.pixel(108, 58))) << int(t);
        EXPECT_TRUE(IsFill(img.pixel(60, 35))) << int(t);
        EXPECT_TRUE(IsInk(img.pixel(60, 10))) << int(t);
        EXPECT_TRUE(IsInk(img.pixel(10, 35))) << int(t);
    }

    // Rounded rectangle 200 by 100, 25 %: corner ellipses 50 by 50.
    for (ShapeType t : { ShapeType::RoundRect, ShapeType::RoundSquare }) {
        TBCShapes* r = shape(t, 0, 0, 200, 100);
        EXPECT_EQ(r->CornerSize(), 50) << int(t);
        img = RenderObject(*r);
        EXPECT_EQ(MatchBounds(img, IsInk), QRect(10, 10, 200, 100)) << int(t);
        // A quarter circle of radius 25 crosses the corner's diagonal
        // 25 * (1 - 1/sqrt 2) = 7.3 pixels inside the box, at every corner.
        auto firstInk = [&](int x, int y, int dx, int dy) {
            for (int k = 0; k < 40; ++k)
                // A one-pixel arc at 45 degrees may touch the diagonal only at a corner.
                if (IsInk(img.pixel(x + k * dx, y + k * dy)) || IsInk(img.pixel(x + (k + 1) * dx, y + k * dy)))
                    return k;
            return -1;
        };
        EXPECT_NEAR(firstInk(10, 10, 1, 1), 7, 1) << int(t);
        EXPECT_NEAR(firstInk(209, 10, -1, 1), 7, 1) << int(t);
        EXPECT_NEAR(firstInk(10, 109, 1, -1), 7, 1) << int(t);
        EXPECT_NEAR(firstInk(209, 109, -1, -1), 7, 1) << int(t);
        EXPECT_TRUE(IsFill(img.pixel(10 + 9, 10 + 9))) << int(t);
        r->SetRoundPerc(50);
        EXPECT_EQ(r->CornerSize(), 100) << int(t);
    }

    // Transparent: the page shows through; opaque again fills white.
    TBCShapes* tr = shape(ShapeType::Rectangle, 0, 0, 60, 30);
    tr->SetTransparent(true);
    EXPECT_EQ(tr->Brush()->Style(), BrushStyle::Clear);
    img = RenderObject(*tr);
    EXPECT_TRUE(IsPage(img.pixel(40, 25)));
    EXPECT_TRUE(IsInk(img.pixel(10, 25)));
    tr->SetTransparent(false);
    EXPECT_EQ(tr->Brush()->Style(), BrushStyle::Solid);
    EXPECT_TRUE(IsFill(RenderObject(*tr).pixel(40, 25)));

    // The brush colour fills, the pen colour outlines; nothing leaves the box.
    tr->Brush()->SetColor(clRed);
    tr->Pen()->SetColor(clBlue);
    tr->Pen()->SetWidth(6);
    img = RenderObject(*tr);
    EXPECT_EQ(img.pixel(40, 25), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(12, 25), qRgb(0, 0, 255));
    EXPECT_EQ(MatchBounds(img, [](QRgb c) { return !IsPage(c); }), QRect(10, 10, 60, 30));
}

TEST_F(ShapesFixture, LineEndpointsOnScreenForEveryStyle)
{
    // Horizontal, 120 wide, pen 3: (1,1) to (119,1), rows 0..2 inked.
    TQLineShape* hz = line(LineStyle::Horizontal, 0, 0, 120, 20);
    hz->Pen()->SetWidth(3);
    EXPECT_EQ(hz->ScreenLine(), QLine(1, 1, 119, 1));
    QImage img = RenderObject(*hz);
    EXPECT_EQ(CountIn(img, IsInk, QRect(70, 0, 1, img.height())), 3);
    EXPECT_EQ(MatchBounds(img, IsInk, QRect(70, 0, 1, img.height())), QRect(70, 10, 1, 3));
    EXPECT_EQ(MatchBounds(img, IsInk), QRect(10, 10, 120, 3));

    // Pen 1: pixels 0..119 of the top row, the last point left out.
    hz->Pen()->SetWidth(1);
    EXPECT_EQ(hz->ScreenLine(), QLine(0, 0, 120, 0));
    img = RenderObject(*hz);
    EXPECT_EQ(MatchBounds(img, IsInk), QRect(10, 10, 120, 1));

    // Vertical, pen 4: (2,2) to (2,99), columns 0..3.
    TQLineShape* vt = line(LineStyle::Vertical, 0, 0, 20, 100);
    vt->Pen()->SetWidth(4);
    EXPECT_EQ(vt->ScreenLine(), QLine(2, 2, 2, 99));
    img = RenderObject(*vt);
    EXPECT_EQ(MatchBounds(img, IsInk, QRect(0, 60, img.width(), 1)), QRect(10, 60, 4, 1));
    EXPECT_EQ(MatchBounds(img, IsInk), QRect(10, 10, 4, 100));
    vt->Pen()->SetWidth(1);
    EXPECT_EQ(MatchBounds(RenderObject(*vt), IsInk), QRect(10, 10, 1, 100));

    // Sloping up: from the top right corner to the bottom left one.
    TQLineShape* up = line(LineStyle::AngleSlopingUp, 0, 0, 100, 50);
    EXPECT_EQ(up->ScreenLine(), QLine(100, 0, 0, 50));
    img = RenderObject(*up);
    EXPECT_GT(CountIn(img, IsInk, QRect(106, 10, 4, 3)), 0);
    EXPECT_GT(CountIn(img, IsInk, QRect(10, 56, 4, 4)), 0);
    EXPECT_EQ(CountIn(img, IsInk, QRect(10, 10, 10, 10)), 0);
    EXPECT_EQ(CountIn(img, IsInk, QRect(100, 50, 10, 10)), 0);

    // Sloping down: from the top left corner to the bottom right one.
    TQLineShape* down = line(LineStyle::AngleSlopingDown, 0, 0, 100, 50);
    EXPECT_EQ(down->ScreenLine(), QLine(0, 0, 100, 50));
    img = RenderObject(*down);
    EXPECT_TRUE(IsInk(img.pixel(10, 10)));
    EXPECT_GT(CountIn(img, IsInk, QRect(106, 56, 4, 4)), 0);
    EXPECT_EQ(CountIn(img, IsInk, QRect(100, 10, 10, 10)), 0);
    EXPECT_EQ(CountIn(img, IsInk, QRect(10, 50, 10, 10)), 0);
    // Nothing falls outside the box.
    EXPECT_TRUE(QRect(10, 10, 100, 50).contains(MatchBounds(img, IsInk)));

    // A clear pen draws nothing.
    hz->Pen()->SetStyle(PenStyle::Clear);
    EXPECT_EQ(MatchBounds(RenderObject(*hz), IsInk), QRect());
}

TEST_F(ShapesFixture, ShapeMenuItemsChecksAndCommands)
{
    TBCShapes* s = shape(ShapeType::RoundRect, 10, 10, 80, 40);
    QMenu* menu = s->ObjectMenu();
    const QStringList captions = Captions(*menu);
    const QStringList tail = { "Center Horizontally", "-", "Background Color", "Line Color", "Line Thickness", "-",
        "Transparent", "-", "Degree of Rounding" };
    ASSERT_GE(captions.size(), tail.size());
    EXPECT_EQ(captions.mid(captions.size() - tail.size()), tail);
    QMenu* thickness = SubMenu(*menu, "Line Thickness");
    ASSERT_NE(thickness, nullptr);
    EXPECT_EQ(Captions(*thickness), QStringList({ "1 Point", "2 Point", "3 Point", "4 Point", "5 Point", "6 Point",
                                        "7 Point", "8 Point", "9 Point", "10 Point" }));
    QMenu* rounding = SubMenu(*menu, "Degree of Rounding");
    ASSERT_NE(rounding, nullptr);
    EXPECT_EQ(Captions(*rounding), QStringList({ "20 %", "30 %", "40 %", "50 %", "60 %", "70 %", "80 %" }));

    // Check marks follow the properties when the menu opens.
    s->Pen()->SetWidth(4);
    s->SetTransparent(true);
    emit menu->aboutToShow();
    EXPECT_EQ(Checked(*thickness), QStringList({ "4 Point" }));
    EXPECT_TRUE(FindItem(*menu, "Transparent")->isChecked());
    EXPECT_TRUE(Checked(*rounding).isEmpty());
    s->Pen()->SetWidth(12);
    s->SetTransparent(false);
    emit menu->aboutToShow();
    EXPECT_TRUE(Checked(*thickness).isEmpty());
    EXPECT_FALSE(FindItem(*menu, "Transparent")->isChecked());

    // Commands change the object and notify.
    int before = parent.ChangedCount;
    FindItem(*thickness, "7 Point")->trigger();
    EXPECT_EQ(s->Pen()->Width(), 7);
    EXPECT_GT(parent.ChangedCount, before);
    before = parent.ChangedCount;
    FindItem(*rounding, "40 %")->trigger();
    EXPECT_EQ(s->RoundPerc(), 40);
    EXPECT_GT(parent.ChangedCount, before);
    before = parent.ChangedCount;
    FindItem(*menu, "Transparent")->trigger();
    EXPECT_TRUE(s->Transparent());
    EXPECT_EQ(s->Brush()->Style(), BrushStyle::Clear);
    EXPECT_GT(parent.ChangedCount, before);

    // "Background Color" starts at the brush colour and makes a transparent shape opaque.
    s->Brush()->SetColor(clYellow);
    modal->colors.push_back(QColor(255, 0, 0));
    FindItem(*menu, "Background Color")->trigger();
    ASSERT_EQ(modal->initial.size(), 1u);
    EXPECT_EQ(modal->initial[0], QColor(255, 255, 0));
    EXPECT_EQ(s->Brush()->Color(), clRed);
    EXPECT_FALSE(s->Transparent());
    EXPECT_EQ(s->Brush()->Style(), BrushStyle::Solid);

    // Cancelling a colour dialog changes and notifies nothing.
    before = parent.ChangedCount;
    modal->colors.push_back(std::nullopt);
    FindItem(*menu, "Line Color")->trigger();
    EXPECT_EQ(modal->initial.back(), QColor(0, 0, 0));
    EXPECT_EQ(s->Pen()->Color(), clBlack);
    EXPECT_EQ(parent.ChangedCount, before);
    modal->colors.push_back(QColor(0, 0, 255));
    FindItem(*menu, "Line Color")->trigger();
    EXPECT_EQ(s->Pen()->Color(), clBlue);
    EXPECT_GT(parent.ChangedCount, before);

    // The rounding submenu depends on the shape when the object was loaded, once.
    TBCShapes* rect = shape(ShapeType::Rectangle, 0, 0, 50, 50);
    rect->SetShape(ShapeType::RoundRect);
    EXPECT_EQ(SubMenu(*rect->ObjectMenu(), "Degree of Rounding"), nullptr);
    EXPECT_EQ(Captions(*rect->ObjectMenu()).last(), "Transparent");
    s->SetShape(ShapeType::Ellipse);
    EXPECT_NE(SubMenu(*s->ObjectMenu(), "Degree of Rounding"), nullptr);
}

TEST_F(ShapesFixture, LineMenuItemsChecksAndStretchToEdges)
{
    TQLineShape* l = line(LineStyle::Vertical, 30, 40, 10, 50);
    QMenu* menu = l->ObjectMenu();
    const QStringList captions = Captions(*menu);
    const QStringList tail = { "Center Horizontally", "-", "Style", "Color", "Line Thickness", "-",
        "Stretch To Edges" };
    ASSERT_GE(captions.size(), tail.size());
    EXPECT_EQ(captions.mid(captions.size() - tail.size()), tail);
    QMenu* styles = SubMenu(*menu, "Style");
    QMenu* thickness = SubMenu(*menu, "Line Thickness");
    ASSERT_NE(styles, nullptr);
    ASSERT_NE(thickness, nullptr);
    EXPECT_EQ(Captions(*styles),
        QStringList({ "Horizontal", "Vertical", "Angled Sloping Up", "Angled Sloping Down" }));
    EXPECT_EQ(Captions(*thickness).size(), 10);

    l->Pen()->SetWidth(2);
    emit menu->aboutToShow();
    EXPECT_EQ(Checked(*styles), QStringList({ "Vertical" }));
    EXPECT_EQ(Checked(*thickness), QStringList({ "2 Point" }));

    int before = parent.ChangedCount;
    FindItem(*styles, "Angled Sloping Up")->trigger();
    EXPECT_EQ(l->LineStyle(), LineStyle::AngleSlopingUp);
    EXPECT_GT(parent.ChangedCount, before);
    emit menu->aboutToShow();
    EXPECT_EQ(Checked(*styles), QStringList({ "Angled Sloping Up" }));

    modal->colors.push_back(QColor(0, 128, 0));
    FindItem(*menu, "Color")->trigger();
    EXPECT_EQ(l->Pen()->Color(), clGreen);
    FindItem(*thickness, "9 Point")->trigger();
    EXPECT_EQ(l->Pen()->Width(), 9);

    // Stretch To Edges: diagonal lines keep their box.
    QAction* stretch = FindItem(*menu, "Stretch To Edges");
    stretch->trigger();
    EXPECT_EQ(l->BoundsRect(), QRect(30, 40, 10, 50));
    l->SetLineStyle(LineStyle::AngleSlopingDown);
    stretch->trigger();
    EXPECT_EQ(l->BoundsRect(), QRect(30, 40, 10, 50));
    // Vertical: from the panel's top to its bottom.
    l->SetLineStyle(LineStyle::Vertical);
    before = parent.ChangedCount;
    stretch->trigger();
    EXPECT_EQ(l->BoundsRect(), QRect(30, 0, 10, 192));
    EXPECT_GT(parent.ChangedCount, before);
    // Horizontal: across the whole panel.
    l->SetLineStyle(LineStyle::Horizontal);
    stretch->trigger();
    EXPECT_EQ(l->BoundsRect(), QRect(0, 0, 336, 192));
    TQLineShape* h = line(LineStyle::Horizontal, 50, 60, 100, 10);
    parent.Size = QSize(437, 250); // the panel at 130 %
    h->StretchToEdges();
    EXPECT_EQ(h->BoundsRect(), QRect(0, 60, 437, 10));

    // Off the panel there is nothing to stretch to.
    TQLineShape loose;
    loose.SetBounds(5, 5, 20, 10);
    loose.StretchToEdges();
    EXPECT_EQ(loose.BoundsRect(), QRect(5, 5, 20, 10));
}

TEST_F(ShapesFixture, ToolsCreateLoadedObjectsThatNotifyOnlyWhenMoved)
{
    TBCShapes* e = TBCShapes::CreateForTool(&parent.Owner, ShapeType::Ellipse);
    EXPECT_EQ(e->ClassName(), "TBCShapes");
    EXPECT_EQ(e->Shape(), ShapeType::Ellipse);
    EXPECT_EQ(e->BoundsRect(), QRect(0, 0, 25, 25));
    EXPECT_EQ(e->RoundPerc(), 25);
    EXPECT_FALSE(e->Transparent());
    TQLineShape* l = TQLineShape::CreateForTool(&parent.Owner);
    EXPECT_EQ(l->LineStyle(), LineStyle::Vertical);
    EXPECT_EQ(l->BoundsRect(), QRect(0, 0, 10, 10));
    EXPECT_EQ(TQLineShape().LineStyle(), LineStyle::Horizontal);

    // Placing is the first bounds check: recorded, not a change; the next move is.
    parent.Adopt(e);
    e->SetBounds(20, 20, 60, 30);
    EXPECT_EQ(parent.ChangedCount, 0);
    e->SetLeft(25);
    EXPECT_EQ(parent.ChangedCount, 1);
    // Pen and brush changes repaint and notify; unchanged values do neither.
    e->Pen()->SetWidth(2);
    e->Brush()->SetColor(clAqua);
    EXPECT_EQ(parent.ChangedCount, 3);
    e->Pen()->SetWidth(2);
    EXPECT_EQ(parent.ChangedCount, 3);
    // Property setters ignore values outside their enumeration.
    e->SetShape(static_cast<ShapeType>(17));
    EXPECT_EQ(e->Shape(), ShapeType::Ellipse);
    l->SetLineStyle(static_cast<LineStyle>(-1));
    EXPECT_EQ(l->LineStyle(), LineStyle::Vertical);
}

TEST_F(ShapesFixture, PropertiesRoundTripThroughTheCardFile)
{
    RegisterCardClass<TQLineShape>();
    RegisterCardClass<TQLabelShapes>();
    RegisterCardClass<TBCShapes>();

    // A default line writes no pen entry at all; width 2 writes Pen.Width alone.
    TQLineShape* plain = line(LineStyle::Horizontal, 20, 30, 100, 10);
    QByteArray bytes = TQLabelObjectFiler::WriteObjects({ plain });
    EXPECT_FALSE(bytes.contains("Pen"));
    EXPECT_FALSE(bytes.contains("LineStyle"));
    plain->Pen()->SetWidth(2);
    bytes = TQLabelObjectFiler::WriteObjects({ plain });
    EXPECT_TRUE(bytes.contains(QByteArray("\x09Pen.Width\x02\x02", 12)));
    EXPECT_FALSE(bytes.contains("Pen.Color"));
    EXPECT_FALSE(bytes.contains("Pen.Style"));
    EXPECT_FALSE(bytes.contains("Pen.Mode"));

    // A default shape writes Transparent (always) and nothing else of its own.
    TBCShapes* defaults = shape(ShapeType::Rectangle, 0, 0, 40, 40);
    bytes = TQLabelObjectFiler::WriteObjects({ defaults });
    EXPECT_TRUE(bytes.contains(QByteArray("\x0BTransparent\x08", 13)));
    for (const char* absent : { "Brush", "Pen", "RoundPerc", "\x05Shape" })
        EXPECT_FALSE(bytes.contains(absent)) << absent;

    auto* old = new TQLabelShapes(&parent.Owner);
    place(old, 5, 6, 70, 35);
    old->SetShape(ShapeType::RoundSquare);
    old->SetTransparent(true);
    old->Brush()->SetColor(clNavy);
    old->Pen()->SetColor(clRed);
    old->Pen()->SetStyle(PenStyle::Dash);
    old->Pen()->SetMode(PenMode::Xor);
    old->Pen()->SetWidth(3);
    old->SetRoundPerc(60);
    TQLineShape* diag = line(LineStyle::AngleSlopingDown, 1, 2, 30, 40);
    diag->Pen()->SetColor(clGray);
    diag->Pen()->SetWidth(5);

    old->SetName("Component0");
    diag->SetName("Component1");
    plain->SetName("Component2");
    bytes = TQLabelObjectFiler::WriteObjects({ old, diag, plain });
    FakeParent other;
    TQLabelObjectFiler filer;
    const auto read = filer.ReadObjects(bytes, &other.Owner, &other, other.AdoptFunction());
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(other.ChangedCount, 0);

    ASSERT_EQ(read[0]->ClassName(), "TQLabelShapes");
    auto* s = static_cast<TQLabelShapes*>(read[0]);
    EXPECT_EQ(s->BoundsRect(), QRect(5, 6, 70, 35));
    EXPECT_EQ(s->Shape(), ShapeType::RoundSquare);
    EXPECT_TRUE(s->Transparent());
    EXPECT_EQ(*s->Brush(), *old->Brush());
    EXPECT_EQ(s->Brush()->Style(), BrushStyle::Clear);
    EXPECT_EQ(*s->Pen(), *old->Pen());
    EXPECT_EQ(s->RoundPerc(), 60);
    EXPECT_FALSE(s->IsLoading());
    // Read objects are Loaded: a rounded shape read back has its rounding submenu.
    EXPECT_NE(SubMenu(*s->ObjectMenu(), "Degree of Rounding"), nullptr);

    ASSERT_EQ(read[1]->ClassName(), "TQLineShape");
    auto* d = static_cast<TQLineShape*>(read[1]);
    EXPECT_EQ(d->LineStyle(), LineStyle::AngleSlopingDown);
    EXPECT_EQ(*d->Pen(), *diag->Pen());
    EXPECT_EQ(d->BoundsRect(), QRect(1, 2, 30, 40));
    auto* p = static_cast<TQLineShape*>(read[2]);
    EXPECT_EQ(p->Pen()->Width(), 2);
    EXPECT_EQ(p->LineStyle(), LineStyle::Horizontal);

    // Writing the copies again gives the same bytes.
    EXPECT_EQ(TQLabelObjectFiler::WriteObjects(read), bytes);
}
