// Runs on a private session bus (dbus-run-session), without a display.

#include "frontend/qt/PeerBus.h"
#include "BusTestSupport.h"
#include "frontend/qt/QtLoopDriver.h"
#include "platform/DebugOutput.h"
#include "platform/clock/RealClock.h"
#include "ui/RegisteredMessages.h"
#include "ui/ResourceManager.h"
#include "ui/WindowWnd.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace quorvex::frontend {
namespace {

const QString kService = QString::fromLatin1(kPeerBusService);
const QString kPath = QString::fromLatin1(kPeerBusPath);
const QString kInterface = QString::fromLatin1(kPeerBusInterface);

using test::App;
using test::Spin;

// Collects the signals one connection receives.
class SignalRecorder : public QObject {
  Q_OBJECT
public:
  QList<QDBusMessage> got;
public Q_SLOTS:
  void OnSignal(const QDBusMessage& message) { got.push_back(message); }
};

struct Seen {
  std::uint32_t msg;
  ui::WParam w;
  ui::LParam l;
};

// Stands in for the main window: records registered messages and answers the
// device-report request through `onReportRequest`.
class FakeMainWindow : public ui::CWindowWnd {
public:
  std::string_view GetWindowClassName() const override { return "FakeMain"; }
  std::vector<Seen> seen;
  std::function<void()> onReportRequest;

protected:
  ui::LResult HandleMessage(std::uint32_t msg, ui::WParam w, ui::LParam l) override {
    if (msg >= ui::kFirstRegisteredMessage) {
      seen.push_back({msg, w, l});
      if (msg == ui::RegisterWindowMessage(kDeviceReportRequest) && onReportRequest) {
        onReportRequest();
      }
      return 0;
    }
    return CWindowWnd::HandleMessage(msg, w, l);
  }
};

class PeerBusTest : public ::testing::Test {
protected:
  void SetUp() override {
    App();
    if (!QDBusConnection::sessionBus().isConnected()) {
      GTEST_SKIP() << "no session bus; run under dbus-run-session";
    }
    window.Create(ui::UiContext{&loop, &resources}, ui::kNoWindow, "main", 0, 0);
    ASSERT_TRUE(window.IsCreated());
    bus.SetTarget(loop, window.GetHWND());
    ASSERT_TRUE(bus.Start());
  }

  // A second program on the bus.
  static QDBusConnection Peer(const QString& name) {
    return QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
  }

  // Calls a method of the service from another connection, keeping our loop running.
  QDBusMessage Call(const QString& method, const QList<QVariant>& args = {}) {
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
    call.setArguments(args);
    QDBusPendingCall pending = client.asyncCall(call, 5000);
    EXPECT_TRUE(Spin([&] { return pending.isFinished(); }));
    return pending.reply();
  }

  // Runs a command line to its end while our loop keeps serving the bus.
  static std::pair<int, QString> Run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    EXPECT_TRUE(p.waitForStarted(5000)) << program.toStdString();
    EXPECT_TRUE(Spin([&] { return p.state() == QProcess::NotRunning; }, 15000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError())};
  }

  std::vector<Seen> WaitForMessages(std::size_t n) {
    Spin([&] { return window.seen.size() >= n; });
    return window.seen;
  }

  platform::RealClock clock;
  ui::CMessageLoop loop{clock};
  QtLoopDriver driver{loop};
  ui::CResourceManager resources;
  FakeMainWindow window;
  QDBusConnection client = Peer(QStringLiteral("client"));
  PeerBus bus;
};

