#pragma once

// CMessageLoop: the UI thread's queue of window messages, tasks and timers.
//
// One loop per UI thread. Its constructing thread is the UI thread. PostMessage,
// SendMessage and PostTask are the only calls allowed from other threads; everything
// else is for the UI thread.
//
// Who waits: the headless loop (no driver) waits itself, on a condition variable,
// until a message arrives or the next timer is due by the clock. With a
// VirtualClock, time only moves when the test calls VirtualClock::Advance, which runs
// exactly the timers that fall due, in order. A front end that owns the real event
// loop (Qt) installs an IUiLoopDriver instead and calls ProcessPending() when asked.

#include "platform/clock/Clock.h"
#include "ui/UiObserver.h"
#include "ui/UiTypes.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>
#include <vector>

namespace quorvex::platform {
class VirtualClock;
}

namespace quorvex::ui {

class CControlUI;
class CPaintManagerUI;
class CWindowWnd;

// Implemented by a front end whose own event loop runs the UI thread.
class IUiLoopDriver {
public:
  virtual ~IUiLoopDriver() = default;
  // Any thread: work is queued; have the UI thread call CMessageLoop::ProcessPending()
  // soon (Qt: a queued invocation). Also called when a Run condition may have changed.
  virtual void RequestProcessing() = 0;
  // UI thread: the earliest timer is due at `due` by the loop's clock (nullopt: no
  // timer); call ProcessPending() then. Replaces the previous request.
  virtual void ScheduleWakeUp(std::optional<platform::Clock::TimePoint> due) = 0;
  // UI thread: run the platform's event loop, nested if needed, until `done()` is
  // true (check it after each ProcessPending call).
  virtual void RunUntil(const std::function<bool()>& done) = 0;
};

struct SendResult {
  bool delivered = false; // false: window gone, loop shut down, or window destroyed first
  LResult result = 0;
};

class CMessageLoop {
public:
  explicit CMessageLoop(platform::Clock& clock);
  // Shuts down and waits until every thread blocked in SendMessage has left it.
  ~CMessageLoop();
  CMessageLoop(const CMessageLoop&) = delete;
  CMessageLoop& operator=(const CMessageLoop&) = delete;

  platform::Clock& GetClock() const { return clock_; }
  bool IsUiThread() const { return std::this_thread::get_id() == uiThread_; }

  // --- any thread ---
  // Queues a message for the window. False when the window does not exist or the
  // loop has shut down.
  bool PostMessage(WindowHandle window, std::uint32_t msg, WParam wParam, LParam lParam);
  // Delivers a message and returns the window's answer. From the UI thread the window
  // handles it at once; from another thread the caller blocks until the UI thread has
  // handled it, or until the window is destroyed or the loop shuts down (then
  // delivered is false).
  SendResult SendMessage(WindowHandle window, std::uint32_t msg, WParam wParam, LParam lParam);
  // Runs `task` on the UI thread in queue order. False after shutdown.
  bool PostTask(std::function<void()> task);

  // --- UI thread ---
  // Runs until Quit (at once if Quit came first); returns the code given to Quit.
  int Run();
  // Runs until done() is true or Quit was called (modal windows use this; nests).
  void RunUntil(const std::function<bool()>& done);
  // Ends Run (and any RunUntil in progress).
  void Quit(int code = 0);
  bool IsQuitting() const { return quit_; }
  // Handles every message queued now, the due timers, pending asynchronous
  // notifications and layouts. Returns the number of messages and timers handled.
  std::size_t ProcessPending();
  // Completes every waiting SendMessage with delivered == false and refuses further
  // posts and sends. Called by the destructor.
  void Shutdown();
  // Called by the headless loop each time it runs out of work, before it waits.
  void SetIdleHook(std::function<void()> hook) { idleHook_ = std::move(hook); }
  // Set before other threads post (the driver must outlive its use).
  void SetDriver(IUiLoopDriver* driver);
  void SetObserver(IUiObserver* observer) { observer_ = observer; }
  IUiObserver* GetObserver() const { return observer_; }
  // The desktop area windows centre in (pixels); the front end sets the real one.
  UiRect GetWorkArea() const { return workArea_; }
  void SetWorkArea(const UiRect& area) { workArea_ = area; }
  // The pointer's desktop position, for menus opened "at the cursor"; the front end
  // keeps it current, tests set it.
  UiPoint GetCursorPos() const { return cursor_; }
  void SetCursorPos(UiPoint point) { cursor_ = point; }

