#include "platform/qt/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QStandardPaths>

namespace kelvara::platform {
namespace {

constexpr QByteArrayView kRaiseRequest = "raise\n";
constexpr int kConnectTimeoutMs = 2000;
constexpr int kConnectAttempts = 5;
// Local socket paths must fit the system's sockaddr_un (108 bytes with the terminator).
constexpr qsizetype kLongestSocketPath = 100;

QString SocketPathFor(const QString& folder, const QString& name) {
  const QString path = QDir(folder).filePath(name + ".socket");
  if (path.toUtf8().size() <= kLongestSocketPath) return path;
  // A deep folder: a short name in the temporary folder, unique for the folder.
  const QByteArray digest =
      QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
  return QDir::temp().filePath("kelvara-" + QString::fromLatin1(digest) + ".socket");
}

}  // namespace

SingleInstance::SingleInstance(const QString& name, const QString& folder, QObject* parent)
    : QObject(parent),
      folder_(folder),
      lock_(QDir(folder).filePath(name + ".lock")),
      socketPath_(SocketPathFor(folder, name)) {
  lock_.setStaleLockTime(0);
  connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::AcceptConnection);
}

QString SingleInstance::DefaultFolder() {
  const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

bool SingleInstance::Acquire() {
  QDir().mkpath(folder_);
  if (!lock_.tryLock(0)) {
    if (lock_.error() == QLockFile::LockFailedError) return false;
    // The lock cannot even be made (no such folder, no rights): that is no sign of a
    // running instance, so this one starts, unguarded, rather than not at all.
    qWarning("Kelvara: cannot create the lock file in %s", qUtf8Printable(folder_));
    return true;
  }
  // Holding the lock, any socket left at the path belongs to a program that died.
  QLocalServer::removeServer(socketPath_);
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_.listen(socketPath_)) {
    qWarning("Kelvara: cannot listen on %s: %s", qUtf8Printable(socketPath_),
             qUtf8Printable(server_.errorString()));
  }
  return true;
}

bool SingleInstance::RequestRaise() {
  for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(kConnectTimeoutMs / kConnectAttempts)) continue;
    socket.write(kRaiseRequest.data(), kRaiseRequest.size());
    const bool sent = socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return sent;
  }
  return false;
}

void SingleInstance::AcceptConnection() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadRequest(socket); });
    // The request may already be waiting when the connection is taken.
    if (socket->bytesAvailable() > 0) ReadRequest(socket);
  }
}

void SingleInstance::ReadRequest(QLocalSocket* socket) {
  if (socket->readAll().contains(kRaiseRequest.trimmed().toByteArray())) emit raiseRequested();
}

}  // namespace kelvara::platform
