#include "frontend/qt/QtLoopDriver.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <algorithm>
#include <chrono>

namespace quorvex::frontend {
namespace {

const QEvent::Type kProcessEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

} // namespace

QtLoopDriver::QtLoopDriver(ui::CMessageLoop& loop) : loop_(loop) {
  wakeUp_.setSingleShot(true);
  wakeUp_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&wakeUp_, &QTimer::timeout, this, [this] { Process(); });
  loop_.SetDriver(this);
  // Work queued before the driver existed still needs a pass.
  RequestProcessing();
}

QtLoopDriver::~QtLoopDriver() {
  loop_.SetDriver(nullptr);
}

void QtLoopDriver::RequestProcessing() {
  // Many requests between two passes need one pass; the flag is cleared before the
  // pass starts so that work queued during it asks again.
  if (queued_.exchange(true)) {
    return;
  }
  // A plain event carries nothing for the UI thread to read, so the hand-over is only
  // Qt's own posted-event queue (a functor built here and run there would be data
  // crossing threads through a lock that ThreadSanitizer cannot see).
  QCoreApplication::postEvent(this, new QEvent(kProcessEvent));
}

void QtLoopDriver::customEvent(QEvent*) {
  queued_ = false;
  Process();
}

void QtLoopDriver::ScheduleWakeUp(std::optional<platform::Clock::TimePoint> due) {
  if (!due) {
    wakeUp_.stop();
    return;
  }
  const auto steady = loop_.GetClock().ToSteady(*due);
  if (!steady) {
    // A clock that does not move by itself (a test's virtual clock): the test
    // advances it, and the clock's alarm runs the due timers.
    wakeUp_.stop();
    return;
  }
  const auto left =
      std::chrono::ceil<std::chrono::milliseconds>(*steady - std::chrono::steady_clock::now());
  const int ms = static_cast<int>(std::clamp<long long>(left.count(), 0, 24LL * 3600 * 1000));
  wakeUp_.start(ms);
}

void QtLoopDriver::Process() {
  loop_.ProcessPending();
}

void QtLoopDriver::RunUntil(const std::function<bool()>& done) {
  while (!done()) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
  }
}

int QtLoopDriver::Exec() {
  return loop_.Run();
}

} // namespace quorvex::frontend
