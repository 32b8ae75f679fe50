#include "core/object_stream.h"
#include "fake_parent.h"
#include "objects/card_filer.h"
#include "objects/circletext/circle_text.h"
#include "objects/circletext/circle_text_dialog.h"
#include "objects/class_registry.h"
#include "report/printer_report.h"
#include "report/recording_report.h"
#include "shapes_helpers.h"
#include "support/scripted_modal.h"
#include "pdf_text.h"
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>
#include <cmath>

using namespace cardora;
using namespace cardora::test;

namespace {

struct CircleFixture : ::testing::Test {
    FakeParent parent;
    std::shared_ptr<ScriptedModal> modal;

    void SetUp() override
    {
        modal = ScriptedModal::Install();
        RegisterCardClass<TQPCircleText>();
    }
    void TearDown() override { SetModalHandler(nullptr); }

    TQPCircleText* make(int width, int height, const QString& caption)
    {
        auto* c = new TQPCircleText(&parent.Owner);
        parent.Adopt(c);
        c->Loaded();
        c->SetBounds(10, 10, width, height);
        c->SetCaption(caption);
        return c;
    }
};

} // namespace

TEST_F(CircleFixture, CentreAndRadiusFollowTheArcAndTheStart)
{
    // Box 200 x 100, character height 20, average width 10.
    struct Case {
        ArcDegrees degrees, start;
        bool mirror;
        int cx, cy, radius;
    };
    // A quarter arc sits in a corner of the box, a half arc on an edge, three
    // quarters and a whole circle in the middle.
    const Case cases[] = {
        { ArcDegrees::Deg90, ArcDegrees::Deg90, false, 10, 80, 56 },
        { ArcDegrees::Deg90, ArcDegrees::Deg270, false, 190, 20, 56 },
        { ArcDegrees::Deg180, ArcDegrees::Deg180, false, 100, 80, 56 },
        { ArcDegrees::Deg270, ArcDegrees::Deg270, false, 100, 50, 26 },
        { ArcDegrees::Deg360, ArcDegrees::Deg90, false, 100, 50, 26 },
        // Letters standing inwards need no room for their height.
        { ArcDegrees::Deg360, ArcDegrees::Deg90, true, 100, 50, 46 },
    };
    TQPCircleText* c = make(200, 100, "ABC");
    for (const Case& k : cases) {
        c->SetDegrees(k.degrees);
        c->SetStartingVector(k.start);
        c->SetMirror(k.mirror);
        const CircleGeometry g = c->Geometry(20, 10);
        EXPECT_EQ(g.cx, k.cx) << int(k.degrees) << "/" << int(k.start);
        EXPECT_EQ(g.cy, k.cy) << int(k.degrees) << "/" << int(k.start);
        EXPECT_EQ(g.radius, k.radius) << int(k.degrees) << "/" << int(k.start);
    }
}

TEST_F(CircleFixture, StepsAndEscapementsOfTheLetters)
{
    struct Case {
        QString caption;
        ArcDegrees degrees, start;
        bool mirror, angled;
        float arc, step;
        std::vector<int> positions;   // characters in drawing order
        std::vector<int> escapements; // tenths of a degree
    };
    const Case cases[] = {
        // One letter on a quarter from the top goes to the arc's end, pointing right.
        { "A", ArcDegrees::Deg90, ArcDegrees::Deg90, false, true, 90, 90, { 1 }, { 2700 } },
        // On a full circle it stays at the start.
        { "A", ArcDegrees::Deg360, ArcDegrees::Deg90, false, true, 360, 360, { 1 }, { 0 } },
        // Five letters share the full circle; a sixth shortens it to 355 degrees.
        { "ABCDE", ArcDegrees::Deg360, ArcDegrees::Deg180, false, true, 360, 72, { 1, 2, 3, 4, 5 }, { 900, 180, 3060, 2340, 1620 } },
        { "ABCDEF", ArcDegrees::Deg360, ArcDegrees::Deg180, false, true, 355, 355.0f / 6, { 1, 2, 3, 4, 5, 6 },
            { 900, 308, 3317, 2725, 2133, 1542 } },
        // Two letters on a half circle from the top: top upright, bottom upside down.
        { "AB", ArcDegrees::Deg180, ArcDegrees::Deg90, false, true, 180, 180, { 1, 2 }, { 0, 1800 } },
        // Mirrored: reverse order, each turned half round.
        { "ABC", ArcDegrees::Deg180, ArcDegrees::Deg90, true, true, 180, 90, { 3, 2, 1 }, { 1800, 900, 3600 } },
        // Mirror without angled letters changes nothing.
        { "ABC", ArcDegrees::Deg180, ArcDegrees::Deg90, true, false, 180, 90, { 1, 2, 3 }, { 0, 2700, 1800 } },
    };
    TQPCircleText* c = make(200, 200, "");
    const QFontMetrics fm(c->ShownFont());
    for (const Case& k : cases) {
        const QString what = k.caption + QString(" %1/%2").arg(int(k.degrees)).arg(int(k.start));
        c->SetCaption(k.caption);
        c->SetDegrees(k.degrees);
        c->SetStartingVector(k.start);
        c->SetMirror(k.mirror);
        c->SetDrawLettersAngled(k.angled);
        const CircleGeometry g = c->Geometry(fm.height(), fm.averageCharWidth());
        EXPECT_EQ(g.arc, k.arc) << what.toStdString();
        EXPECT_FLOAT_EQ(g.step, k.step) << what.toStdString();
        const std::vector<CircleLetter> letters = c->LetterPlacement(fm);
        ASSERT_EQ(letters.size(), k.positions.size()) << what.toStdString();
        for (size_t i = 0; i < letters.size(); ++i) {
            EXPECT_EQ(letters[i].position, k.positions[i]) << what.toStdString() << " #" << i;
            EXPECT_EQ(letters[i].escapement, k.escapements[i]) << what.toStdString() << " #" << i;
            // Each letter sits on the circle, at the angle its place gives.
            const double dx = letters[i].at.x() - g.cx, dy = letters[i].at.y() - g.cy;
            EXPECT_NEAR(std::hypot(dx, dy), std::abs(g.radius), 1.0) << what.toStdString() << " #" << i;
        }
    }
}

