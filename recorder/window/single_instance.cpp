#include "recorder/window/single_instance.h"

#include <unistd.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>

#include "codec/own_folder.h"

namespace lorix {

namespace {

// What a second start sends: the number of the window message it stands for (0x1400).
constexpr char kSecondStartMessage[] = "5120\n";
constexpr int kTimeoutMs = 2000;

// Tells a running first instance; false when nobody accepts on `name`.
bool NotifyFirstInstance(const QString& name) {
  QLocalSocket socket;
  socket.connectToServer(name);
  if (!socket.waitForConnected(kTimeoutMs)) return false;
  socket.write(kSecondStartMessage);
  socket.waitForBytesWritten(kTimeoutMs);
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kTimeoutMs);
  return true;
}

// Collects what one connecting start sends. A complete second-start message is reported
// through the event loop, not from inside the socket's handler, because the first instance
// answers with a modal box that runs a nested loop, in which this socket may be deleted.
void Serve(QLocalServer* server, QLocalSocket* socket, std::function<void()> on_second_start) {
  auto received = std::make_shared<QByteArray>();
  const QByteArray expected(kSecondStartMessage);
  auto consume = [server, socket, received, expected, on_second_start] {
    received->append(socket->readAll());
    if (*received == expected) {
      received->clear();
      QMetaObject::invokeMethod(server, on_second_start, Qt::QueuedConnection);
      socket->disconnectFromServer();
    } else if (!expected.startsWith(*received)) {
      socket->abort();  // not one of ours
    }
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

bool ClaimSingleInstance(std::function<void()> on_second_start) {
  return ClaimSingleInstance(SingleInstanceName(), std::move(on_second_start));
}

bool ClaimSingleInstance(const QString& name, std::function<void()> on_second_start) {
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

void BringToFront(QWidget* window) {
  if (window == nullptr) return;
  if (window->isMinimized()) {
    window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  }
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace lorix
