// Pictures from outside the program: the system clipboard's picture (image
// data, a copied file, SVG text) pasted onto the card, and picture files
// dropped from a file manager, each as an image object keeping its bytes.
#include "core/clock.h"
#include "imaging/picture.h"
#include "objects/pictures/image_object.h"
#include "support/scripted_modal.h"
#include "surface/card_panel.h"
#include "surface/object_kinds.h"
#include "surface/panel_picture_intake.h"
#include <QBuffer>
#include <QClipboard>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QMimeData>
#include <QUrl>
#include <functional>
#include <gtest/gtest.h>

using namespace cardora;
using cardora::test::ScriptedModal;

namespace {

QString Sample(const char* name) { return QStringLiteral(CARDORA_TEST_DATA "/pictures/") + name; }

QByteArray PngBytes(QSize size)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(qRgba(0, 0, 255, 128));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(image);
    return bytes;
}

struct IntakeFixture : ::testing::Test {
    QObject owner;
    CardPanel panel { nullptr, &owner };

    void SetUp() override
    {
        RegisterCardObjectKinds();
        panel.SetPanelSize(336, 192);
        QFile::remove(panel.ClipFileName());
        // Pastes closer than a second apart are ignored; each here is later.
        SetTickSourceForTesting([t = std::uint32_t(0)]() mutable { return t += 5000; });
    }
    void TearDown() override
    {
        QGuiApplication::clipboard()->clear();
        SetTickSourceForTesting(nullptr);
    }

    std::vector<TQImage*> images()
    {
        std::vector<TQImage*> out;
        for (TQGraphicControl* o : panel.Objects())
            if (auto* i = qobject_cast<TQImage*>(o))
                out.push_back(i);
        return out;
    }
};

} // namespace

TEST_F(IntakeFixture, PastedPicturesBecomeSelectedImageObjects)
{
    const struct {
        const char* what;
        std::function<QMimeData*()> data;
        const char* className;
        QSize box;
    } cases[] = {
        { "PNG data from a browser", [] {
              auto* m = new QMimeData;
              m->setData("image/png", PngBytes(QSize(40, 20)));
              return m;
          }, "TPngImage", { 40, 20 } },
        { "a screenshot tool's image", [] {
              auto* m = new QMimeData;
              QImage shot(30, 10, QImage::Format_RGB32);
              shot.fill(Qt::red);
              m->setImageData(shot);
              return m;
          }, "TPngImage", { 30, 10 } },
        { "a file manager's copied SVG file", [] {
              auto* m = new QMimeData;
              m->setUrls({ QUrl::fromLocalFile(Sample("logos/hand.svg")) });
              return m;
          }, "TSvgImage", { 96, 48 } },
        { "SVG text", [] {
              auto* m = new QMimeData;
              m->setData("image/svg+xml", R"(<svg xmlns="http://www.w3.org/2000/svg" width="20" height="10"/>)");
              return m;
          }, "TSvgImage", { 20, 10 } },
        { "a picture larger than the card shrinks to fit", [] {
              auto* m = new QMimeData;
              m->setData("image/png", PngBytes(QSize(1000, 200)));
              return m;
          }, "TPngImage", { 336, 67 } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QGuiApplication::clipboard()->setMimeData(c.data());
        ASSERT_TRUE(TPanelPictureIntake::ClipboardHoldsPicture());
        const size_t before = images().size();
        panel.SelectionCommand(CardCommand::Paste);
        ASSERT_EQ(images().size(), before + 1);
        TQImage* pasted = images().back();
        EXPECT_EQ(pasted->Picture().ClassName(), c.className);
        EXPECT_EQ(pasted->BoundsRect().size(), c.box);
        EXPECT_TRUE(panel.IsSelected(pasted));
        EXPECT_EQ(panel.SelectionCount(), 1);
        // Within the card.
        EXPECT_TRUE(QRect(0, 0, 336, 192).contains(pasted->BoundsRect()));
    }
}

TEST_F(IntakeFixture, TheProgramsOwnLaterCopyPastesItsObjects)
{
    auto* m = new QMimeData;
    m->setData("image/png", PngBytes(QSize(40, 20)));
    QGuiApplication::clipboard()->setMimeData(m);
    panel.SelectionCommand(CardCommand::Paste);
    ASSERT_EQ(images().size(), 1u);
    // Copying the pasted picture inside the program: Paste then gives the
    // copied object again (not the clipboard's picture), until the clipboard
    // changes.
    panel.SelectionCommand(CardCommand::Copy);
    panel.SelectionCommand(CardCommand::Paste);
    ASSERT_EQ(images().size(), 2u);
    EXPECT_EQ(images()[1]->Picture().ClassName(), "TPngImage");
    auto* again = new QMimeData;
    again->setData("image/svg+xml", R"(<svg xmlns="http://www.w3.org/2000/svg" width="20" height="10"/>)");
    QGuiApplication::clipboard()->setMimeData(again);
    panel.SelectionCommand(CardCommand::Paste);
    ASSERT_EQ(images().size(), 3u);
    EXPECT_EQ(images()[2]->Picture().ClassName(), "TSvgImage");
}

TEST_F(IntakeFixture, AnUnreadableCopiedFileIsReportedAndNothingPlaced)
{
    auto modal = ScriptedModal::Install();
    auto* m = new QMimeData;
    m->setUrls({ QUrl::fromLocalFile(Sample("refused/outside_image.svg")) });
    QGuiApplication::clipboard()->setMimeData(m);
    panel.SelectionCommand(CardCommand::Paste);
    EXPECT_TRUE(images().empty());
    ASSERT_EQ(modal->messages.size(), 1u);
    EXPECT_TRUE(modal->messages.front().text.contains("refers to other files")) << modal->messages.front().text.toStdString();
    SetModalHandler(nullptr);
}

TEST_F(IntakeFixture, DroppedPictureFilesArePlacedWhereDropped)
{
    auto modal = ScriptedModal::Install();
    const struct {
        const char* file;
        QPoint at;
        bool placed;
        QRect box;
    } cases[] = {
        { "logos/magick_rgba.png", { 100, 50 }, true, { 96, 47, 8, 6 } },
        { "logos/hand.svg", { 330, 190 }, true, { 240, 144, 96, 48 } }, // kept within the card
        { "netpbm_24.bmp", { 20, 20 }, true, { 16, 17, 8, 6 } },
        { "refused/huge_declared.png", { 50, 50 }, false, {} },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        modal->messages.clear();
        QMimeData data;
        data.setUrls({ QUrl::fromLocalFile(Sample(c.file)) });
        QDragEnterEvent enter(c.at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&panel, &enter);
        EXPECT_TRUE(enter.isAccepted());
        const size_t before = images().size();
        QDropEvent drop(QPointF(c.at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&panel, &drop);
        ASSERT_EQ(images().size(), before + (c.placed ? 1 : 0));
        EXPECT_EQ(modal->messages.empty(), c.placed);
        if (c.placed)
            EXPECT_EQ(images().back()->BoundsRect(), c.box);
    }
    // Files that are no pictures are not taken.
    QMimeData text;
    text.setUrls({ QUrl::fromLocalFile(Sample("../ini")) });
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&panel, &enter);
    EXPECT_FALSE(enter.isAccepted());
    SetModalHandler(nullptr);
}