TEST_F(CircleFixture, LettersLandWhereTheArcPutsThem)
{
    // "AB" on a half circle from the top, centred on the left edge: A above
    // the centre, B below it, nothing further right.
    TQPCircleText* c = make(200, 200, "AB");
    c->Font()->SetSize(20);
    c->SetDegrees(ArcDegrees::Deg180);
    c->SetStartingVector(ArcDegrees::Deg90);
    const QFontMetrics fm(c->ShownFont());
    const CircleGeometry g = c->Geometry(fm.height(), fm.averageCharWidth());
    const std::vector<CircleLetter> letters = c->LetterPlacement(fm);
    ASSERT_EQ(letters.size(), 2u);
    EXPECT_EQ(letters[0].at, QPoint(g.cx, g.cy - g.radius));
    EXPECT_EQ(letters[1].at, QPoint(g.cx, g.cy + g.radius));
    QImage image = RenderObject(*c, 0);
    // A stands on its point (ink above it); B hangs upside down below its point.
    const QRect top = MatchBounds(image, IsInk, QRect(0, 0, 200, 100));
    const QRect bottom = MatchBounds(image, IsInk, QRect(0, 100, 200, 100));
    ASSERT_FALSE(top.isNull());
    ASSERT_FALSE(bottom.isNull());
    EXPECT_LE(top.bottom(), letters[0].at.y());
    EXPECT_GE(bottom.top(), letters[1].at.y() - 1);
    EXPECT_NEAR(top.center().x(), g.cx, 3);
    EXPECT_NEAR(bottom.center().x(), g.cx, 3);
    EXPECT_EQ(CountIn(image, IsInk, QRect(60, 0, 140, 200)), 0);

    // Upright letters: the same places, B the right way up (ink above its point).
    c->SetDrawLettersAngled(false);
    image = RenderObject(*c, 0);
    EXPECT_LE(MatchBounds(image, IsInk, QRect(0, 100, 200, 100)).bottom(), letters[1].at.y());

    // A box too small for the circle puts the letter off the box: skipped, not clipped.
    TQPCircleText* tiny = make(30, 30, "W");
    tiny->SetDegrees(ArcDegrees::Deg90);
    tiny->SetStartingVector(ArcDegrees::Deg90);
    tiny->Font()->SetSize(20);
    const std::vector<CircleLetter> off = tiny->LetterPlacement(QFontMetrics(tiny->ShownFont()));
    ASSERT_EQ(off.size(), 1u);
    EXPECT_FALSE(off[0].inside);
    EXPECT_EQ(CountIn(RenderObject(*tiny, 0), IsInk, QRect(0, 0, 30, 30)), 0);
}

