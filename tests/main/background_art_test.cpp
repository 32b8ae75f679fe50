#include "core/app_folder.h"
#include "main/background_art_dialog.h"
#include "main/card_sidecar.h"
#include "support/scripted_modal.h"
#include "surface/card_panel.h"
#include <QDir>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include "main/window_fixture.h"

using namespace cardora;
using cardora::test::ScriptedModal;

namespace {
struct BackgroundFixture : cardora::test::MainWindowFixture {
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        start();
    }
    QString picture(const QString& path, QColor colour)
    {
        QImage img(40, 20, QImage::Format_RGB32);
        img.fill(colour);
        EXPECT_TRUE(img.save(path, "BMP"));
        return path;
    }
    // Answers the dialog by picking `name` from its list, then pressing a button.
    void answer(const QString& name, int result, QString* preselected = nullptr)
    {
        modal->dialogs.push_back([=](QDialog& d) {
            auto& dlg = dynamic_cast<TLoadBackGround&>(d);
            if (preselected)
                *preselected = dlg.SelectedPath();
            if (!name.isEmpty())
                EXPECT_TRUE(dlg.SelectFile(name));
            return result;
        });
    }
    QRgb cardPixel() { return window->cardPanel()->RenderCardBitmap().pixel(100, 100) & 0xFFFFFF; }
};
} // namespace

TEST_F(BackgroundFixture, ChosenArtMarksChangedIsSavedAndComesBackWithTheCard)
{
    picture(folder.filePath("bg/blue.BMP"), Qt::blue);
    answer("blue.bmp", mrOk);
    window->backgroundArtCommands().chooseBackgroundArt();
    EXPECT_EQ(window->context().card().backgroundArt, folder.filePath("bg/blue.BMP"));
    EXPECT_TRUE(window->context().card().changesMade);
    EXPECT_EQ(cardPixel(), 0x0000FFu); // stretched over the whole card

    const QString card = SavedFolder() + "art.CDW";
    ASSERT_TRUE(window->fileCommands().saveCard(card));
    QFile sidecar(SidecarFileName(card));
    ASSERT_TRUE(sidecar.open(QIODevice::ReadOnly));
    EXPECT_EQ(sidecar.readAll(), folder.filePath("bg/blue.BMP").toUtf8() + "\r\n");
    sidecar.close();

    window->fileCommands().newCard();
    EXPECT_EQ(cardPixel(), 0xFFFFFFu);
    window->fileCommands().openCard(card);
    EXPECT_EQ(window->context().card().backgroundArt, folder.filePath("bg/blue.BMP"));
    EXPECT_EQ(cardPixel(), 0x0000FFu);

    // None removes it at once; saving deletes the sidecar.
    answer(QString(), mrNoneChoice);
    window->backgroundArtCommands().chooseBackgroundArt();
    EXPECT_TRUE(window->context().card().backgroundArt.isEmpty());
    EXPECT_EQ(cardPixel(), 0xFFFFFFu);
    window->fileCommands().saveCard(card);
    EXPECT_FALSE(QFile::exists(SidecarFileName(card)));
}

TEST_F(BackgroundFixture, PreselectsTheCurrentPictureOrItsNameInTheCollection)
{
    QDir(folder.path()).mkdir("elsewhere");
    const QString outside = picture(folder.filePath("elsewhere/red.BMP"), Qt::red);
    QString preselected;
    modal->dialogs.push_back([&](QDialog& d) {
        auto& dlg = dynamic_cast<TLoadBackGround&>(d);
        dlg.SetFolder(folder.filePath("elsewhere"));
        EXPECT_TRUE(dlg.SelectFile("red.bmp"));
        return int(mrOk);
    });
    window->backgroundArtCommands().chooseBackgroundArt();
    ASSERT_EQ(window->context().card().backgroundArt, outside);

    answer(QString(), mrCancel, &preselected);
    window->backgroundArtCommands().chooseBackgroundArt();
    EXPECT_EQ(preselected, outside);
    EXPECT_EQ(window->context().card().backgroundArt, outside); // Cancel changes nothing

    // Moved into the collection: found there by name.
    ASSERT_TRUE(QFile::rename(outside, folder.filePath("bg/red.BMP")));
    answer(QString(), mrCancel, &preselected);
    window->backgroundArtCommands().chooseBackgroundArt();
    EXPECT_EQ(preselected, folder.filePath("bg/red.BMP"));
}

TEST_F(BackgroundFixture, OkWithoutSelectionStaysAndBadFilesAreReported)
{
    QFile bad(folder.filePath("bg/broken.bmp"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a picture");
    bad.close();
    TLoadBackGround dlg;
    dlg.SetFolder(folder.filePath("bg"));
    dlg.applyAndClose();
    EXPECT_EQ(dlg.result(), 0); // still open
    EXPECT_TRUE(dlg.SelectFile("broken.bmp"));
    ASSERT_FALSE(modal->messages.empty());
    EXPECT_EQ(modal->messages.back().text, "Error loading file!");
    dlg.applyAndClose();
    EXPECT_EQ(dlg.result(), int(mrOk));
}
