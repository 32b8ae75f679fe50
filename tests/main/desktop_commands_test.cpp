#include "core/ini_file.h"
#include "main/application.h"
#include "main/export_dialog.h"
#include "objects/class_registry.h"
#include "objects/shapes.h"
#include "support/plain_object.h"
#include "surface/card_panel.h"
#include "window_fixture.h"
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTest>
#include <sys/stat.h>

using namespace cardora;
using cardora::test::MainWindowFixture;
using cardora::test::PlainObject;

TEST(CommandLine, OneCardOrNothing)
{
    const QString here = QDir::currentPath();
    const struct {
        QStringList args;
        bool ok;
        QString card;
    } cases[] = {
        { { "cardora" }, true, "" },
        { { "cardora", "/cards/Smith.CDW" }, true, "/cards/Smith.CDW" },
        { { "cardora", "smith.cdw" }, true, here + "/smith.cdw" },
        { { "cardora", "a.cdw", "b.cdw" }, false, "" },
        { { "cardora", "--print" }, false, "" },
    };
    for (const auto& c : cases) {
        QString error;
        const auto card = CardFromArguments(c.args, &error);
        EXPECT_EQ(card.has_value(), c.ok) << c.args.join(' ').toStdString();
        if (card)
            EXPECT_EQ(*card, c.card);
        else
            EXPECT_EQ(error, "Usage: cardora [CARD.CDW]");
    }
}

TEST(CommandLine, SecondCopyHandsItsCardToTheFirst)
{
    const QString cases[] = { "", "/tmp/Smith.CDW", "/home/ann/My Cards/Büro 50%.cdw", "/x/new\nline.cdw" };
    for (const QString& card : cases)
        EXPECT_EQ(DecodeInstanceRequest(EncodeInstanceRequest(card)), card) << card.toStdString();
    EXPECT_EQ(EncodeInstanceRequest(""), "raise\n");
    EXPECT_EQ(DecodeInstanceRequest("open"), "");
}

namespace {
QString saveCard(TMainScreen& window, const QString& path, int objects)
{
    RegisterCardClass<PlainObject>();
    for (int i = 0; i < objects; ++i) {
        auto* o = new PlainObject(&window);
        window.BusinessCardPanel()->AddObject(o);
        o->SetBounds(10 + 30 * i, 10, 20, 20);
    }
    window.BusinessCardPanel()->SaveCardFile(path);
    window.BusinessCardPanel()->ClearObjects();
    return path;
}
} // namespace

TEST_F(MainWindowFixture, CardNamedOnTheCommandLineOpensAfterSaveChanges)
{
    start();
    const QString two = saveCard(*window, folder.filePath("two.CDW"), 2);
    const QString three = saveCard(*window, folder.filePath("THREE.cdw"), 3);
    window.reset();

    window = std::make_unique<TMainScreen>();
    window->SetStartupCard(two);
    window->show();
    window->FormActivate();
    EXPECT_EQ(window->CardFileName(), two);
    EXPECT_EQ(window->BusinessCardPanel()->Objects().size(), 2u);

    // A second copy started with another card: the changed card is offered for saving first.
    auto* o = new PlainObject(window.get());
    window->BusinessCardPanel()->AddObject(o);
    o->SetBounds(100, 100, 10, 10);
    o->SetLeft(110); // a change the user made
    ASSERT_TRUE(window->ChangesMade());
    modal->answers = { mrNo };
    window->BringForwardAndOpen(three);
    ASSERT_FALSE(modal->messages.empty());
    EXPECT_EQ(modal->messages.back().text, "Save changes?");
    EXPECT_EQ(window->CardFileName(), three);
    EXPECT_EQ(window->BusinessCardPanel()->Objects().size(), 3u);

    // Names that are not cards are refused with a message; the card stays.
    const QString fifo = folder.filePath("pipe.CDW");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const struct {
        QString path;
        QString message;
    } refused[] = {
        { folder.filePath("missing.CDW"), folder.filePath("missing.CDW") + " does not exist" },
        { folder.filePath("saved"), "Cannot open file " + folder.filePath("saved") + ": it is a folder" },
        { fifo, "Cannot open file " + fifo + ": it is not a regular file" },
        { PreferencesFileName(), "Must be a CDW (Cardora) file" },
    };
    for (const auto& r : refused) {
        window->OpenFromCommandLine(r.path);
        EXPECT_EQ(modal->messages.back().text, r.message);
        EXPECT_EQ(window->CardFileName(), three);
    }
}

