#include "UiFixture.h"

#include "ui/Toolkit.h"

#include "ui/Label.h"
#include "ui/List.h"
#include "ui/UiDriver.h"

#include <algorithm>
#include <atomic>
#include <set>
#include <thread>

namespace quorvex::ui::test {
namespace {

// What a front end would see.
class RecordingObserver : public IUiObserver {
public:
  void OnWindowCreated(CWindowWnd&) override { log.push_back("window+"); }
  void OnWindowShown(CWindowWnd&, bool shown) override {
    log.push_back(shown ? "shown" : "hidden");
  }
  void OnWindowDestroyed(CWindowWnd&) override { log.push_back("window-"); }
  void OnModalBegin(CWindowWnd&) override { log.push_back("modal+"); }
  void OnModalEnd(CWindowWnd&, int code) override {
    log.push_back("modal-" + std::to_string(code));
  }
  void OnControlCreated(CControlUI& c) override {
    // A parent always exists for the front end before its children.
    if (c.GetParent() != nullptr) {
      EXPECT_TRUE(known.count(c.GetParent()) == 1) << c.GetName();
    }
    known.insert(&c);
  }
  void OnControlDestroyed(CControlUI& c) override {
    known.erase(&c);
    destroyed.push_back(c.GetName());
  }
  void OnControlInvalidated(CControlUI& c) override { invalidated.push_back(c.GetName()); }
  void OnControlGeometryChanged(CControlUI& c) override { moved.push_back(c.GetName()); }

  std::vector<std::string> log;
  std::set<CControlUI*> known;
  std::vector<std::string> destroyed;
  std::vector<std::string> invalidated;
  std::vector<std::string> moved;
};

class SeamTest : public UiFixture {
protected:
  SeamTest() { loop.SetObserver(&observer); }
  ~SeamTest() override { loop.SetObserver(nullptr); }
  RecordingObserver observer;
};

TEST_F(SeamTest, TheObserverMirrorsWindowsAndControls) {
  {
    auto window = Open("sample.xml");
    ASSERT_TRUE(window);
    EXPECT_EQ(observer.known.size(), 30u); // every control of sample.xml
    EXPECT_NE(std::find(observer.moved.begin(), observer.moved.end(), "row2"),
              observer.moved.end());
    window->ShowWindow(true);

    observer.invalidated.clear();
    window->GetPaintManager()->FindControl("note")->SetText("changed");
    EXPECT_EQ(observer.invalidated, std::vector<std::string>{"note"});

    window->GetPaintManager()->FindControlAs<CListUI>("list")->RemoveAt(2);
    EXPECT_EQ(observer.destroyed, (std::vector<std::string>{"row2_label", "row2"}));
  }
  EXPECT_TRUE(observer.known.empty());
  EXPECT_EQ(observer.log, (std::vector<std::string>{"window+", "shown", "window-"}));
}

// A front end's event loop, played by the test: it runs passes when asked and
// advances the virtual clock to the wake-up the loop asked for.
class FakeDriver : public IUiLoopDriver {
public:
  FakeDriver(CMessageLoop& loop, platform::VirtualClock& clock) : loop_(loop), clock_(clock) {}
  void RequestProcessing() override { ++requests; }
  void ScheduleWakeUp(std::optional<platform::Clock::TimePoint> due) override { wakeUp = due; }
  void RunUntil(const std::function<bool()>& done) override {
    ++runs;
    while (!done()) {
      loop_.ProcessPending();
      if (!done() && wakeUp) {
        clock_.Advance(*wakeUp - clock_.Now());
      }
    }
  }
  std::atomic<int> requests{0};
  std::optional<platform::Clock::TimePoint> wakeUp;
  int runs = 0;

private:
  CMessageLoop& loop_;
  platform::VirtualClock& clock_;
};

TEST_F(SeamTest, AFrontEndLoopIsAskedForPassesAndWakeUps) {
  FakeDriver driver(loop, clock);
  loop.SetDriver(&driver);
  auto window = Open("dialog.xml");
  ASSERT_TRUE(window);

  window->SetTimer(1, 250);
  ASSERT_TRUE(driver.wakeUp.has_value());
  EXPECT_EQ(*driver.wakeUp, clock.Now() + std::chrono::milliseconds(250));
  window->KillTimer(1);
  EXPECT_FALSE(driver.wakeUp.has_value());

  const int before = driver.requests;
  std::thread worker([&] { loop.PostMessage(window->GetHWND(), kMsgUser, 0, 0); });
  worker.join();
  EXPECT_GT(driver.requests, before);

  // A modal run goes through the front end's loop; the window closes from a timer.
  window->onMessage = [&](std::uint32_t msg, WParam, LParam, bool& handled) -> LResult {
    if (msg == kMsgTimer) {
      window->Close(3);
      handled = true;
    }
    return 0;
  };
  window->SetTimer(2, 100);
  EXPECT_EQ(window->ShowModal(), 3);
  EXPECT_EQ(driver.runs, 1);
  EXPECT_EQ(observer.log.back(), "window-");
  EXPECT_NE(std::find(observer.log.begin(), observer.log.end(), "modal-3"), observer.log.end());
  loop.SetDriver(nullptr);
}

TEST_F(SeamTest, AsynchronousNotificationsSkipSendersThatLeftTheTree) {
  auto window = Open("sample.xml");
  ASSERT_TRUE(window);
  CPaintManagerUI* pm = window->GetPaintManager();
  NotifyRecorder recorder(*pm);
  pm->SendNotify(pm->FindControl("row0"), "custom", 1, 2, true);
  pm->SendNotify(pm->FindControl("row1"), "custom", 3, 4, true);
  EXPECT_TRUE(recorder.Entries().empty());
  pm->FindControlAs<CListUI>("list")->RemoveAt(0);
  loop.ProcessPending();
  EXPECT_EQ(recorder.Summary(), std::vector<std::string>{"custom:row1"});
  EXPECT_EQ(recorder.Entries()[0].lParam, 4);
}

} // namespace
} // namespace quorvex::ui::test
