#include "frontend/qt/SingleInstance.h"

#include "platform/DebugOutput.h"
#include "platform/Paths.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace quorvex::frontend {
namespace {

constexpr char kPresent[] = "present\n";

} // namespace

SingleInstance::SingleInstance(QString folder, QString name)
    : folder_(std::move(folder)), name_(std::move(name)) {}

SingleInstance::~SingleInstance() {
  if (server_ != nullptr) {
    server_->close();
    QLocalServer::removeServer(SocketPath());
  }
  if (lockFd_ >= 0) {
    ::close(lockFd_);
  }
}

SingleInstance* SingleInstance::ForCurrentUser() {
  return new SingleInstance(QString::fromStdString(platform::RuntimeDir()),
                            QStringLiteral("quorvex-%1").arg(::getuid()));
}

QString SingleInstance::LockPath() const {
  return folder_ + QLatin1Char('/') + name_ + QStringLiteral(".lock");
}

QString SingleInstance::SocketPath() const {
  return folder_ + QLatin1Char('/') + name_ + QStringLiteral(".sock");
}

SingleInstance::Role SingleInstance::Acquire(int waitMs) {
  if (lockFd_ >= 0) {
    return Role::kFirst;
  }
  platform::EnsureFolder(folder_.toStdString());
  const QByteArray lockPath = LockPath().toLocal8Bit();
  const int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) {
    platform::DebugPrintf("instance lock %s: cannot open (errno %d)", lockPath.constData(), errno);
    return Role::kFailed;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    ::close(fd);
    if (error != EWOULDBLOCK) {
      platform::DebugPrintf("instance lock %s: flock failed (errno %d)", lockPath.constData(),
                            error);
      return Role::kFailed;
    }
    return TellFirst(waitMs) ? Role::kSecond : Role::kFailed;
  }
  lockFd_ = fd;
  // We hold the lock, so any socket file is left over from a copy that died.
  QLocalServer::removeServer(SocketPath());
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(SocketPath())) {
    platform::DebugPrintf("instance socket: %s", server_->errorString().toLocal8Bit().constData());
    return Role::kFirst;
  }
  QObject::connect(server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* peer = server_->nextPendingConnection()) {
      QObject::connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
      QObject::connect(peer, &QLocalSocket::readyRead, this, [this, peer] {
        while (peer->canReadLine()) {
          const QByteArray line = peer->readLine(64);
          if (line == kPresent && onPresent) {
            onPresent();
          }
        }
        if (peer->bytesAvailable() > 64) {
          // Not one of ours.
          peer->abort();
        }
      });
    }
  });
  return Role::kFirst;
}

bool SingleInstance::TellFirst(int waitMs) {
  // The first copy may hold the lock but not listen yet; try until the deadline.
  QDeadlineTimer deadline(waitMs);
  do {
    QLocalSocket socket;
    socket.connectToServer(SocketPath());
    if (socket.waitForConnected(std::max<qint64>(1, deadline.remainingTime()))) {
      socket.write(kPresent);
      const bool sent = socket.waitForBytesWritten(1000);
      socket.disconnectFromServer();
      if (socket.state() != QLocalSocket::UnconnectedState) {
        socket.waitForDisconnected(1000);
      }
      if (sent) {
        return true;
      }
    }
    QThread::msleep(50);
  } while (!deadline.hasExpired());
  platform::DebugOutput("another copy holds the instance lock but does not answer");
  return false;
}

} // namespace quorvex::frontend