  // --- timers (used by CPaintManagerUI and CWindowWnd) ---
  // A control timer (control != null) or a window timer (control == null). Re-arming
  // the same key restarts its period. A zero period is taken as 1 ms.
  void SetTimer(CPaintManagerUI* manager, CControlUI* control, WindowHandle window,
                std::uint32_t id, std::uint32_t elapseMs);
  bool KillTimer(CPaintManagerUI* manager, CControlUI* control, WindowHandle window,
                 std::uint32_t id);
  // Removes every timer of a control, a manager or a window.
  void KillTimersOf(const CControlUI* control);
  void KillTimersOf(const CPaintManagerUI* manager);
  void KillTimersOf(WindowHandle window);
  std::optional<platform::Clock::TimePoint> NextTimerDue() const;

  // --- windows and managers (used by CWindowWnd and CPaintManagerUI) ---
  WindowHandle RegisterWindow(CWindowWnd* window);
  // Drops the window's queued messages, completes its waiting sends as not delivered
  // and removes its timers.
  void UnregisterWindow(WindowHandle window);
  CWindowWnd* FindWindow(WindowHandle window) const;
  std::vector<CWindowWnd*> GetWindows() const;
  void RegisterManager(CPaintManagerUI* manager);
  void UnregisterManager(CPaintManagerUI* manager);
  // Messages and tasks waiting in the queue (any thread; for diagnostics and tests).
  std::size_t QueuedCount() const;
  // Asks for a ProcessPending pass soon (layouts, asynchronous notifications).
  void RequestPass();

private:
  struct SendSlot {
    bool done = false;
    SendResult result;
  };
  struct Entry {
    WindowHandle window = kNoWindow;
    std::uint32_t msg = 0;
    WParam wParam = 0;
    LParam lParam = 0;
    std::function<void()> task;
    std::shared_ptr<SendSlot> send;
  };
  struct Timer {
    CPaintManagerUI* manager = nullptr;
    CControlUI* control = nullptr;
    WindowHandle window = kNoWindow;
    std::uint32_t id = 0;
    platform::Clock::Duration interval{0};
    platform::Clock::TimePoint due;
    std::uint64_t seq = 0;
  };
  class Alarm;

  bool PopEntry(Entry& out);
  void Dispatch(Entry& entry);
  std::size_t RunDueTimers();
  void FireTimer(const Timer& timer);
  void FinishPass();
  void TimersChanged();
  void WaitForWork();
  bool HasQueuedWork() const;

  platform::Clock& clock_;
  platform::VirtualClock* virtualClock_ = nullptr;
  std::unique_ptr<Alarm> alarm_;
  std::thread::id uiThread_;
  std::atomic<IUiLoopDriver*> driver_{nullptr};
  IUiObserver* observer_ = nullptr;
  std::function<void()> idleHook_;
  UiRect workArea_{0, 0, 1920, 1080};
  UiPoint cursor_;

  mutable std::mutex mutex_;
  std::condition_variable wake_;     // the UI thread waits for work
  std::condition_variable sendDone_; // senders wait for their answer
  std::condition_variable sendersGone_;
  int waitingSenders_ = 0; // threads inside SendMessage's wait
  std::deque<Entry> queue_;
  std::unordered_map<WindowHandle, CWindowWnd*> windows_;
  WindowHandle nextHandle_ = 1;
  bool stopped_ = false;
  bool woken_ = false;

  std::vector<Timer> timers_;
  std::uint64_t timerSeq_ = 0;
  std::vector<CPaintManagerUI*> managers_;
  int quitCode_ = 0;
  bool quit_ = false;
  bool passRequested_ = false;
  bool toldIdle_ = false;
};

} // namespace quorvex::ui
