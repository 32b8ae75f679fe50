#include "main/application.h"
#include "core/modal.h"
#include "core/private_folders.h"
#include "core/symbol_fonts.h"
#include "main/main_window.h"
#include "main/startup_probe.h"
#include "surface/card_panel.h"
#include "main/version.h"
#include "printing/card_stocks.h"
#include "report/printer_report.h"
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace cardora {

namespace {

// The socket lives in a folder only this user can enter, so no other user
// can listen in its place or send it names; empty when there is none.
QString instanceName()
{
    const QString folder = UserRuntimeFolder();
    return folder.isEmpty() ? QString() : folder + "/cardora-instance";
}

// A second copy asks the first to come forward, hands it the card to open,
// and ends once the first has taken it.
bool AnotherInstanceRaised(const QString& card)
{
    const QString name = instanceName();
    const QByteArray request = EncodeInstanceRequest(card);
    if (name.isEmpty() || request.size() > kMaxInstanceRequest)
        return false;
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(300) || !PeerIsThisUser(socket.socketDescriptor()))
        return false;
    socket.write(request);
    socket.waitForBytesWritten(1000);
    // A copy that is gone or stuck does not take the card: this one opens it.
    while (!socket.canReadLine() && socket.waitForReadyRead(3000)) {
    }
    const bool taken = socket.readLine(16) == "ok\n";
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(1000);
    return taken;
}
} // namespace

bool PeerIsThisUser(qintptr socket)
{
    struct ucred cred {};
    socklen_t length = sizeof cred;
    if (socket < 0 || ::getsockopt(int(socket), SOL_SOCKET, SO_PEERCRED, &cred, &length) != 0)
        return false;
    return cred.uid == ::getuid();
}

// The first copy reads each request to its end before acting on it; a peer
// of another user, a request past the limit or one that never ends is
// dropped.
void ServeInstanceRequests(QLocalServer& server, MainWindow* target)
{
    QPointer<MainWindow> window(target);
    QObject::connect(&server, &QLocalServer::newConnection, &server, [&server, window] {
        while (QLocalSocket* s = server.nextPendingConnection()) {
            if (!PeerIsThisUser(s->socketDescriptor())) {
                s->abort();
                s->deleteLater();
                continue;
            }
            s->setReadBufferSize(kMaxInstanceRequest + 1);
            QTimer::singleShot(5000, s, [s] { s->abort(); });
            auto handle = [s, window] {
                if (s->property("handled").toBool())
                    return;
                if (!s->canReadLine() && s->bytesAvailable() > kMaxInstanceRequest) {
                    s->setProperty("handled", true);
                    s->abort();
                    return;
                }
                if (!s->canReadLine() && s->state() != QLocalSocket::ConnectedState) {
                    s->setProperty("handled", true); // ended before its line did: nothing to act on
                    return;
                }
                if (s->canReadLine()) {
                    s->setProperty("handled", true);
                    const QString card = DecodeInstanceRequest(s->readLine(kMaxInstanceRequest + 1));
                    if (s->state() == QLocalSocket::ConnectedState)
                        s->write("ok\n");
                    // Opening may ask "Save changes?"; the socket must not be
                    // inside its own signal while that box waits.
                    if (window)
                        QTimer::singleShot(0, window, [window, card] {
                            if (window)
                                window->bringForwardAndOpen(card);
                        });
                }
            };
            QObject::connect(s, &QLocalSocket::readyRead, s, handle);
            QObject::connect(s, &QLocalSocket::disconnected, s, [s, handle] {
                handle();
                s->deleteLater();
            });
        }
    });
}

QByteArray EncodeInstanceRequest(const QString& card)
{
    if (card.isEmpty())
        return "raise\n";
    return "open " + QFileInfo(card).absoluteFilePath().toUtf8().toPercentEncoding("/") + "\n";
}

QString DecodeInstanceRequest(const QByteArray& request)
{
    const QByteArray line = request.left(request.indexOf('\n'));
    if (!line.startsWith("open "))
        return QString();
    return QString::fromUtf8(QByteArray::fromPercentEncoding(line.mid(5)));
}

std::optional<QString> CardFromArguments(const QStringList& arguments, QString* error)
{
    QStringList rest = arguments.mid(1);
    if (rest.size() > 1 || (!rest.isEmpty() && rest.first().startsWith('-') && rest.first() != "-")) {
        *error = "Usage: cardora [CARD.CDW]";
        return std::nullopt;
    }
    return rest.isEmpty() ? QString() : QFileInfo(rest.first()).absoluteFilePath();
}

int RunCardora(int argc, char** argv)
{
    QApplication app(argc, argv);
    QString error;
    const std::optional<QString> card = CardFromArguments(QApplication::arguments(), &error);
    if (!card) {
        std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
        return 2;
    }
    if (AnotherInstanceRaised(*card))
        return 0;
    // Print jobs of copies that were killed while spooling.
    RemoveStaleScratch(QDir::tempPath(), kSpoolPrefix);
    // The runtime folder is this user's own: what is left in it under the
    // socket's name is a copy that ended without removing it.
    const QString name = instanceName();
    QLocalServer server;
    server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!name.isEmpty()) {
        QLocalServer::removeServer(name);
        server.listen(name);
    }
    // The socket goes with the program, however its window closes.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &server, [&server] { server.close(); });

    BusyOn();
    QApplication::setApplicationName(kApplicationTitle);
    QApplication::setApplicationDisplayName(QString());
    QApplication::setDesktopFileName("cardora");
    QApplication::setWindowIcon(QIcon(":/icons/cardora.svg"));
    RegisterBundledFonts();
    // The card stock list is checked at start, so a damaged one is known at once.
    if (QString problem; ShippedCardStocks(&problem).empty() || !problem.isEmpty())
        Inform(problem.isEmpty() ? QString("The card stock list of the program is empty") : problem);
    MainWindow window;
    if (StartupProbeWanted())
        InstallStartupProbe(*window.cardPanel(), !card->isEmpty());
    window.setStartupCard(*card);
    ServeInstanceRequests(server, &window);
    BusyOff();
    window.show();
    return app.exec();
}

} // namespace cardora
