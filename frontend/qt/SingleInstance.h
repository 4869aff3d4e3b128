#pragma once

// SingleInstance: one running copy of the program per user.
//
// The first copy holds an exclusive flock() on a lock file in the runtime folder and
// listens on a local socket beside it. A later copy fails to take the lock, connects,
// sends "present" and ends (exit code 0); the first copy hears it through onPresent.
// The lock dies with its process, so a copy that crashed leaves nothing that blocks the
// next start: the new first copy removes the stale socket before it listens.
//
// UI thread only (the socket runs on the Qt event loop).

#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;

namespace quorvex::frontend {

class SingleInstance final : public QObject {
public:
  enum class Role {
    kFirst,  // this copy runs; others will present it
    kSecond, // another copy runs and was told to present itself
    kFailed, // neither could be established (no runtime folder, ...)
  };

  // `folder`: where the lock and the socket live (the runtime folder); `name`: the
  // base name of both (made per user by the caller, e.g. "quorvex-1000").
  SingleInstance(QString folder, QString name);
  ~SingleInstance() override;
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // Takes the lock or tells the running copy. `waitMs` bounds how long a second copy
  // keeps trying to reach a first copy that is still starting.
  Role Acquire(int waitMs = 3000);

  // The first copy: called on the UI thread when another copy asked to present.
  std::function<void()> onPresent;

  // "quorvex-<uid>" in the runtime folder: the program's own instance.
  static SingleInstance* ForCurrentUser();

  QString LockPath() const;
  QString SocketPath() const;

private:
  bool TellFirst(int waitMs);

  QString folder_;
  QString name_;
  int lockFd_ = -1;
  QLocalServer* server_ = nullptr;
};

} // namespace quorvex::frontend
