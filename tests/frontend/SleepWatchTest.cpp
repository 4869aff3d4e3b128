// Runs on a private session bus (dbus-run-session) that plays the system bus: a second
// connection owns logind's name and sends its signal.

#include "frontend/qt/SleepWatch.h"
#include "BusTestSupport.h"
#include "frontend/qt/QtLoopDriver.h"
#include "platform/DebugOutput.h"
#include "platform/clock/RealClock.h"
#include "ui/ResourceManager.h"
#include "ui/WindowWnd.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace quorvex::frontend {
namespace {

using test::App;
using test::Spin;

class PowerWindow : public ui::CWindowWnd {
public:
  std::string_view GetWindowClassName() const override { return "Power"; }
  std::vector<std::pair<ui::WParam, ui::LParam>> seen;

protected:
  ui::LResult HandleMessage(std::uint32_t msg, ui::WParam w, ui::LParam l) override {
    if (msg == kMsgPowerBroadcast) {
      seen.emplace_back(w, l);
      return 0;
    }
    return CWindowWnd::HandleMessage(msg, w, l);
  }
};

QDBusMessage PrepareForSleep(const QVariant& argument) {
  QDBusMessage signal = QDBusMessage::createSignal(QString::fromLatin1(kLogindPath),
                                                   QString::fromLatin1(kLogindInterface),
                                                   QStringLiteral("PrepareForSleep"));
  signal << argument;
  return signal;
}

class SleepWatchTest : public ::testing::Test {
protected:
  void SetUp() override {
    App();
    if (!QDBusConnection::sessionBus().isConnected()) {
      GTEST_SKIP() << "no session bus; run under dbus-run-session";
    }
    ASSERT_TRUE(logind.isConnected());
    ASSERT_TRUE(logind.registerService(QString::fromLatin1(kLogindService)));
    window.Create(ui::UiContext{&loop, &resources}, ui::kNoWindow, "main", 0, 0);
    ASSERT_TRUE(window.IsCreated());
    watch.SetTarget(loop, window.GetHWND());
    ASSERT_TRUE(watch.Start());
  }
  void TearDown() override { logind.unregisterService(QString::fromLatin1(kLogindService)); }

  platform::RealClock clock;
  ui::CMessageLoop loop{clock};
  QtLoopDriver driver{loop};
  ui::CResourceManager resources;
  PowerWindow window;
  QDBusConnection logind =
      QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-logind"));
  SleepWatch watch{QDBusConnection::sessionBus()};
};

TEST_F(SleepWatchTest, SleepAndResumeBecomeSuspendAndResumeBroadcasts) {
  ASSERT_TRUE(logind.send(PrepareForSleep(true)));
  ASSERT_TRUE(logind.send(PrepareForSleep(false)));
  ASSERT_TRUE(Spin([&] { return window.seen.size() >= 2; }));
  using Seen = std::vector<std::pair<ui::WParam, ui::LParam>>;
  EXPECT_EQ(window.seen, (Seen{{kPowerSuspend, 0}, {kPowerResume, 0}}));
  EXPECT_EQ(kPowerSuspend, 4u);
  EXPECT_EQ(kPowerResume, 18u);
}

TEST_F(SleepWatchTest, SignalsFromOthersOrOfAnotherShapeAreIgnored) {
  QDBusConnection impostor =
      QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("impostor"));
  ASSERT_TRUE(impostor.send(PrepareForSleep(true)));
  // A round trip: the bus has passed the impostor's signal on before it answers.
  impostor.interface()->isServiceRegistered(QStringLiteral("org.example.Nobody"));
  ASSERT_TRUE(logind.send(PrepareForSleep(QStringLiteral("true"))));
  ASSERT_TRUE(logind.send(PrepareForSleep(42u)));
  QDBusMessage empty = QDBusMessage::createSignal(QString::fromLatin1(kLogindPath),
                                                  QString::fromLatin1(kLogindInterface),
                                                  QStringLiteral("PrepareForSleep"));
  ASSERT_TRUE(logind.send(empty));
  // Then a real one from logind, after all of the above.
  ASSERT_TRUE(logind.send(PrepareForSleep(false)));
  ASSERT_TRUE(Spin([&] { return !window.seen.empty(); }));
  Spin([] { return false; }, 100);
  ASSERT_EQ(window.seen.size(), 1u);
  EXPECT_EQ(window.seen[0].first, kPowerResume);
}

TEST(SleepWatchNoBusTest, StartFailsWithADebugLine) {
  App();
  platform::ScopedDebugCapture lines;
  SleepWatch watch(QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"),
                                                 QStringLiteral("no-system-bus")));
  EXPECT_FALSE(watch.Start());
  EXPECT_TRUE(lines.Contains("no system bus"));
}

} // namespace
} // namespace quorvex::frontend
