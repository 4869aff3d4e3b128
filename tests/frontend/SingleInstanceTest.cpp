#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

namespace {

class SingleInstanceTest : public ::testing::Test {
protected:
  SingleInstanceTest() {
    static int argc = 1;
    static char name[] = "single_instance_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = new QCoreApplication(argc, argv);
    (void)app;
  }

  // Starts a copy and waits until it printed its first line.
  std::unique_ptr<QProcess> Start() {
    auto p = std::make_unique<QProcess>();
    p->start(QString::fromLocal8Bit(qgetenv("SINGLE_INSTANCE_HELPER")),
             {QString::fromStdString(dir.path()), QStringLiteral("quorvex-test")});
    EXPECT_TRUE(p->waitForStarted(5000));
    EXPECT_TRUE(p->waitForReadyRead(10000));
    return p;
  }
  static QString Line(QProcess& p) { return QString::fromLocal8Bit(p.readLine()).trimmed(); }

  quorvex::test::TempDir dir;
};

TEST_F(SingleInstanceTest, ASecondStartPresentsTheFirstAndEndsWithZero) {
  auto first = Start();
  EXPECT_EQ(Line(*first), "first");
  auto second = Start();
  EXPECT_TRUE(second->waitForFinished(10000));
  EXPECT_EQ(Line(*second), "second");
  EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second->exitCode(), 0);
  ASSERT_TRUE(first->waitForFinished(10000));
  EXPECT_EQ(Line(*first), "presented");
  EXPECT_EQ(first->exitCode(), 0);
}

TEST_F(SingleInstanceTest, ACrashedFirstCopyDoesNotBlockTheNextStart) {
  auto crashed = Start();
  EXPECT_EQ(Line(*crashed), "first");
  crashed->kill(); // SIGKILL: the lock file and the socket file stay behind
  crashed->waitForFinished(5000);
  ASSERT_TRUE(QFile::exists(QString::fromStdString(dir.File("quorvex-test.lock"))));
  ASSERT_TRUE(QFile::exists(QString::fromStdString(dir.File("quorvex-test.sock"))));

  auto next = Start();
  EXPECT_EQ(Line(*next), "first");
  auto second = Start();
  EXPECT_TRUE(second->waitForFinished(10000));
  EXPECT_EQ(Line(*second), "second");
  EXPECT_EQ(second->exitCode(), 0);
  ASSERT_TRUE(next->waitForFinished(10000));
  EXPECT_EQ(Line(*next), "presented");
}

TEST_F(SingleInstanceTest, AStaleSocketWithoutALockIsReplaced) {
  // A socket file nobody listens on, as a copy from an older session leaves it.
  const std::string path = dir.File("quorvex-test.sock");
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::snprintf(addr.sun_path, sizeof(addr.sun_path), "%s", path.c_str());
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)), 0);
  ::close(fd);

  auto first = Start();
  EXPECT_EQ(Line(*first), "first");
  auto second = Start();
  EXPECT_TRUE(second->waitForFinished(10000));
  EXPECT_EQ(Line(*second), "second");
  ASSERT_TRUE(first->waitForFinished(10000));
  EXPECT_EQ(Line(*first), "presented");
}

} // namespace