TEST_F(PeerBusTest, PostHandsTheNamedMessageToTheWindowWithItsParametersUnchanged) {
  struct Case {
    QString name;
    qlonglong w;
    qlonglong l;
  };
  const std::vector<Case> cases = {
      {QStringLiteral("Game_Start"), 2, 7},
      {QStringLiteral("{4695579F-999A-41d4-9FAF-EFFCE93EBF17}"), 1, 0},
      {QStringLiteral("{4695579F-999A-41d4-9FAF-EFFCE93EBF17}"), 1, 1},
      {QStringLiteral("Game_End"), -1, std::numeric_limits<qlonglong>::min()},
  };
  for (const Case& c : cases) {
    ui::RegisterWindowMessage(c.name.toStdString());
  }
  for (const Case& c : cases) {
    const QDBusMessage reply = Call(QStringLiteral("Post"), {c.name, c.w, c.l});
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
  }
  const std::vector<Seen> seen = WaitForMessages(cases.size());
  ASSERT_EQ(seen.size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(seen[i].msg, *ui::FindRegisteredMessage(cases[i].name.toStdString()));
    EXPECT_EQ(seen[i].w, static_cast<ui::WParam>(cases[i].w));
    EXPECT_EQ(seen[i].l, static_cast<ui::LParam>(cases[i].l));
  }
}

TEST_F(PeerBusTest, PostRefusesUnknownOverlongAndMistypedCallsAndPostsNothing) {
  const std::string longest(kMaxMessageName, 'n');
  const std::string tooLong(kMaxMessageName + 1, 'n');
  ui::RegisterWindowMessage(longest);
  ui::RegisterWindowMessage(tooLong); // refused by length before it is looked up
  struct Case {
    QList<QVariant> args;
    QString error; // empty: accepted
  };
  const QString unknown = QStringLiteral("org.quorvex.DeviceCenter1.Error.UnknownMessage");
  const QString invalid = QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs");
  const std::vector<Case> cases = {
      {{QStringLiteral("No_Such_Message"), 1LL, 1LL}, unknown},
      {{QString(), 0LL, 0LL}, unknown},
      {{QString::fromStdString(tooLong), 0LL, 0LL}, invalid},
      {{QStringLiteral("Game_Start"), 1, 1}, invalid}, // (s i i)
      {{QStringLiteral("Game_Start")}, invalid},
      {{QString::fromStdString(longest), 3LL, 4LL}, {}},
  };
  for (const Case& c : cases) {
    const QDBusMessage reply = Call(QStringLiteral("Post"), c.args);
    if (c.error.isEmpty()) {
      EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    } else {
      EXPECT_EQ(reply.type(), QDBusMessage::ErrorMessage);
      EXPECT_EQ(reply.errorName(), c.error) << reply.errorMessage().toStdString();
      EXPECT_FALSE(reply.errorMessage().isEmpty());
    }
  }
  const std::vector<Seen> seen = WaitForMessages(1);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].msg, *ui::FindRegisteredMessage(longest));
}

TEST_F(PeerBusTest, CallsAfterTheWindowIsGoneAreRefusedAsNotDelivered) {
  ui::RegisterWindowMessage("Game_Start");
  window.onReportRequest = [] { FAIL() << "destroyed window reached"; };
  window.DestroyWindow();
  for (const QString& method : {QStringLiteral("Post"), QStringLiteral("DeviceReport")}) {
    const QDBusMessage reply = method == QLatin1String("Post")
                                   ? Call(method, {QStringLiteral("Game_Start"), 1LL, 0LL})
                                   : Call(method);
    EXPECT_EQ(reply.errorName(), QStringLiteral("org.quorvex.DeviceCenter1.Error.NotDelivered"))
        << method.toStdString();
  }
}

TEST_F(PeerBusTest, DeviceReportRepliesWithTheBlockTheWindowHandsToWorkTool) {
  // A WorkTool on the bus must not get the block: it goes to the caller.
  QDBusConnection workTool = Peer(QStringLiteral("worktool-1"));
  ASSERT_TRUE(workTool.registerService(QStringLiteral("org.quorvex.WorkTool")));
  SignalRecorder toolSaw;
  workTool.connect(QString(), kPath, kInterface, QStringLiteral("CopyData"), &toolSaw,
                   SLOT(OnSignal(QDBusMessage)));

  std::vector<std::uint8_t> block(1024);
  for (std::size_t i = 0; i < block.size(); ++i) {
    block[i] = static_cast<std::uint8_t>(i * 7);
  }
  std::vector<bool> accepted;
  window.onReportRequest = [&] {
    accepted.push_back(bus.SendCopyData("WorkTool", 5, block));
    accepted.push_back(bus.SendCopyData("WorkTool", 6, block)); // one report per request
  };
  const QDBusMessage reply = Call(QStringLiteral("DeviceReport"));
  ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
  EXPECT_EQ(reply.signature(), QStringLiteral("uay"));
  ASSERT_EQ(reply.arguments().size(), 2);
  EXPECT_EQ(reply.arguments().at(0).toUInt(), 5u);
  const QByteArray data = reply.arguments().at(1).toByteArray();
  EXPECT_EQ(std::vector<std::uint8_t>(data.begin(), data.end()), block);
  EXPECT_EQ(accepted, (std::vector<bool>{true, false}));

  // After the request, the same call goes over the bus again.
  EXPECT_TRUE(bus.SendCopyData("WorkTool", 5, block));
  EXPECT_TRUE(Spin([&] { return toolSaw.got.size() == 1; }));
  EXPECT_EQ(toolSaw.got.size(), 1u);
  workTool.unregisterService(QStringLiteral("org.quorvex.WorkTool"));
}

