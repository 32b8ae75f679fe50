#include "core/app_folder.h"
#include "main/window_fixture.h"
#include "objects/supershape/super_shape.h"
#include "objects/texture_browser.h"
#include "surface/card_panel.h"
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace cardora;
using namespace cardora::test;

namespace {
struct SuperShapeToolTest : MainWindowFixture {};
} // namespace

// The program starts with its textures in "bmbrush" and keeps a user's own
// file of the same name.
TEST_F(SuperShapeToolTest, BundledTexturesAreInstalledWithoutOverwriting)
{
    QDir(folder.path()).mkpath("bmbrush");
    QFile mine(folder.path() + "/bmbrush/wood.bmp");
    ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
    mine.write("mine");
    mine.close();
    start();
    const QStringList files = QDir(folder.path() + "/bmbrush").entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(files, QStringList({ "brushed-metal.bmp", "linen.bmp", "marble.bmp", "paper.bmp", "wood.bmp" }));
    EXPECT_EQ(QFileInfo(folder.path() + "/bmbrush/wood.bmp").size(), 4);
    EXPECT_TRUE(QFileInfo(folder.path() + "/Textures").isDir());
    for (const QString& name : { "paper.bmp", "linen.bmp", "marble.bmp", "brushed-metal.bmp" })
        EXPECT_EQ(LoadTextureFile(folder.path() + "/bmbrush/" + name).size(), QSize(64, 64)) << qPrintable(name);
}

// Press the tool, drag a box, pick a texture in the dialog.
TEST_F(SuperShapeToolTest, ToolDialogTextureAndCardFileEndToEnd)
{
    start();
    modal->dialogs.push_back([](QDialog& d) {
        auto* surface = d.findChild<QComboBox*>("SurfaceList");
        surface->setCurrentIndex(int(ShapeSurface::Image));
        emit surface->activated(int(ShapeSurface::Image));
        d.findChild<QPushButton*>("LoadTextureButton")->click();
        return int(mrOk);
    });
    modal->dialogs.push_back([](QDialog& d) {
        auto& browser = static_cast<TQBrushImageBrowser&>(d);
        browser.SelectFile("marble.bmp");
        return int(mrOk);
    });
    window->ToolButton("DrawSupershape")->click();
    CardPanel* panel = window->cardPanel();
    QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseMove(panel, QPoint(90, 60));
    QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(140, 100));
    ASSERT_EQ(panel->Objects().size(), 1u);
    auto* shape = qobject_cast<TSuperShape*>(panel->Objects()[0]);
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(panel->PanelState(), PanelTool::Pointing);
    EXPECT_TRUE(modal->dialogs.empty());
    EXPECT_EQ(shape->Shape(), SuperShapeKind::Star);
    EXPECT_EQ(shape->SurfaceType(), ShapeSurface::Image);
    EXPECT_EQ(shape->Image().size(), QSize(64, 64));
    EXPECT_TRUE(shape->LastBitmapFileNameandPath().endsWith("bmbrush/marble.bmp"));

    EXPECT_GT(shape->Width(), 50);
    // The card shows it at once.
    const QImage card = panel->RenderCardBitmap();
    EXPECT_NE(card.pixel(shape->Left() + shape->Width() / 2, shape->Top() + shape->Height() / 2), qRgb(255, 255, 255));
}
