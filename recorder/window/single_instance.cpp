#include "recorder/window/single_instance.h"

#include <unistd.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "codec/own_folder.h"
#include "recorder/window/wayland_activation.h"

namespace lorix {

namespace {

// What a second start sends, as one line: the number of the window message it stands for
// (0x1400), then, when its launcher gave it one, a blank and its activation token.
constexpr char kSecondStartMessage[] = "5120";
// Tokens are short opaque words; a longer line is not one of ours.
constexpr qsizetype kMaxLineLength = 1024;
constexpr int kTimeoutMs = 2000;

// A token as the compositor issues it: printable ASCII without blanks.
bool IsTokenText(const QByteArray& token) {
  if (token.isEmpty()) return false;
  for (const char c : token) {
    if (c < '!' || c > '~') return false;
  }
  return true;
}

// The line this start sends, with its launcher's token when that is usable.
QByteArray SecondStartLine() {
  QByteArray line(kSecondStartMessage);
  const QByteArray token = qgetenv("XDG_ACTIVATION_TOKEN");
  if (IsTokenText(token) && token.size() < kMaxLineLength - line.size()) line += ' ' + token;
  return line + '\n';
}

// The token of a received line (without its line feed): empty for none, nothing for a line
// that is not a second start's.
std::optional<QString> SecondStartToken(const QByteArray& line) {
  const QByteArray message(kSecondStartMessage);
  if (line == message) return QString();
  if (!line.startsWith(message + ' ')) return std::nullopt;
  const QByteArray token = line.mid(message.size() + 1);
  if (!IsTokenText(token)) return std::nullopt;
  return QString::fromLatin1(token);
}

// Tells a running first instance; false when nobody accepts on `name`.
bool NotifyFirstInstance(const QString& name) {
  QLocalSocket socket;
  socket.connectToServer(name);
  if (!socket.waitForConnected(kTimeoutMs)) return false;
  socket.write(SecondStartLine());
  socket.waitForBytesWritten(kTimeoutMs);
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kTimeoutMs);
  return true;
}

// Collects what one connecting start sends. A complete second-start message is reported
// through the event loop, not from inside the socket's handler, because the first instance
// answers with a modal box that runs a nested loop, in which this socket may be deleted.
void Serve(QLocalServer* server, QLocalSocket* socket, SecondStartHandler on_second_start) {
  auto received = std::make_shared<QByteArray>();
  auto consume = [server, socket, received, on_second_start] {
    received->append(socket->readAll());
    const qsizetype end = received->indexOf('\n');
    if (end < 0) {
      if (received->size() > kMaxLineLength) socket->abort();  // not one of ours
      return;
    }
    const std::optional<QString> token = SecondStartToken(received->left(end));
    received->clear();
    if (!token) {
      socket->abort();  // not one of ours
      return;
    }
    QMetaObject::invokeMethod(
        server, [on_second_start, token = *token] { on_second_start(token); },
        Qt::QueuedConnection);
    socket->disconnectFromServer();
  };
  QObject::connect(socket, &QLocalSocket::readyRead, socket, consume);
  // The message and the end of the connection can arrive together.
  QObject::connect(socket, &QLocalSocket::disconnected, socket, [socket, consume] {
    if (socket->bytesAvailable() > 0) consume();
    socket->deleteLater();
  });
}

}  // namespace

QString SingleInstanceName() {
  // A folder only this user can write to: nobody else can occupy the name there.
  const std::filesystem::path folder = PrivateUserFolder();
  if (folder.empty()) return {};
  return QString::fromStdString((folder / ("LORIX-" + std::to_string(getuid()))).string());
}

bool ClaimSingleInstance(SecondStartHandler on_second_start) {
  return ClaimSingleInstance(SingleInstanceName(), std::move(on_second_start));
}

bool ClaimSingleInstance(const QString& name, SecondStartHandler on_second_start) {
  // Better a recorder without the guard than none at all.
  if (name.isEmpty()) return true;
  // Owned by the application, so it listens until the program ends.
  auto* server = new QLocalServer(QCoreApplication::instance());
  // No socket options: with them Qt binds elsewhere and renames the socket into place, which
  // would silently replace a running instance's socket instead of failing.
  if (!server->listen(name)) {
    if (server->serverError() == QAbstractSocket::AddressInUseError) {
      if (NotifyFirstInstance(name)) {
        delete server;
        return false;
      }
      // Nobody answers: the socket is left over from an instance that crashed.
      QLocalServer::removeServer(name);
    }
    if (!server->listen(name)) {
      // Better a recorder without the guard than none at all.
      qWarning("LORIX: single-instance socket %s: %s", qPrintable(name),
               qPrintable(server->errorString()));
      delete server;
      return true;
    }
  }
  QObject::connect(server, &QLocalServer::newConnection, server, [server, on_second_start] {
    while (QLocalSocket* socket = server->nextPendingConnection()) {
      Serve(server, socket, on_second_start);
    }
  });
  return true;
}

bool BringToFront(QWidget* window, const QString& activation_token) {
  if (window == nullptr) return false;
  if (window->isMinimized()) {
    window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  }
  window->show();
  window->raise();
  if (!RunsOnWayland()) {
    window->activateWindow();
    return true;
  }
  // Qt would ask with a token of its own making, which the compositor refuses as focus
  // stealing; only the launcher's token of the start that asked brings the window forward.
  return ActivateWithToken(window->windowHandle(), activation_token);
}

}  // namespace lorix