TEST_F(PeerBusTest, DeviceReportWithoutABlockIsNoReport) {
  window.onReportRequest = [] {};
  const QDBusMessage reply = Call(QStringLiteral("DeviceReport"));
  EXPECT_EQ(reply.errorName(), QStringLiteral("org.quorvex.DeviceCenter1.Error.NoReport"));
  ASSERT_EQ(window.seen.size(), 1u); // the request did reach the window
  EXPECT_EQ(window.seen[0].msg, ui::RegisterWindowMessage(kDeviceReportRequest));
}

TEST_F(PeerBusTest, CopyDataGoesOnlyToTheOwnerOfTheTargetsName) {
  const std::vector<std::uint8_t> block = {1, 2, 3, 0, 255};
  EXPECT_FALSE(bus.SendCopyData("WorkTool", 5, block)); // nobody owns the name yet
  for (const char* bad : {"", "9Tool", "Work.Tool", "../x", "Work Tool"}) {
    EXPECT_FALSE(bus.SendCopyData(bad, 5, block)) << bad;
  }

  QDBusConnection owner = Peer(QStringLiteral("worktool-2"));
  QDBusConnection bystander = Peer(QStringLiteral("bystander"));
  ASSERT_TRUE(owner.registerService(QStringLiteral("org.quorvex.WorkTool")));
  SignalRecorder ownerSaw;
  SignalRecorder bystanderSaw;
  owner.connect(kService, kPath, kInterface, QStringLiteral("CopyData"), &ownerSaw,
                SLOT(OnSignal(QDBusMessage)));
  bystander.connect(kService, kPath, kInterface, QStringLiteral("CopyData"), &bystanderSaw,
                    SLOT(OnSignal(QDBusMessage)));
  bystander.connect(kService, kPath, kInterface, QStringLiteral("Broadcast"), &bystanderSaw,
                    SLOT(OnSignal(QDBusMessage)));

  EXPECT_TRUE(bus.SendCopyData("WorkTool", 5, block));
  // A broadcast sent after it reaches the bystander after the copy would have.
  bus.Broadcast("after", 0, 0);
  ASSERT_TRUE(Spin([&] { return ownerSaw.got.size() == 1 && bystanderSaw.got.size() == 1; }));
  const QList<QVariant> args = ownerSaw.got[0].arguments();
  ASSERT_EQ(ownerSaw.got[0].signature(), QStringLiteral("suay"));
  EXPECT_EQ(args.at(0).toString(), QStringLiteral("WorkTool"));
  EXPECT_EQ(args.at(1).toUInt(), 5u);
  EXPECT_EQ(args.at(2).toByteArray(), QByteArray("\x01\x02\x03\x00\xff", 5));
  EXPECT_EQ(bystanderSaw.got[0].member(), QStringLiteral("Broadcast"));

  owner.unregisterService(QStringLiteral("org.quorvex.WorkTool"));
  EXPECT_FALSE(bus.SendCopyData("WorkTool", 5, block));
}

