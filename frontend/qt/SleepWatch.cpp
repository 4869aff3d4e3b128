#include "frontend/qt/SleepWatch.h"

#include "platform/DebugOutput.h"

#include <QDBusError>
#include <QSortFilterProxyModel>

namespace quorvex::frontend {
namespace {

const QString kMember = QStringLiteral("PrepareForSleep");
// QtDBus delivers a bus signal only to a meta-method whose parameters match its
// arguments, and this front end is built without moc, so it has no slot of its own.
// QSortFilterProxyModel's stock signal recursiveFilteringEnabledChanged(bool) has
// exactly PrepareForSleep's one boolean: QtDBus emits it on a private, otherwise unused
// instance, and a lambda connected to it does the work. The "b" signature given to
// connect keeps every other argument list away from it.
const char* const kRelaySignal = SIGNAL(recursiveFilteringEnabledChanged(bool));
const QString kSignature = QStringLiteral("b");

} // namespace

SleepWatch::SleepWatch(QDBusConnection connection)
    : connection_(std::move(connection)), relay_(new QSortFilterProxyModel(this)) {
  QObject::connect(relay_, &QSortFilterProxyModel::recursiveFilteringEnabledChanged, this,
                   [this](bool sleeping) { OnPrepareForSleep(sleeping); });
}

SleepWatch::~SleepWatch() {
  Stop();
}

void SleepWatch::SetTarget(ui::CMessageLoop& loop, ui::WindowHandle window) {
  loop_ = &loop;
  target_ = window;
}

bool SleepWatch::Start() {
  if (started_) {
    return true;
  }
  if (!connection_.isConnected()) {
    platform::DebugPrintf("sleep watch: no system bus (%s)",
                          connection_.lastError().message().toLocal8Bit().constData());
    return false;
  }
  if (!connection_.connect(QString::fromLatin1(kLogindService), QString::fromLatin1(kLogindPath),
                           QString::fromLatin1(kLogindInterface), kMember, kSignature, relay_,
                           kRelaySignal)) {
    platform::DebugPrintf("sleep watch: cannot subscribe to PrepareForSleep (%s)",
                          connection_.lastError().message().toLocal8Bit().constData());
    return false;
  }
  started_ = true;
  return true;
}

void SleepWatch::Stop() {
  if (!started_) {
    return;
  }
  connection_.disconnect(QString::fromLatin1(kLogindService), QString::fromLatin1(kLogindPath),
                         QString::fromLatin1(kLogindInterface), kMember, kSignature, relay_,
                         kRelaySignal);
  started_ = false;
}

void SleepWatch::OnPrepareForSleep(bool sleeping) {
  platform::DebugOutput(sleeping ? "sleep watch: going to sleep" : "sleep watch: resumed");
  if (loop_ == nullptr || !loop_->PostMessage(target_, kMsgPowerBroadcast,
                                              sleeping ? kPowerSuspend : kPowerResume, 0)) {
    platform::DebugOutput("sleep watch: no window to tell");
  }
}

} // namespace quorvex::frontend
