#include "ui/MessageLoop.h"

#include "platform/DebugOutput.h"
#include "platform/clock/VirtualClock.h"
#include "ui/Control.h"
#include "ui/PaintManager.h"
#include "ui/WindowWnd.h"

#include <algorithm>

namespace quorvex::ui {

// Lets a virtual clock stop at each timer's deadline.
class CMessageLoop::Alarm final : public platform::ClockAlarm {
public:
  explicit Alarm(CMessageLoop& loop) : loop_(loop) {}
  std::optional<platform::Clock::TimePoint> NextDeadline() const override {
    return loop_.NextTimerDue();
  }
  void OnDeadline(platform::Clock::TimePoint) override { loop_.ProcessPending(); }

private:
  CMessageLoop& loop_;
};

CMessageLoop::CMessageLoop(platform::Clock& clock)
    : clock_(clock), uiThread_(std::this_thread::get_id()) {
  virtualClock_ = dynamic_cast<platform::VirtualClock*>(&clock_);
  if (virtualClock_ != nullptr) {
    alarm_ = std::make_unique<Alarm>(*this);
    virtualClock_->AddAlarm(alarm_.get());
  }
}

CMessageLoop::~CMessageLoop() {
  Shutdown();
  {
    // Released senders still need the mutex to return; the members must outlive them.
    std::unique_lock lock(mutex_);
    sendersGone_.wait(lock, [&] { return waitingSenders_ == 0; });
  }
  if (virtualClock_ != nullptr) {
    virtualClock_->RemoveAlarm(alarm_.get());
  }
}

bool CMessageLoop::PostMessage(WindowHandle window, std::uint32_t msg, WParam wParam,
                               LParam lParam) {
  {
    std::lock_guard lock(mutex_);
    if (stopped_ || windows_.count(window) == 0) {
      return false;
    }
    queue_.push_back(Entry{window, msg, wParam, lParam, {}, {}});
    woken_ = true;
  }
  wake_.notify_one();
  if (IUiLoopDriver* d = driver_.load()) {
    d->RequestProcessing();
  }
  return true;
}

bool CMessageLoop::PostTask(std::function<void()> task) {
  {
    std::lock_guard lock(mutex_);
    if (stopped_ || !task) {
      return false;
    }
    queue_.push_back(Entry{kNoWindow, 0, 0, 0, std::move(task), {}});
    woken_ = true;
  }
  wake_.notify_one();
  if (IUiLoopDriver* d = driver_.load()) {
    d->RequestProcessing();
  }
  return true;
}

SendResult CMessageLoop::SendMessage(WindowHandle window, std::uint32_t msg, WParam wParam,
                                     LParam lParam) {
  if (IsUiThread()) {
    {
      std::lock_guard lock(mutex_);
      if (stopped_) {
        return {};
      }
    }
    CWindowWnd* target = FindWindow(window);
    if (target == nullptr) {
      return {};
    }
    return {true, target->DispatchMessage(msg, wParam, lParam)};
  }
  auto slot = std::make_shared<SendSlot>();
  {
    std::lock_guard lock(mutex_);
    if (stopped_ || windows_.count(window) == 0) {
      return {};
    }
    queue_.push_back(Entry{window, msg, wParam, lParam, {}, slot});
    woken_ = true;
    ++waitingSenders_;
  }
  wake_.notify_one();
  // Outside the lock: the driver may call back into the loop.
  if (IUiLoopDriver* d = driver_.load()) {
    d->RequestProcessing();
  }
  {
    std::unique_lock lock(mutex_);
    sendDone_.wait(lock, [&] { return slot->done; });
    if (--waitingSenders_ == 0) {
      sendersGone_.notify_all();
    }
  }
  return slot->result;
}

bool CMessageLoop::PopEntry(Entry& out) {
  std::lock_guard lock(mutex_);
  if (queue_.empty()) {
    woken_ = false;
    return false;
  }
  out = std::move(queue_.front());
  queue_.pop_front();
  return true;
}

void CMessageLoop::Dispatch(Entry& entry) {
  if (entry.task) {
    entry.task();
    return;
  }
  CWindowWnd* target = FindWindow(entry.window);
  SendResult result;
  if (target != nullptr) {
    result.delivered = true;
    result.result = target->DispatchMessage(entry.msg, entry.wParam, entry.lParam);
  }
  if (entry.send) {
    {
      std::lock_guard lock(mutex_);
      entry.send->result = result;
      entry.send->done = true;
    }
    sendDone_.notify_all();
  }
}

std::size_t CMessageLoop::ProcessPending() {
  std::size_t handled = 0;
  // Only what is queued now: a handler that posts again is served on the next pass.
  std::size_t budget;
  {
    std::lock_guard lock(mutex_);
    budget = queue_.size();
    passRequested_ = false;
  }
  Entry entry;
  while (budget-- > 0 && PopEntry(entry)) {
    Dispatch(entry);
    entry = Entry{};
    ++handled;
  }
  handled += RunDueTimers();
  FinishPass();
  return handled;
}

void CMessageLoop::FinishPass() {
  for (CPaintManagerUI* m : std::vector<CPaintManagerUI*>(managers_)) {
    if (std::find(managers_.begin(), managers_.end(), m) != managers_.end()) {
      m->UpdateLayout();
    }
  }
  TimersChanged();
}

std::size_t CMessageLoop::RunDueTimers() {
  std::size_t fired = 0;
  const auto now = clock_.Now();
  // Each timer fires at most once per pass; the order is by due time, then by arming.
  std::vector<std::uint64_t> firedSeqs;
  for (;;) {
    auto best = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
      if (it->due <= now &&
          std::find(firedSeqs.begin(), firedSeqs.end(), it->seq) == firedSeqs.end() &&
          (best == timers_.end() || it->due < best->due ||
           (it->due == best->due && it->seq < best->seq))) {
        best = it;
      }
    }
    if (best == timers_.end()) {
      break;
    }
    const Timer timer = *best;
    // Re-arm before delivering, so the handler's KillTimer or SetTimer has the last
    // word.
    best->due = timer.due + timer.interval;
    if (best->due <= now && virtualClock_ == nullptr) {
      best->due = now + timer.interval;
    }
    best->seq = ++timerSeq_;
    firedSeqs.push_back(best->seq);
    FireTimer(timer);
    ++fired;
  }
  return fired;
}

