#include "main/application.h"
#include "core/modal.h"
#include "core/symbol_fonts.h"
#include "main/main_screen.h"
#include "main/version.h"
#include <QDir>
#include <QApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>

namespace cardora {

namespace {
QString instanceName()
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = QString::number(qHash(QDir::homePath()));
    return "cardora-" + user;
}

// A second copy asks the first to come forward and ends.
bool AnotherInstanceRaised()
{
    QLocalSocket socket;
    socket.connectToServer(instanceName());
    if (!socket.waitForConnected(300))
        return false;
    socket.write("raise\n");
    socket.waitForBytesWritten(300);
    socket.disconnectFromServer();
    return true;
}
} // namespace

int RunCardora(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (AnotherInstanceRaised())
        return 0;
    QLocalServer::removeServer(instanceName());
    QLocalServer server;
    server.listen(instanceName());

    BusyOn();
    QApplication::setApplicationName(kApplicationTitle);
    QApplication::setApplicationDisplayName(QString());
    RegisterBundledFonts();
    TMainScreen window;
    QPointer<TMainScreen> guard(&window);
    QObject::connect(&server, &QLocalServer::newConnection, &server, [&server, guard] {
        while (QLocalSocket* s = server.nextPendingConnection()) {
            QObject::connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            if (guard) {
                if (guard->isMinimized())
                    guard->showNormal();
                guard->raise();
                guard->activateWindow();
            }
        }
    });
    BusyOff();
    window.show();
    return app.exec();
}

} // namespace cardora