TEST_F(PeerBusTest, BroadcastIsSeenByAnotherProgram) {
  QDBusConnection listener = Peer(QStringLiteral("listener"));
  SignalRecorder saw;
  ASSERT_TRUE(listener.connect(kService, kPath, kInterface, QStringLiteral("Broadcast"), &saw,
                               SLOT(OnSignal(QDBusMessage))));
  bus.Broadcast("bad \xff name", 1, 1); // not UTF-8: not sent
  bus.Broadcast("{4695579F-999A-41d4-9FAF-EFFCE93EBF16}", 1, 1);
  ASSERT_TRUE(Spin([&] { return !saw.got.isEmpty(); }));
  ASSERT_EQ(saw.got.size(), 1);
  EXPECT_EQ(saw.got[0].signature(), QStringLiteral("sxx"));
  EXPECT_EQ(saw.got[0].arguments().at(0).toString(),
            QStringLiteral("{4695579F-999A-41d4-9FAF-EFFCE93EBF16}"));
  EXPECT_EQ(saw.got[0].arguments().at(1).toLongLong(), 1);
  EXPECT_EQ(saw.got[0].arguments().at(2).toLongLong(), 1);
}

TEST_F(PeerBusTest, StartFailsWithoutABusOrWhenTheNameIsTakenAndLeavesTheHolderAlone) {
  platform::ScopedDebugCapture lines;
  {
    PeerBus rival(Peer(QStringLiteral("rival")));
    EXPECT_FALSE(rival.Start());
    EXPECT_TRUE(lines.Contains("is taken"));
  }
  {
    PeerBus nowhere(QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"),
                                                  QStringLiteral("nowhere")));
    EXPECT_FALSE(nowhere.Start());
    EXPECT_TRUE(lines.Contains("no session bus"));
    nowhere.Broadcast("Game_Start", 0, 0); // harmless when not started
    EXPECT_FALSE(nowhere.SendCopyData("WorkTool", 5, {}));
  }
  // The rival's end did not take our object or name away.
  ui::RegisterWindowMessage("Game_Start");
  const QDBusMessage reply = Call(QStringLiteral("Post"), {QStringLiteral("Game_Start"), 0LL, 0LL});
  EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
}

// Scripts are the users of this interface: the stock command-line tool must get through.
TEST_F(PeerBusTest, GdbusCommandLineCanPostAndFetchTheReport) {
  ui::RegisterWindowMessage("Game_Start");
  const QStringList target = {QStringLiteral("call"),          QStringLiteral("--session"),
                              QStringLiteral("--dest"),        kService,
                              QStringLiteral("--object-path"), kPath,
                              QStringLiteral("--method")};

  auto [code, out] =
      Run(QStringLiteral("gdbus"),
          target + QStringList{kInterface + QStringLiteral(".Post"), QStringLiteral("Game_Start"),
                               QStringLiteral("3"), QStringLiteral("--"), QStringLiteral("-5")});
  EXPECT_EQ(code, 0) << out.toStdString();
  const std::vector<Seen> seen = WaitForMessages(1);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].msg, *ui::FindRegisteredMessage("Game_Start"));
  EXPECT_EQ(seen[0].w, 3u);
  EXPECT_EQ(seen[0].l, -5);

  std::tie(code, out) =
      Run(QStringLiteral("gdbus"),
          target + QStringList{kInterface + QStringLiteral(".Post"), QStringLiteral("Nope"),
                               QStringLiteral("0"), QStringLiteral("0")});
  EXPECT_NE(code, 0);
  EXPECT_TRUE(out.contains(QStringLiteral("org.quorvex.DeviceCenter1.Error.UnknownMessage")))
      << out.toStdString();

  const std::vector<std::uint8_t> block = {0x02, 0x00, 0x00, 0x00, 0xab};
  window.onReportRequest = [&] { bus.SendCopyData("WorkTool", 5, block); };
  std::tie(code, out) = Run(QStringLiteral("gdbus"),
                            target + QStringList{kInterface + QStringLiteral(".DeviceReport")});
  EXPECT_EQ(code, 0) << out.toStdString();
  EXPECT_EQ(out.trimmed(), QStringLiteral("(uint32 5, [byte 0x02, 0x00, 0x00, 0x00, 0xab])"));
}

} // namespace
} // namespace quorvex::frontend

#include "PeerBusTest.moc"
