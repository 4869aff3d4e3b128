#pragma once

// QtLoopDriver: runs the toolkit's message loop on Qt's event loop.
//
// Work queued from any thread (posted and sent messages, tasks, layout passes) becomes
// one queued call into the UI thread that runs CMessageLoop::ProcessPending; toolkit
// timers become one precise single-shot QTimer armed for the earliest due time. Modal
// runs (ShowModal) spin a nested Qt event loop until the toolkit says they are done.
//
// Construct and destroy on the UI thread, the thread of the CMessageLoop.

#include "ui/MessageLoop.h"

#include <QObject>
#include <QTimer>
#include <atomic>

namespace quorvex::frontend {

class QtLoopDriver final : public QObject, public ui::IUiLoopDriver {
public:
  // Installs itself as the loop's driver; the destructor removes it.
  explicit QtLoopDriver(ui::CMessageLoop& loop);
  ~QtLoopDriver() override;
  QtLoopDriver(const QtLoopDriver&) = delete;
  QtLoopDriver& operator=(const QtLoopDriver&) = delete;

  void RequestProcessing() override;
  void ScheduleWakeUp(std::optional<platform::Clock::TimePoint> due) override;
  void RunUntil(const std::function<bool()>& done) override;

  // Runs Qt's event loop until the toolkit loop's Quit; returns its code.
  int Exec();

protected:
  // The queued pass: an event of our own type, posted from any thread.
  void customEvent(QEvent* event) override;

private:
  void Process();

  ui::CMessageLoop& loop_;
  QTimer wakeUp_;
  std::atomic<bool> queued_{false};
  bool processing_ = false;
};

} // namespace quorvex::frontend
