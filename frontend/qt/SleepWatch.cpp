#include "frontend/qt/SleepWatch.h"

#include "platform/DebugOutput.h"

#include <QDBusError>

namespace quorvex::frontend {
namespace {

const QString kMember = QStringLiteral("PrepareForSleep");
const QString kSignature = QStringLiteral("b");
const char* const kSlot = SLOT(OnPrepareForSleep(bool));

} // namespace

SleepWatch::SleepWatch(QDBusConnection connection) : connection_(std::move(connection)) {}

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
                           QString::fromLatin1(kLogindInterface), kMember, kSignature, this,
                           kSlot)) {
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
                         QString::fromLatin1(kLogindInterface), kMember, kSignature, this, kSlot);
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
