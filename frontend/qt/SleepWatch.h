#pragma once

// SleepWatch: tells the main window when the computer goes to sleep and wakes up.
//
// logind announces both with PrepareForSleep(b) on the system bus (true before sleep,
// false after resume). The watch posts the power-broadcast message to its target
// window: wParam kPowerSuspend (4) before sleep, kPowerResume (18) after it, lParam 0.
// Only the signal from the owner of org.freedesktop.login1 with a single boolean
// counts; anything else is ignored.
//
// UI thread only; the loop given to SetTarget outlives this object.

#include "app/AppMessages.h"
#include "ui/MessageLoop.h"
#include "ui/UiTypes.h"

#include <QDBusConnection>
#include <QObject>
#include <cstdint>

namespace quorvex::frontend {

inline constexpr char kLogindService[] = "org.freedesktop.login1";
inline constexpr char kLogindPath[] = "/org/freedesktop/login1";
inline constexpr char kLogindInterface[] = "org.freedesktop.login1.Manager";
// The power-broadcast message and its two parameters.
using app::kMsgPowerBroadcast;
using app::kPowerResume;
using app::kPowerSuspend;

class SleepWatch final : public QObject {
  Q_OBJECT

public:
  // `connection`: where logind lives (the system bus; tests pass their own).
  explicit SleepWatch(QDBusConnection connection = QDBusConnection::systemBus());
  ~SleepWatch() override;
  SleepWatch(const SleepWatch&) = delete;
  SleepWatch& operator=(const SleepWatch&) = delete;

  void SetTarget(ui::CMessageLoop& loop, ui::WindowHandle window);

  // Subscribes to PrepareForSleep. False, with a debug line, without a bus.
  bool Start();
  bool IsStarted() const { return started_; }

private Q_SLOTS:
  // logind's PrepareForSleep(b).
  void OnPrepareForSleep(bool sleeping);

private:
  void Stop();

  QDBusConnection connection_;
  bool started_ = false;
  ui::CMessageLoop* loop_ = nullptr;
  ui::WindowHandle target_ = ui::kNoWindow;
};

} // namespace quorvex::frontend