TEST_F(CircleFixture, BackgroundAndFrameAloneForAnEmptyCaption)
{
    struct Case {
        bool transparent, border;
        QRgb corner, middle;
    };
    const Case cases[] = {
        { true, false, kPage.rgb(), kPage.rgb() },
        { false, false, qRgb(255, 0, 0), qRgb(255, 0, 0) },
        { true, true, qRgb(0, 0, 0), kPage.rgb() },
        { false, true, qRgb(0, 0, 0), qRgb(255, 0, 0) },
    };
    TQPCircleText* c = make(60, 40, "");
    c->SetBGColor(clRed);
    for (const Case& k : cases) {
        c->SetControlTransparent(k.transparent);
        c->SetBorderStyle(k.border ? LabelBorder::Single : LabelBorder::NoBorder);
        const QImage image = RenderObject(*c, 0);
        EXPECT_EQ(image.pixel(0, 0), k.corner) << k.transparent << k.border;
        EXPECT_EQ(image.pixel(59, 39), k.corner) << k.transparent << k.border;
        EXPECT_EQ(image.pixel(30, 20), k.middle) << k.transparent << k.border;
    }
}

TEST_F(CircleFixture, SavedAndReadBackUnchanged)
{
    TQPCircleText* c = make(150, 120, "Round and round");
    c->SetName("Component0"); // the name a read object gets
    const std::vector<StoredEntry> defaults = StoredEntries(*c);
    QStringList paths;
    for (const StoredEntry& e : defaults)
        paths << e.path;
    // Every setting travels, the font too (the object sets its own).
    EXPECT_EQ(paths, QStringList({ "Left", "Top", "Width", "Height", "Locked", "Unselectable", "StartingVector",
                         "Degrees", "Font.Color", "Font.Height", "Font.Name", "Font.Style", "Mirror",
                         "DrawLettersAngled", "BorderStyle", "ControlTransparent", "BGColor", "Caption" }));

    const std::vector<std::function<void(TQPCircleText&)>> changes = {
        [](TQPCircleText&) {},
        [](TQPCircleText& o) {
            o.SetStartingVector(ArcDegrees::Deg270);
            o.SetDegrees(ArcDegrees::Deg90);
            o.SetMirror(true);
        },
        [](TQPCircleText& o) {
            o.SetDrawLettersAngled(false);
            o.SetBorderStyle(LabelBorder::Single);
            o.SetControlTransparent(false);
            o.SetBGColor(0x123456);
        },
        [](TQPCircleText& o) {
            o.Font()->SetName("Times New Roman");
            o.Font()->SetSize(30);
            o.Font()->SetColor(clBlue);
            o.SetCaption(QString(300, QChar('x')));
        },
    };
    for (size_t i = 0; i < changes.size(); ++i) {
        changes[i](*c);
        const QByteArray bytes = TQLabelObjectFiler::WriteObjects({ c });
        FakeParent other;
        TQLabelObjectFiler filer;
        const auto read = filer.ReadObjects(bytes, &other.Owner, &other, other.AdoptFunction());
        ASSERT_EQ(read.size(), 1u) << i;
        auto* back = qobject_cast<TQPCircleText*>(read.front());
        ASSERT_NE(back, nullptr) << i;
        EXPECT_EQ(TQLabelObjectFiler::WriteObjects({ back }), bytes) << i;
        EXPECT_EQ(RenderObject(*back), RenderObject(*c)) << i;
    }
}

TEST_F(CircleFixture, PropertiesDialogTriesSettingsOnThePreview)
{
    TQPCircleText* c = make(180, 180, "Original");
    const QImage before = RenderObject(*c);

    // Cancel leaves the object as it was, whatever was tried.
    modal->dialogs.push_back([](QDialog& d) {
        auto& p = static_cast<TCircleTextProperties&>(d);
        p.CaptionText()->setText("Tried");
        p.DegreesBar()->setValue(2);
        return int(mrCancel);
    });
    EXPECT_FALSE(c->ShowProperties());
    EXPECT_EQ(c->Caption(), "Original");
    EXPECT_EQ(RenderObject(*c), before);

    // Ok takes everything back; an empty text first keeps the dialog open.
    std::vector<QString> seen;
    modal->dialogs.push_back([&](QDialog& d) {
        auto& p = static_cast<TCircleTextProperties&>(d);
        EXPECT_EQ(p.CaptionText()->text(), "Original");
        EXPECT_EQ(p.DegreesBar()->value(), 4);
        EXPECT_EQ(p.StartingAngleBar()->value(), 2);
        seen.push_back(p.DegreesLabel()->text());
        p.CaptionText()->clear();
        p.findChild<QPushButton*>("OkButton")->click();
        EXPECT_EQ(p.result(), 0);
        p.CaptionText()->setText("Half way");
        p.DegreesBar()->setValue(2);
        p.StartingAngleBar()->setValue(1);
        seen.push_back(p.DegreesLabel()->text());
        seen.push_back(p.StartingAngleLabel()->text());
        p.findChild<QCheckBox*>("cbMirrored")->setChecked(true);
        p.findChild<QPushButton*>("ZoomMinusButton")->click();
        seen.push_back(p.ZoomLabel()->text());
        p.findChild<QPushButton*>("ZoomPlusButton")->click();
        p.findChild<QPushButton*>("ZoomPlusButton")->click(); // already at 100%
        seen.push_back(p.ZoomLabel()->text());
        EXPECT_EQ(p.Preview()->Caption(), "Half way");
        p.findChild<QPushButton*>("OkButton")->click();
        return p.result();
    });
    EXPECT_TRUE(c->ShowProperties());
    ASSERT_EQ(modal->messages.size(), 1u);
    EXPECT_EQ(modal->messages[0].text, "Please enter some text");
    EXPECT_EQ(modal->messages[0].caption, "Information");
    EXPECT_EQ(seen, std::vector<QString>({ "360 degrees", "180 degrees", "90 degrees", "90%", "100%" }));
    EXPECT_EQ(c->Caption(), "Half way");
    EXPECT_EQ(c->Degrees(), ArcDegrees::Deg180);
    EXPECT_EQ(c->StartingVector(), ArcDegrees::Deg90);
    EXPECT_TRUE(c->Mirror());
    EXPECT_EQ(c->Width(), 180);
    EXPECT_EQ(c->Height(), 180);
}

