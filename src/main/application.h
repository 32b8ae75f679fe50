#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

class QLocalServer;

namespace cardora {

class MainWindow;

// Start-up of the desktop program: single-instance guard, title, main window.
// `cardora CARD.CDW` opens that card; a copy started while another runs hands
// the card to the first one and ends.
int RunCardora(int argc, char** argv);

// The card named on the command line (absolute; empty for none), or nullopt
// with the usage text in *error when the arguments are not one card.
std::optional<QString> CardFromArguments(const QStringList& arguments, QString* error);

// The most a second copy may send: one card's name.
inline constexpr qint64 kMaxInstanceRequest = 16 * 1024;
// True when the process at the other end of a local socket is this user's.
bool PeerIsThisUser(qintptr socket);

// What a second copy sends the first: come forward, and open this card.
QByteArray EncodeInstanceRequest(const QString& card);
// The card of a request; empty when it only asks to come forward.
QString DecodeInstanceRequest(const QByteArray& request);
// The first copy's side: each request brings the window forward and opens its card.
void ServeInstanceRequests(QLocalServer& server, MainWindow* window);

} // namespace cardora
