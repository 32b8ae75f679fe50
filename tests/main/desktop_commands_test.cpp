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
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

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
QString saveCard(MainWindow& window, const QString& path, int objects)
{
    RegisterCardClass<PlainObject>();
    for (int i = 0; i < objects; ++i) {
        auto* o = new PlainObject(&window);
        window.cardPanel()->AddObject(o);
        o->SetBounds(10 + 30 * i, 10, 20, 20);
    }
    window.cardPanel()->SaveCardFile(path);
    window.cardPanel()->ClearObjects();
    return path;
}
} // namespace

TEST_F(MainWindowFixture, CardNamedOnTheCommandLineOpensAfterSaveChanges)
{
    start();
    const QString two = saveCard(*window, folder.filePath("two.CDW"), 2);
    const QString three = saveCard(*window, folder.filePath("THREE.cdw"), 3);
    window.reset();

    window = std::make_unique<MainWindow>();
    window->setStartupCard(two);
    window->show();
    window->firstActivation();
    EXPECT_EQ(window->context().card().fileName, two);
    EXPECT_EQ(window->cardPanel()->Objects().size(), 2u);

    // A second copy started with another card: the changed card is offered for saving first.
    auto* o = new PlainObject(window.get());
    window->cardPanel()->AddObject(o);
    o->SetBounds(100, 100, 10, 10);
    o->SetLeft(110); // a change the user made
    ASSERT_TRUE(window->context().card().changesMade);
    modal->answers = { mrNo };
    window->bringForwardAndOpen(three);
    ASSERT_FALSE(modal->messages.empty());
    EXPECT_EQ(modal->messages.back().text, "Save changes?");
    EXPECT_EQ(window->context().card().fileName, three);
    EXPECT_EQ(window->cardPanel()->Objects().size(), 3u);

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
        window->openFromCommandLine(r.path);
        EXPECT_EQ(modal->messages.back().text, r.message);
        EXPECT_EQ(window->context().card().fileName, three);
    }
}

// The first copy's side of the hand-off, through a real local socket.
TEST_F(MainWindowFixture, SecondCopysCardArrivesThroughTheSocketAndOpens)
{
    start();
    const QString two = saveCard(*window, folder.filePath("two.CDW"), 2);
    auto* o = new PlainObject(window.get());
    window->cardPanel()->AddObject(o);
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
    for (int waited = 0; waited < 3000 && window->context().card().fileName != two; waited += 20)
        QTest::qWait(20);
    EXPECT_EQ(window->context().card().fileName, two);
    EXPECT_EQ(window->cardPanel()->Objects().size(), 2u);
    ASSERT_FALSE(modal->messages.empty());
    EXPECT_EQ(modal->messages.back().text, "Save changes?");
}

