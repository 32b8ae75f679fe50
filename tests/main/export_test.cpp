#include "core/app_folder.h"
#include "main/main_window.h"
#include "support/plain_object.h"
#include "support/scripted_modal.h"
#include "surface/card_panel.h"
#include <QDir>
#include <QImageReader>
#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace cardora;
using cardora::test::PlainObject;
using cardora::test::ScriptedModal;

TEST(Export, BitmapAtZoomOneWithBorderAndCardCountsAsUnchanged)
{
    QTemporaryDir folder;
    SetApplicationFolder(folder.path());
    auto modal = ScriptedModal::Install();
    {
        MainWindow window;
        window.show();
        window.firstActivation();
        auto* o = new PlainObject(&window);
        window.cardPanel()->AddObject(o);
        o->SetBounds(20, 20, 40, 30);
        o->SetLeft(30);
        ASSERT_TRUE(window.context().card().changesMade);
        for (int i = 0; i < 3; ++i)
            window.zoomIn();
        const QString bmp = folder.filePath("card.BMP");
        modal->fileNames = { bmp };
        modal->answers = { mrYes }; // a border
        window.exportCommands().saveAsBitmap();
        EXPECT_EQ(modal->fileRequests.back().title, "Save Card As Bitmap");
        EXPECT_EQ(modal->fileRequests.back().fileName, ApplicationFolder() + "BusinessCard.Bmp");
        EXPECT_EQ(modal->messages.back().text, "Saved as " + bmp);
        // The picture is the card's own size; the view keeps the user's zoom.
        EXPECT_EQ(window.findChild<QLabel*>("ZoomCaption")->text(), "130%");
        EXPECT_FALSE(window.context().card().changesMade);
        QImageReader reader(bmp);
        EXPECT_EQ(reader.format(), "bmp");
        const QImage img = reader.read();
        ASSERT_EQ(img.size(), QSize(336, 192));
        for (QPoint p : { QPoint(0, 0), QPoint(335, 0), QPoint(0, 191), QPoint(335, 191), QPoint(100, 191) })
            EXPECT_EQ(img.pixel(p) & 0xFFFFFF, 0x000000u) << p.x() << "," << p.y();
        EXPECT_EQ(img.pixel(1, 1) & 0xFFFFFF, 0xFFFFFFu);
        EXPECT_EQ(img.pixel(40, 30) & 0xFFFFFF, 0xFF0000u);

        // JPEG without a border, named after the card.
        const QString jpg = folder.filePath("card.JPG");
        modal->fileNames = { jpg };
        modal->answers = { mrNo };
        window.exportCommands().saveAsJpeg();
        EXPECT_EQ(modal->fileRequests.back().title, "Save Card As JPG");
        QImageReader jr(jpg);
        EXPECT_EQ(jr.format(), "jpeg");
        const QImage j = jr.read();
        ASSERT_EQ(j.size(), QSize(336, 192));
        EXPECT_GT(qGray(j.pixel(0, 100)), 200); // no border

        // A picture that cannot be written is reported, not announced as saved,
        // and the card still counts as changed; the card file is never a target.
        o->SetLeft(31);
        ASSERT_TRUE(window.context().card().changesMade);
        struct Failing {
            QString path;
            const char* message;
        };
        const std::vector<Failing> failing = {
            { folder.filePath("missing/card.BMP"), "Cannot create file " },
            { folder.path(), "it is a folder" },
        };
        for (const Failing& f : failing) {
            SCOPED_TRACE(f.path.toStdString());
            modal->fileNames = { f.path };
            modal->answers = { mrNo };
            window.exportCommands().saveAsBitmap();
            EXPECT_TRUE(modal->messages.back().text.contains(f.message)) << modal->messages.back().text.toStdString();
            EXPECT_TRUE(window.context().card().changesMade);
        }
    }
    SetModalHandler(nullptr);
}

TEST(Export, JpegLeavesNoScratchFileAndFailedExportsAreReported)
{
    QTemporaryDir folder;
    SetApplicationFolder(folder.path());
    QDir(folder.path()).mkdir("taken.JPG");
    auto modal = ScriptedModal::Install();
    const struct {
        const char* what;
        bool jpeg;
        QString target;
        bool saved;
    } cases[] = {
        { "JPEG beside nothing else", true, folder.filePath("card.JPG"), true },
        { "bitmap into a missing folder", false, folder.filePath("missing/card.BMP"), false },
        { "JPEG over a folder of that name", true, folder.filePath("taken.JPG"), false },
    };
    {
        MainWindow window;
        window.show();
        window.firstActivation();
        for (const auto& c : cases) {
            SCOPED_TRACE(c.what);
            const QStringList before = QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
            modal->fileNames = { c.target };
            modal->answers = { mrNo };
            c.jpeg ? window.exportCommands().saveAsJpeg() : window.exportCommands().saveAsBitmap();
            const QString last = modal->messages.back().text;
            if (c.saved) {
                EXPECT_EQ(last, "Saved as " + c.target);
                EXPECT_FALSE(QImage(c.target).isNull());
                QStringList after = QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
                EXPECT_TRUE(after.removeOne("card.JPG"));
                EXPECT_EQ(after, before);
            } else {
                EXPECT_NE(last, "Saved as " + c.target);
                EXPECT_EQ(modal->messages.back().style, MessageStyle::Error);
                EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
            }
        }
    }
    SetModalHandler(nullptr);
}