// The first copy's side of the hand-off, through a real local socket.
TEST_F(MainWindowFixture, SecondCopysCardArrivesThroughTheSocketAndOpens)
{
    start();
    const QString two = saveCard(*window, folder.filePath("two.CDW"), 2);
    auto* o = new PlainObject(window.get());
    window->BusinessCardPanel()->AddObject(o);
    o->SetBounds(100, 100, 10, 10);
    o->SetLeft(110);
    QLocalServer server;
    const QString name = QString("cardora-test-%1").arg(QCoreApplication::applicationPid());
    QLocalServer::removeServer(name);
    ASSERT_TRUE(server.listen(name));
    ServeInstanceRequests(server, window.get());
    modal->answers = { mrNo };
    QLocalSocket second;
    second.connectToServer(name);
    ASSERT_TRUE(second.waitForConnected(2000));
    second.write(EncodeInstanceRequest(two));
    second.flush();
    second.disconnectFromServer(); // the second copy ends at once
    for (int waited = 0; waited < 3000 && window->CardFileName() != two; waited += 20)
        QTest::qWait(20);
    EXPECT_EQ(window->CardFileName(), two);
    EXPECT_EQ(window->BusinessCardPanel()->Objects().size(), 2u);
    ASSERT_FALSE(modal->messages.empty());
    EXPECT_EQ(modal->messages.back().text, "Save changes?");
}

TEST_F(MainWindowFixture, CardFromASecondCopyWaitsForAnOpenDialog)
{
    start();
    const QString two = saveCard(*window, folder.filePath("two.CDW"), 2);
    QDialog busy(window.get());
    busy.setModal(true);
    busy.show();
    window->BringForwardAndOpen(two);
    EXPECT_TRUE(window->CardFileName().isEmpty()); // not under the user's dialog
    busy.close();
    for (int waited = 0; waited < 3000 && window->CardFileName() != two; waited += 50)
        QTest::qWait(50);
    EXPECT_EQ(window->CardFileName(), two);
}

TEST_F(MainWindowFixture, ConfigurationInformationReportsMemory)
{
    start();
    QString report;
    modal->dialogs.push_back([&](QDialog& d) {
        report = d.findChild<QPlainTextEdit*>("Report")->toPlainText();
        return int(mrOk);
    });
    window->ConfigurationInformation1Click();
    EXPECT_TRUE(report.contains(QRegularExpression("\\nMemory: [\\d,.]+ MB installed, [\\d,.]+ MB free\\n")))
        << report.toStdString();
}

// File › Export: the format and resolution chosen, the folder remembered.
TEST_F(MainWindowFixture, ExportWritesTheChosenFormatAndRemembersTheFolder)
{
    start();
    // A red rectangle one by a half inch, from (1, 0.5); it prints as it paints.
    auto* rect = new TBCShapes(window.get());
    rect->Loaded();
    window->BusinessCardPanel()->PlaceNewObject(rect, QRect(96, 48, 96, 48));
    rect->Brush()->SetColor(clRed);
    window->ZoomSpinnerUpClick();
    QDir(folder.path()).mkdir("out");
    const struct {
        TCardExportFormat format;
        int dpi;
        const char* file;
        QSize pixels;
    } cases[] = {
        { TCardExportFormat::Png, 300, "out/card.png", QSize(1050, 600) },
        { TCardExportFormat::Jpeg, 150, "out/card.jpg", QSize(525, 300) },
        { TCardExportFormat::Bmp, 96, "out/card.bmp", QSize(336, 192) },
        { TCardExportFormat::Pdf, 300, "out/card.pdf", QSize() },
    };
    for (const auto& c : cases) {
        modal->dialogs.push_back([&](QDialog& d) {
            auto& e = static_cast<TExportDialog&>(d);
            e.SetFormat(c.format);
            e.SetDpi(c.dpi);
            return int(mrOk);
        });
        modal->fileNames.push_back(folder.filePath(c.file));
        window->mnuExportClick();
        EXPECT_EQ(modal->messages.back().text, "Saved as " + folder.filePath(c.file));
        if (c.pixels.isValid()) {
            const QImage image(folder.filePath(c.file));
            ASSERT_EQ(image.size(), c.pixels) << c.file;
            // The object's middle is red at any resolution.
            EXPECT_EQ(image.pixelColor(c.pixels.width() * 3 / 7, c.pixels.height() * 3 / 8).red() > 200, true) << c.file;
        } else {
            QFile pdf(folder.filePath(c.file));
            ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
            EXPECT_TRUE(pdf.read(5) == "%PDF-");
        }
    }
    // The second export started in the folder of the first; the zoom came back.
    ASSERT_GE(modal->fileRequests.size(), 2u);
    EXPECT_EQ(QDir(modal->fileRequests[1].folder).absolutePath(), QDir(folder.filePath("out")).absolutePath());
    EXPECT_EQ(modal->fileRequests[0].fileName, "BusinessCard.png");
    EXPECT_NEAR(window->BusinessCardPanel()->Zoom(), 1.1f, 1e-6);

    // A folder that is not there: the reason is shown as an error and nothing is written.
    modal->dialogs.push_back([](QDialog&) { return int(mrOk); });
    modal->fileNames.push_back(folder.filePath("gone/card.pdf"));
    window->mnuExportClick();
    EXPECT_EQ(modal->messages.back().style, MessageStyle::Error);
    EXPECT_TRUE(modal->messages.back().text.startsWith("Cannot create file")) << modal->messages.back().text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(folder.filePath("gone")));
}