// Only one card's name from a process of this user is taken: a request of
// another user, one past the limit, or one that never ends opens nothing.
TEST_F(MainWindowFixture, SocketTakesOneBoundedRequestFromThisUserOnly)
{
    start();
    const QString two = saveCard(*window, folder.filePath("two.CDW"), 2);
    const QString three = saveCard(*window, folder.filePath("three.CDW"), 3);
    window->fileCommands().newCard();
    QLocalServer server;
    server.setSocketOptions(QLocalServer::WorldAccessOption); // so that another user can try
    QTemporaryDir open;
    ::chmod(QFile::encodeName(open.path()).constData(), 0755);
    const QString name = open.path() + "/instance";
    ASSERT_TRUE(server.listen(name));
    ServeInstanceRequests(server, window.get());
    const QByteArray request = EncodeInstanceRequest(two);
    // Sends `data` from a process of user `uid` (-1: this user); true when the
    // first copy answered that it took the card.
    const QByteArray path = QFile::encodeName(name);
    auto send = [&](const QByteArray& data, int uid) {
        const pid_t child = ::fork(); // the child makes only system calls
        if (child == 0) {
            if (uid >= 0 && (::setgid(uid) != 0 || ::setuid(uid) != 0))
                ::_exit(3);
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address {};
            address.sun_family = AF_UNIX;
            std::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
            if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
                ::_exit(4);
            for (qsizetype done = 0; done < data.size();) {
                const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
                if (n <= 0)
                    ::_exit(2);
                done += n;
            }
            timeval wait { 2, 0 };
            ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
            char answer[4] = {};
            const ssize_t n = ::read(fd, answer, 3);
            ::_exit(n == 3 && std::memcmp(answer, "ok\n", 3) == 0 ? 0 : 1);
        }
        int status = 0;
        while (::waitpid(child, &status, WNOHANG) == 0)
            QTest::qWait(10);
        QTest::qWait(300); // the card opens from the event loop
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    const bool root = ::geteuid() == 0;
    const struct {
        const char* name;
        QByteArray data;
        int uid;
        int answer; // the child's exit status: 0 taken, 1 dropped
        bool opens;
    } cases[] = {
        { "another user", request, 65534, 1, false },
        { "past the limit", "open /" + QByteArray(kMaxInstanceRequest + 10, 'a') + "\n", -1, 1, false },
        { "a name with no end", "open " + QFile::encodeName(two), -1, 1, false },
        { "this user", request, -1, 0, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.uid >= 0 && !root)
            continue; // only the administrator can act as another user
        EXPECT_EQ(send(c.data, c.uid), c.answer);
        EXPECT_EQ(window->context().card().fileName, c.opens ? two : QString());
    }
    EXPECT_NE(window->context().card().fileName, three);
}

TEST_F(MainWindowFixture, CardFromASecondCopyWaitsForAnOpenDialog)
{
    start();
    const QString two = saveCard(*window, folder.filePath("two.CDW"), 2);
    QDialog busy(window.get());
    busy.setModal(true);
    busy.show();
    window->bringForwardAndOpen(two);
    EXPECT_TRUE(window->context().card().fileName.isEmpty()); // not under the user's dialog
    busy.close();
    for (int waited = 0; waited < 3000 && window->context().card().fileName != two; waited += 50)
        QTest::qWait(50);
    EXPECT_EQ(window->context().card().fileName, two);
}

// A second open request while the user has a dialog up brings that dialog
// forward, never the window over it.
TEST_F(MainWindowFixture, SecondCopysRequestKeepsTheDialogOnTop)
{
    start();
    window->activateWindow();
    QDialog busy(window.get());
    busy.setModal(true);
    busy.show();
    busy.activateWindow();
    QTest::qWait(50);
    ASSERT_EQ(QApplication::activeWindow(), &busy);
    window->bringForwardAndOpen(QString());
    QTest::qWait(50);
    EXPECT_EQ(QApplication::activeWindow(), &busy);
    busy.close();
}

TEST_F(MainWindowFixture, ConfigurationInformationReportsMemory)
{
    start();
    QString report;
    modal->dialogs.push_back([&](QDialog& d) {
        report = d.findChild<QPlainTextEdit*>("Report")->toPlainText();
        return int(mrOk);
    });
    window->helpCommands().showConfiguration();
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
    window->cardPanel()->PlaceNewObject(rect, QRect(96, 48, 96, 48));
    rect->Brush()->SetColor(clRed);
    window->zoomIn();
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
        window->exportCommands().exportCard();
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
    EXPECT_NEAR(window->cardPanel()->Zoom(), 1.1f, 1e-6);

    // A folder that is not there: the reason is shown as an error and nothing is written.
    modal->dialogs.push_back([](QDialog&) { return int(mrOk); });
    modal->fileNames.push_back(folder.filePath("gone/card.pdf"));
    window->exportCommands().exportCard();
    EXPECT_EQ(modal->messages.back().style, MessageStyle::Error);
    EXPECT_TRUE(modal->messages.back().text.startsWith("Cannot create file")) << modal->messages.back().text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(folder.filePath("gone")));
}