TEST_F(CircleFixture, FontSizeStepsStopAtTheirLimits)
{
    struct Case {
        int start;
        const char* button;
        int clicks;
        int expected;
    };
    const Case cases[] = {
        { 12, "Down", 1, 7 }, { 12, "Down", 3, 7 }, { 10, "Down", 1, 10 },
        { 140, "Up", 1, 145 }, { 148, "Up", 3, 153 }, { 150, "Up", 1, 150 },
    };
    for (const Case& k : cases) {
        TCircleTextProperties d;
        d.Preview()->Font()->SetSize(k.start);
        auto* pair = d.findChild<QWidget*>("RapidChangeFontSize");
        for (int i = 0; i < k.clicks; ++i)
            pair->findChild<QToolButton*>(k.button)->click();
        EXPECT_EQ(d.Preview()->Font()->Size(), k.expected) << k.start << k.button << k.clicks;
    }
}

TEST_F(CircleFixture, PrintsTheLettersAsTextWhereTheScreenHasThem)
{
    TQPCircleText* c = make(192, 192, "CARDORA");
    c->SetBounds(96, 48, 192, 192);
    c->Font()->SetSize(14);
    const QImage screen = RenderObject(*c, 0);
    const QRect screenInk = MatchBounds(screen, IsInk);
    ASSERT_FALSE(screenInk.isNull());

    // On a 300 dpi page with the card at (0.5, 0.25) inch the ink lands
    // where the screen's ink is, scaled by 300/96.
    TPageMetrics m;
    m.paperInches = QSizeF(4.0, 4.0);
    m.xDpi = m.yDpi = 300;
    TRecordingReport report(m);
    report.OnPrint = [&](TReport& r) { c->PrintAtResolution(r, 0.5, 0.25, 96); };
    ASSERT_TRUE(report.Execute());
    const QImage page = report.RenderPage(0);
    const QRect printed = MatchBounds(page, IsInk);
    const double k = 300.0 / 96.0;
    EXPECT_NEAR(printed.left(), 150 + (96 + screenInk.left()) * k, 2 * k);
    EXPECT_NEAR(printed.top(), 75 + (48 + screenInk.top()) * k, 2 * k);
    EXPECT_NEAR(printed.right(), 150 + (96 + screenInk.right() + 1) * k, 2 * k);
    EXPECT_NEAR(printed.bottom(), 75 + (48 + screenInk.bottom() + 1) * k, 2 * k);

    // In a PDF every letter is text.
    QString text = cardora::test::PrintedPdfText([&](TReport& r) { c->PrintAt(r, 1.0, 1.0); });
    text.remove(QRegularExpression("\\s"));
    for (const QChar ch : QStringLiteral("CARDORA"))
        EXPECT_TRUE(text.contains(ch)) << text.toStdString();
    EXPECT_EQ(text.size(), 7) << text.toStdString();
}

TEST_F(CircleFixture, AnEmptyFontNameFromAFileStillPaintsAndPrints)
{
    TQPCircleText* c = make(120, 120, "ABCDEF");
    c->Font()->SetName("");
    EXPECT_GT(CountIn(RenderObject(*c, 0), IsInk, QRect(0, 0, 120, 120)), 20);
    TPageMetrics m;
    m.paperInches = QSizeF(2, 2);
    m.xDpi = m.yDpi = 150;
    TRecordingReport report(m);
    report.OnPrint = [&](TReport& r) { c->PrintAtResolution(r, 0, 0, 96); };
    ASSERT_TRUE(report.Execute());
    EXPECT_GT(CountIn(report.RenderPage(0), IsInk, QRect(0, 0, 300, 300)), 20);
}
