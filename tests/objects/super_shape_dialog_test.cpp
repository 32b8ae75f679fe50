#include "core/app_folder.h"
#include "fake_parent.h"
#include "objects/supershape/super_shape.h"
#include "objects/supershape/super_shape_dialog.h"
#include "objects/texture_browser.h"
#include "support/scripted_modal.h"
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <gtest/gtest.h>

using namespace cardora;
using namespace cardora::test;

namespace {

void choose(QDialog& d, const char* list, int index)
{
    auto* combo = d.findChild<QComboBox*>(QLatin1String(list));
    ASSERT_NE(combo, nullptr) << list;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

TSuperShapeProperties& props(QDialog& d) { return static_cast<TSuperShapeProperties&>(d); }

QString writeTexture(const QString& folder, const QString& name, QRgb colour)
{
    QDir().mkpath(folder);
    QImage t(16, 8, QImage::Format_RGB32);
    t.fill(colour);
    const QString path = folder + "/" + name;
    t.save(path, "BMP");
    return path;
}

struct SuperShapeDialogTest : ::testing::Test {
    FakeParent parent;
    std::shared_ptr<ScriptedModal> modal;
    TSuperShape* shape = nullptr;

    void SetUp() override
    {
        modal = ScriptedModal::Install();
        shape = new TSuperShape(&parent.Owner);
        parent.Adopt(shape);
        shape->SetBounds(10, 10, 120, 80);
    }
    void TearDown() override { SetModalHandler(nullptr); }
};

} // namespace

// What the dialog hands back on OK, and that Cancel changes nothing.
TEST_F(SuperShapeDialogTest, ControlsChangeTheSampleAndOkAppliesThem)
{
    struct Case {
        const char* what;
        std::function<void(TSuperShape&)> before;
        std::function<int(QDialog&)> fill;
        std::function<void(const TSuperShape&)> check;
    };
    const Case cases[] = {
        { "transparent with a clear outline keeps an outline",
            [](TSuperShape& s) { s.SetOutlineStyle(PenStyle::Clear); },
            [](QDialog& d) {
                choose(d, "SurfaceList", int(ShapeSurface::Transparent));
                EXPECT_EQ(props(d).Sample()->OutlineStyle(), PenStyle::Solid);
                // The list is not refreshed.
                EXPECT_EQ(d.findChild<QComboBox*>("OutlineStyleList")->currentIndex(), int(PenStyle::Clear));
                return int(mrOk);
            },
            [](const TSuperShape& s) {
                EXPECT_EQ(s.SurfaceType(), ShapeSurface::Transparent);
                EXPECT_EQ(s.OutlineStyle(), PenStyle::Solid);
                EXPECT_EQ(s.ShadowOrient(), ShadowCorner::NoShadow);
            } },
        { "a seven-pointed star with 30 % inward, from a rectangle",
            [](TSuperShape& s) { s.SetShape(SuperShapeKind::Rectangle); },
            [](QDialog& d) {
                choose(d, "ShapeList", int(SuperShapeKind::Star));
                d.findChild<QSpinBox*>("PointsSpinner")->setValue(7);
                d.findChild<QSpinBox*>("InwardSpinner")->setValue(30);
                choose(d, "ShadowOrientList", int(ShadowCorner::UpperLeft));
                d.findChild<QSpinBox*>("ShadowDepthSpinner")->setValue(8);
                d.findChild<QSpinBox*>("OutlineWidthSpinner")->setValue(4);
                choose(d, "FillDirectionList", int(FillDirection::Right));
                return int(mrOk);
            },
            [](const TSuperShape& s) {
                EXPECT_EQ(s.Shape(), SuperShapeKind::Star);
                EXPECT_EQ(s.Vectors(), 14);
                EXPECT_EQ(s.InVectorPercent(), 30);
                EXPECT_EQ(s.ShadowOrient(), ShadowCorner::UpperLeft);
                EXPECT_EQ(s.ShadowDepth(), 8);
                EXPECT_EQ(s.OutlineWidth(), 4);
                EXPECT_EQ(s.FillDirection(), FillDirection::Right);
                EXPECT_EQ(s.Width(), 120); // the size is not copied back
            } },
        { "a star with no inward vector stays so",
            [](TSuperShape& s) { s.SetShape(SuperShapeKind::Ellipse); },
            [](QDialog& d) {
                choose(d, "ShapeList", int(SuperShapeKind::Star));
                d.findChild<QSpinBox*>("InwardSpinner")->setValue(0);
                return int(mrOk);
            },
            [](const TSuperShape& s) { EXPECT_EQ(s.InVectorPercent(), 0); } },
        { "cancel",
            [](TSuperShape&) {},
            [](QDialog& d) {
                choose(d, "ShapeList", int(SuperShapeKind::TriangleDown));
                choose(d, "SurfaceList", int(ShapeSurface::Pattern));
                return int(mrCancel);
            },
            [](const TSuperShape& s) {
                EXPECT_EQ(s.Shape(), SuperShapeKind::Star);
                EXPECT_EQ(s.SurfaceType(), ShapeSurface::Gradient);
            } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TSuperShape* s = new TSuperShape(&parent.Owner);
        parent.Adopt(s);
        s->SetBounds(0, 0, 120, 80);
        c.before(*s);
        const int changes = parent.ChangedCount;
        modal->dialogs.push_back(c.fill);
        s->EditProperties();
        c.check(*s);
        EXPECT_EQ(parent.ChangedCount > changes, std::string(c.what) != "cancel");
    }
}

// Texture to gradient and back in the dialog brings the texture back; the
// browser starts in "bmbrush" and its choice becomes the texture and the
// remembered file.
TEST_F(SuperShapeDialogTest, TextureComesFromTheBrowserAndSurvivesASurfaceRoundTrip)
{
    const QString brushes = ApplicationFolder() + "bmbrush";
    const QString file = writeTexture(brushes, "green.bmp", qRgb(0, 255, 0));
    writeTexture(brushes, "other.bmp", qRgb(0, 0, 255));

    modal->dialogs.push_back([&](QDialog& d) {
        choose(d, "SurfaceList", int(ShapeSurface::Image));
        d.findChild<QPushButton*>("LoadTextureButton")->click();
        EXPECT_EQ(props(d).Sample()->Image().pixel(0, 0), qRgb(0, 255, 0));
        choose(d, "SurfaceList", int(ShapeSurface::Gradient));
        EXPECT_TRUE(props(d).Sample()->Image().isNull());
        choose(d, "SurfaceList", int(ShapeSurface::Image));
        EXPECT_EQ(props(d).Sample()->Image().size(), QSize(16, 8));
        return int(mrOk);
    });
    modal->dialogs.push_back([&](QDialog& d) {
        auto& browser = static_cast<TQBrushImageBrowser&>(d);
        EXPECT_EQ(QDir(browser.Folder()), QDir(brushes));
        EXPECT_EQ(browser.FileList()->count(), 2);
        browser.SelectFile("green.bmp");
        return int(mrOk);
    });
    shape->EditProperties();
    EXPECT_EQ(shape->SurfaceType(), ShapeSurface::Image);
    EXPECT_EQ(shape->Image().pixel(3, 3), qRgb(0, 255, 0));
    EXPECT_EQ(QFileInfo(shape->LastBitmapFileNameandPath()), QFileInfo(file));

    // Next time the browser opens on that file.
    modal->dialogs.push_back([&](QDialog& d) {
        d.findChild<QPushButton*>("LoadTextureButton")->click();
        return int(mrCancel);
    });
    modal->dialogs.push_back([&](QDialog& d) {
        auto& browser = static_cast<TQBrushImageBrowser&>(d);
        EXPECT_EQ(browser.FileList()->currentItem()->text(), "green.bmp");
        EXPECT_FALSE(browser.Texture().isNull());
        return int(mrCancel);
    });
    shape->EditProperties();
    EXPECT_TRUE(modal->dialogs.empty());
}

// Files that do not load empty the texture; only bitmap names say so.
TEST_F(SuperShapeDialogTest, BrowserReportsOnlyBitmapFailures)
{
    const QString folder = ApplicationFolder() + "broken";
    QDir().mkpath(folder);
    struct Case {
        const char* name;
        QByteArray bytes;
        bool loads;
        bool message;
    };
    const QString okFile = writeTexture(folder, "ok.bmp", qRgb(255, 0, 0));
    QFile okBytes(okFile);
    okBytes.open(QIODevice::ReadOnly);
    const QByteArray good = okBytes.readAll();
    const Case cases[] = {
        { "ok.bmp", good, true, false },
        { "bad.bmp", "BMnot a bitmap", false, true },
        { "bad.jpg", "not a jpeg", false, false },
        { "copy.DIB", good, true, false },
    };
    TQBrushImageBrowser browser;
    for (const Case& c : cases) {
        QFile f(folder + "/" + c.name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.bytes);
        f.close();
    }
    browser.SetFolder(folder);
    EXPECT_EQ(browser.FileList()->count(), 4);
    for (const Case& c : cases) {
        modal->messages.clear();
        browser.SelectFile(c.name);
        EXPECT_EQ(!browser.Texture().isNull(), c.loads) << c.name;
        EXPECT_EQ(modal->messages.size(), c.message ? 1u : 0u) << c.name;
        if (c.message)
            EXPECT_EQ(modal->messages[0].text, "Error loading file!");
    }
    // Without a remembered file or a "bmbrush" folder the browser opens the application folder.
    TQBrushImageBrowser fresh;
    fresh.Start(folder + "/missing.bmp", { "no-such-folder" });
    EXPECT_EQ(QDir(fresh.Folder()), QDir(ApplicationFolder()));
}