void CMessageLoop::FireTimer(const Timer& timer) {
  if (timer.control != nullptr) {
    CPaintManagerUI::DispatchScope scope(timer.manager);
    TEventUI ev;
    ev.type = UiEvent::kTimer;
    ev.sender = timer.control;
    ev.wParam = timer.id;
    timer.control->DoEvent(ev);
  } else if (CWindowWnd* w = FindWindow(timer.window)) {
    w->DispatchMessage(kMsgTimer, timer.id, 0);
  }
}

void CMessageLoop::SetTimer(CPaintManagerUI* manager, CControlUI* control, WindowHandle window,
                            std::uint32_t id, std::uint32_t elapseMs) {
  const platform::Clock::Duration interval(std::max<std::uint32_t>(elapseMs, 1));
  const auto due = clock_.Now() + interval;
  for (Timer& t : timers_) {
    if (t.manager == manager && t.control == control && t.window == window && t.id == id) {
      t.interval = interval;
      t.due = due;
      t.seq = ++timerSeq_;
      TimersChanged();
      return;
    }
  }
  timers_.push_back(Timer{manager, control, window, id, interval, due, ++timerSeq_});
  TimersChanged();
}

bool CMessageLoop::KillTimer(CPaintManagerUI* manager, CControlUI* control, WindowHandle window,
                             std::uint32_t id) {
  const auto it = std::find_if(timers_.begin(), timers_.end(), [&](const Timer& t) {
    return t.manager == manager && t.control == control && t.window == window && t.id == id;
  });
  if (it == timers_.end()) {
    return false;
  }
  timers_.erase(it);
  TimersChanged();
  return true;
}

void CMessageLoop::KillTimersOf(const CControlUI* control) {
  if (std::erase_if(timers_, [&](const Timer& t) { return t.control == control; }) > 0) {
    TimersChanged();
  }
}

void CMessageLoop::KillTimersOf(const CPaintManagerUI* manager) {
  if (std::erase_if(timers_, [&](const Timer& t) { return t.manager == manager; }) > 0) {
    TimersChanged();
  }
}

void CMessageLoop::KillTimersOf(WindowHandle window) {
  if (std::erase_if(timers_, [&](const Timer& t) {
        return t.control == nullptr && t.window == window;
      }) > 0) {
    TimersChanged();
  }
}

std::optional<platform::Clock::TimePoint> CMessageLoop::NextTimerDue() const {
  std::optional<platform::Clock::TimePoint> next;
  for (const Timer& t : timers_) {
    if (!next || t.due < *next) {
      next = t.due;
    }
  }
  return next;
}

void CMessageLoop::TimersChanged() {
  IUiLoopDriver* d = driver_.load();
  if (d != nullptr && IsUiThread()) {
    d->ScheduleWakeUp(NextTimerDue());
  }
}

bool CMessageLoop::HasQueuedWork() const {
  std::lock_guard lock(mutex_);
  return !queue_.empty() || passRequested_;
}

