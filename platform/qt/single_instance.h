// The named mutex of the start-up sequence: the first instance holds a lock file and
// listens on a local socket; a later start finds the lock taken, asks the first
// instance to raise its window and ends.
#pragma once

#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QObject>
#include <QString>

namespace kelvara::platform {

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  // `folder` holds the lock file and the socket; by default the user's runtime folder.
  explicit SingleInstance(const QString& name, const QString& folder = DefaultFolder(),
                          QObject* parent = nullptr);

  // True for the first instance, which from then on answers raise requests; false
  // only when another running instance holds the lock. A lock left by a program that
  // died is taken over; a lock that cannot be created at all does not stop the start.
  bool Acquire();
  // For a later instance: asks the first one to raise its window; true when delivered.
  bool RequestRaise();

  static QString DefaultFolder();

 signals:
  void raiseRequested();

 private:
  void AcceptConnection();
  void ReadRequest(QLocalSocket* socket);

  QString folder_;
  QLockFile lock_;
  QString socketPath_;
  QLocalServer server_;
};

}  // namespace kelvara::platform
