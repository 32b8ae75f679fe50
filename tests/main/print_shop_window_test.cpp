// The print-shop settings, the bleed band and guides on the panel, saving
// objects in the bleed, and File › Export for Print Shop with its pre-flight
// list, used through the window as a person would.
#include "window_fixture.h"
#include "core/app_folder.h"
#include "main/print_shop_dialogs.h"
#include "support/card_builder.h"
#include "support/pdf_info.h"
#include "surface/card_panel.h"
#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <cmath>

using namespace cardora;
using namespace cardora::test;

namespace {

struct PrintShopWindow : MainWindowFixture {
    QString ini() const
    {
        QFile f(PreferencesFileName());
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
    }
    // Edit › Print Shop Settings: presses the preset button, sets the guides.
    void settings(const char* preset, bool guides)
    {
        modal->dialogs.push_back([=](QDialog& d) {
            d.findChild<QPushButton*>(preset)->click();
            d.findChild<QCheckBox*>("GuidesCheck")->setChecked(guides);
            return mrOk;
        });
        window->printShopCommands().editSettings();
    }
    QWidget* band() const { return window->findChild<QWidget*>("BleedBand"); }
    CardPanel& panel() const { return *window->cardPanel(); }
};

TEST_F(PrintShopWindow, BleedPresetsReachTheIniAndThePanel)
{
    {
        QFile f(PreferencesFileName());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("; kept as written\r\n[Mine]\r\nKey = Value\r\n");
    }
    start();
    EXPECT_FALSE(band()->isVisible()) << "no bleed, no band";
    struct Case {
        const char* preset;
        int microns;
        bool guides;
    };
    for (const Case c : { Case { "ThreeMmButton", 3000, true }, Case { "EighthInchButton", 3175, false },
             Case { "NoBleedButton", 0, true } }) {
        settings(c.preset, c.guides);
        const QString text = ini();
        EXPECT_TRUE(text.contains(QString("Bleed=%1").arg(c.microns))) << c.preset << "\n" << text.toStdString();
        EXPECT_TRUE(text.contains(QString("ShowGuides=%1").arg(c.guides ? 1 : 0))) << c.preset;
        EXPECT_TRUE(text.startsWith("; kept as written\r\n[Mine]\r\nKey = Value\r\n")) << text.toStdString();
        EXPECT_NEAR(panel().Bleed(), c.microns / 25400.0 * 96, 1e-6) << c.preset;
        EXPECT_EQ(panel().ShowGuides(), c.guides);
        EXPECT_EQ(window->Action("mnuShowGuides")->isChecked(), c.guides);
        EXPECT_EQ(band()->isVisible(), c.microns > 0) << c.preset;
        if (c.microns > 0) {
            const int b = int(std::ceil(c.microns / 25400.0 * 96));
            EXPECT_EQ(band()->geometry(), panel().geometry().adjusted(-b, -b, b, b)) << c.preset;
        }
    }
    // The band follows the zoom; the guides switch from the View menu.
    settings("ThreeMmButton", true);
    window->zoomIn();
    window->zoomIn();
    const int b = int(std::ceil(3 / 25.4 * 96 * panel().Zoom() - 0.01));
    EXPECT_EQ(band()->geometry(), panel().geometry().adjusted(-b, -b, b, b));
    window->Action("mnuShowGuides")->trigger();
    EXPECT_FALSE(panel().ShowGuides());
    EXPECT_TRUE(ini().contains("ShowGuides=0"));
    // What the next start reads.
    window.reset();
    start();
    EXPECT_NEAR(panel().Bleed(), 3 / 25.4 * 96, 1e-6);
    EXPECT_FALSE(window->Action("mnuShowGuides")->isChecked());
}

TEST_F(PrintShopWindow, GuidesShowOnThePanelAndNeverInWhatPrints)
{
    start();
    settings("EighthInchButton", true);
    auto greenOn = [](const QImage& img, int x) {
        int green = 0;
        for (int y = 20; y < 170; ++y) {
            const QRgb c = img.pixel(x, y);
            green += qGreen(c) > 120 && qRed(c) < 60 && qBlue(c) < 60;
        }
        return green;
    };
    // The safe-area line lies 1/8 in (12 pixels) inside the trim.
    const QImage shown = panel().grab().toImage();
    EXPECT_GT(greenOn(shown, 12), 20) << "the safe-area line on the panel";
    EXPECT_EQ(greenOn(panel().RenderCardBitmap(), 12), 0) << "the card picture has no guides";
    window->Action("mnuShowGuides")->trigger();
    EXPECT_EQ(greenOn(panel().grab().toImage(), 12), 0) << "guides switched off";
}

TEST_F(PrintShopWindow, ObjectsInTheBleedAreKeptOnSave)
{
    start();
    settings("EighthInchButton", false);
    AddKind(*window, panel(), "TBCShapes", QRect(40, 40, 30, 20), QString());   // on the card
    AddKind(*window, panel(), "TBCShapes", QRect(-11, 60, 10, 20), QString());  // all in the bleed
    AddKind(*window, panel(), "TBCShapes", QRect(340, 100, 10, 20), QString()); // in the right bleed
    AddKind(*window, panel(), "TBCShapes", QRect(-40, 60, 20, 20), QString());  // beyond it
    AddKind(*window, panel(), "TBCShapes", QRect(100, 210, 20, 20), QString()); // beyond it, below
    const QString card = folder.filePath("bleed.CDW");
    modal->fileNames = { card };
    ASSERT_TRUE(window->fileCommands().saveAs());
    EXPECT_EQ(panel().Objects().size(), 3u);
    window->fileCommands().openCard(card);
    EXPECT_EQ(panel().Objects().size(), 3u);
}

TEST_F(PrintShopWindow, ExportForPrintShopShowsThePreflightListFirst)
{
    start();
    settings("ThreeMmButton", false);
    AddKind(*window, panel(), "TQBusinessCardLabel", QRect(4, 4, 120, 16), "small print",
        [](TQGraphicControl& o) { o.Font()->SetSize(5); });
    AddKind(*window, panel(), "TBCShapes", QRect(-12, 150, 360, 60), QString());
    QStringList listed;
    modal->dialogs.push_back([&](QDialog& d) {
        auto* list = d.findChild<QListWidget*>("WarningList");
        for (int i = 0; i < list->count(); ++i)
            listed << list->item(i)->text();
        d.findChild<QCheckBox*>("CropMarksCheck")->setChecked(true);
        return mrOk;
    });
    const QString pdf = folder.filePath("for-the-shop.pdf");
    modal->fileNames = { pdf };
    window->printShopCommands().exportForPrintShop();
    ASSERT_EQ(listed.size(), 2) << listed.join('\n').toStdString();
    EXPECT_TRUE(listed[0].contains("safe area")) << listed[0].toStdString();
    EXPECT_TRUE(listed[1].contains("too small")) << listed[1].toStdString();
    ASSERT_TRUE(QFileInfo::exists(pdf));
    EXPECT_EQ(modal->messages.back().text, "Saved as " + pdf);
    const auto boxes = PdfBoxesMm(pdf);
    EXPECT_NEAR(boxes["TrimBox"].width(), 88.9, 0.01);
    EXPECT_NEAR(boxes["BleedBox"].width(), 94.9, 0.01);
    EXPECT_GT(boxes["MediaBox"].width(), 94.9 + 10) << "room for the crop marks";
    EXPECT_TRUE(ini().contains("ShopCropMarks=1")) << "the crop marks are remembered";

    // Cancelled at the list: no file is asked for.
    const auto asked = modal->fileRequests.size();
    modal->dialogs.push_back([](QDialog&) { return mrCancel; });
    window->printShopCommands().exportForPrintShop();
    EXPECT_EQ(modal->fileRequests.size(), asked);
}

} // namespace
