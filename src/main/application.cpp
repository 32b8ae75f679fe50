#include "main/application.h"
#include "core/modal.h"
#include "core/symbol_fonts.h"
#include "main/main_screen.h"
#include "main/version.h"
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <cstdio>

namespace cardora {

namespace {
QString instanceName()
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = QString::number(qHash(QDir::homePath()));
    return "cardora-" + user;
}

// A second copy asks the first to come forward, hands it the card to open,
// and ends.
bool AnotherInstanceRaised(const QString& card)
{
    QLocalSocket socket;
    socket.connectToServer(instanceName());
    if (!socket.waitForConnected(300))
        return false;
    socket.write(EncodeInstanceRequest(card));
    socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(1000);
    return true;
}
} // namespace

// The first copy reads each request to its end before acting on it.
void ServeInstanceRequests(QLocalServer& server, TMainScreen* target)
{
    QPointer<TMainScreen> window(target);
    QObject::connect(&server, &QLocalServer::newConnection, &server, [&server, window] {
        while (QLocalSocket* s = server.nextPendingConnection()) {
            auto handle = [s, window] {
                if (!s->property("handled").toBool() && (s->canReadLine() || s->state() != QLocalSocket::ConnectedState)) {
                    s->setProperty("handled", true);
                    const QString card = DecodeInstanceRequest(s->readAll());
                    // Opening may ask "Save changes?"; the socket must not be
                    // inside its own signal while that box waits.
                    if (window)
                        QTimer::singleShot(0, window, [window, card] {
                            if (window)
                                window->BringForwardAndOpen(card);
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
    QLocalServer::removeServer(instanceName());
    QLocalServer server;
    server.setSocketOptions(QLocalServer::UserAccessOption);
    server.listen(instanceName());

    BusyOn();
    QApplication::setApplicationName(kApplicationTitle);
    QApplication::setApplicationDisplayName(QString());
    QApplication::setDesktopFileName("cardora");
    QApplication::setWindowIcon(QIcon(":/icons/cardora.svg"));
    RegisterBundledFonts();
    TMainScreen window;
    window.SetStartupCard(*card);
    ServeInstanceRequests(server, &window);
    BusyOff();
    window.show();
    return app.exec();
}

} // namespace cardora