void CMessageLoop::WaitForWork() {
  std::unique_lock lock(mutex_);
  if (!queue_.empty() || passRequested_ || woken_ || stopped_) {
    woken_ = false;
    return;
  }
  const auto next = NextTimerDue();
  const auto steady = next ? clock_.ToSteady(*next) : std::nullopt;
  if (steady) {
    wake_.wait_until(lock, *steady, [&] { return woken_ || stopped_; });
  } else {
    if (virtualClock_ != nullptr && !toldIdle_) {
      // A test that forgot its idle hook would otherwise hang without a word.
      toldIdle_ = true;
      platform::DebugOutput("UI loop idle on a virtual clock: waiting for another thread "
                            "(no idle hook acted, time moves only with Advance)");
    }
    wake_.wait(lock, [&] { return woken_ || stopped_; });
  }
  woken_ = false;
}

int CMessageLoop::Run() {
  // A Quit that came before Run (from a windowinit handler, say) ends it at once.
  RunUntil([] { return false; });
  quit_ = false;
  return quitCode_;
}

void CMessageLoop::RunUntil(const std::function<bool()>& done) {
  auto finished = [&] { return quit_ || done(); };
  if (IUiLoopDriver* d = driver_.load()) {
    d->RunUntil(finished);
    return;
  }
  while (!finished()) {
    ProcessPending();
    if (finished()) {
      break;
    }
    const auto next = NextTimerDue();
    const bool timerDue = next && *next <= clock_.Now();
    if (timerDue || HasQueuedWork()) {
      continue;
    }
    if (idleHook_) {
      idleHook_();
      if (finished() || HasQueuedWork()) {
        continue;
      }
      const auto due = NextTimerDue();
      if (due && *due <= clock_.Now()) {
        continue;
      }
    }
    {
      std::lock_guard lock(mutex_);
      if (stopped_) {
        break;
      }
    }
    WaitForWork();
  }
}

void CMessageLoop::Quit(int code) {
  quitCode_ = code;
  quit_ = true;
  {
    std::lock_guard lock(mutex_);
    woken_ = true;
  }
  wake_.notify_one();
  if (IUiLoopDriver* d = driver_.load()) {
    d->RequestProcessing();
  }
}

void CMessageLoop::Shutdown() {
  std::deque<Entry> dropped;
  {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    woken_ = true;
    dropped.swap(queue_);
    for (Entry& e : dropped) {
      if (e.send) {
        e.send->done = true;
        e.send->result = {};
      }
    }
  }
  sendDone_.notify_all();
  wake_.notify_all();
}

void CMessageLoop::SetDriver(IUiLoopDriver* driver) {
  driver_ = driver;
  TimersChanged();
}

WindowHandle CMessageLoop::RegisterWindow(CWindowWnd* window) {
  std::lock_guard lock(mutex_);
  const WindowHandle h = nextHandle_++;
  windows_[h] = window;
  return h;
}

void CMessageLoop::UnregisterWindow(WindowHandle window) {
  {
    std::lock_guard lock(mutex_);
    windows_.erase(window);
    for (auto it = queue_.begin(); it != queue_.end();) {
      if (!it->task && it->window == window) {
        if (it->send) {
          it->send->done = true;
          it->send->result = {};
        }
        it = queue_.erase(it);
      } else {
        ++it;
      }
    }
  }
  sendDone_.notify_all();
  KillTimersOf(window);
}

CWindowWnd* CMessageLoop::FindWindow(WindowHandle window) const {
  std::lock_guard lock(mutex_);
  const auto it = windows_.find(window);
  return it != windows_.end() ? it->second : nullptr;
}

std::vector<CWindowWnd*> CMessageLoop::GetWindows() const {
  std::lock_guard lock(mutex_);
  std::vector<std::pair<WindowHandle, CWindowWnd*>> sorted(windows_.begin(), windows_.end());
  std::sort(sorted.begin(), sorted.end());
  std::vector<CWindowWnd*> out;
  for (auto& [h, w] : sorted) {
    out.push_back(w);
  }
  return out;
}

void CMessageLoop::RegisterManager(CPaintManagerUI* manager) {
  managers_.push_back(manager);
}

void CMessageLoop::UnregisterManager(CPaintManagerUI* manager) {
  managers_.erase(std::remove(managers_.begin(), managers_.end(), manager), managers_.end());
}

std::size_t CMessageLoop::QueuedCount() const {
  std::lock_guard lock(mutex_);
  return queue_.size();
}

void CMessageLoop::RequestPass() {
  {
    std::lock_guard lock(mutex_);
    if (passRequested_) {
      return;
    }
    passRequested_ = true;
    woken_ = true;
  }
  wake_.notify_one();
  if (IUiLoopDriver* d = driver_.load()) {
    d->RequestProcessing();
  }
}

} // namespace quorvex::ui
