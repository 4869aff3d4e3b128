#include "UiFixture.h"

#include "ui/Combo.h"
#include "ui/UiDriver.h"

#include <vector>

namespace quorvex::ui::test {
namespace {

using std::chrono::milliseconds;

class TimerTest : public UiFixture {
protected:
  void SetUp() override {
    window = Open("sample.xml");
    ASSERT_TRUE(window);
    pm = window->GetPaintManager();
    window->onNotify = [this](TNotifyUI& msg) {
      if (msg.type == notify::kTimer) {
        fired.push_back(
            {msg.sender->GetName(), static_cast<int>(msg.wParam), (clock.Now() - start).count()});
        if (onTimer) {
          onTimer(msg);
        }
      }
    };
    start = clock.Now();
  }
  struct Fired {
    std::string control;
    int id;
    long long at;
    bool operator==(const Fired&) const = default;
  };

  std::unique_ptr<TestWindow> window;
  CPaintManagerUI* pm = nullptr;
  std::vector<Fired> fired;
  std::function<void(TNotifyUI&)> onTimer;
  platform::Clock::TimePoint start;
};

TEST_F(TimerTest, TwoSelectionsWithin400MsGiveOneFiringOfTheRearmedTimer) {
  // The page's way to make a one-shot: arm on every choice, kill in the handler.
  auto* combo = pm->FindControlAs<CComboUI>("combo");
  auto previous = window->onNotify;
  window->onNotify = [&, previous](TNotifyUI& msg) {
    if (msg.type == notify::kItemSelect) {
      pm->SetTimer(combo, 1055, 400);
    }
    previous(msg);
  };
  onTimer = [&](TNotifyUI& msg) { pm->KillTimer(msg.sender, 1055); };
  UiDriver driver(*pm);

  ASSERT_TRUE(driver.SelectItem("combo", 0));
  clock.Advance(milliseconds(250));
  ASSERT_TRUE(driver.SelectItem("combo", 1));
  clock.Advance(milliseconds(399));
  EXPECT_TRUE(fired.empty());
  clock.Advance(milliseconds(1));
  EXPECT_EQ(fired, (std::vector<Fired>{{"combo", 1055, 650}}));
  clock.Advance(milliseconds(5000));
  EXPECT_EQ(fired.size(), 1u);
}

TEST_F(TimerTest, TimersRepeatUntilKilledAndFireInDeadlineOrder) {
  CControlUI* a = pm->FindControl("title");
  CControlUI* b = pm->FindControl("note");
  ASSERT_TRUE(pm->SetTimer(a, 1, 100));
  ASSERT_TRUE(pm->SetTimer(b, 2, 150));
  clock.Advance(milliseconds(300));
  EXPECT_EQ(fired, (std::vector<Fired>{{"title", 1, 100},
                                       {"note", 2, 150},
                                       {"title", 1, 200},
                                       {"note", 2, 300},
                                       {"title", 1, 300}}));
  fired.clear();
  EXPECT_TRUE(pm->KillTimer(a, 1));
  EXPECT_FALSE(pm->KillTimer(a, 1));
  clock.Advance(milliseconds(150));
  EXPECT_EQ(fired, (std::vector<Fired>{{"note", 2, 450}}));
}

TEST_F(TimerTest, ASameInstantOrderFollowsArmingAndAControlsTimersDieWithIt) {
  CControlUI* first = pm->FindControl("row0");
  CControlUI* second = pm->FindControl("row1");
  pm->SetTimer(second, 7, 50);
  pm->SetTimer(first, 7, 50);
  clock.Advance(milliseconds(50));
  EXPECT_EQ(fired, (std::vector<Fired>{{"row1", 7, 50}, {"row0", 7, 50}}));
  fired.clear();
  pm->FindControlAs<CContainerUI>("list")->Remove(second);
  clock.Advance(milliseconds(50));
  EXPECT_EQ(fired, (std::vector<Fired>{{"row0", 7, 100}}));
  // A control outside the window cannot arm a timer.
  CControlUI loose;
  EXPECT_FALSE(pm->SetTimer(&loose, 1, 10));
}

TEST_F(TimerTest, WindowTimersArriveAsTimerMessages) {
  std::vector<std::pair<WParam, long long>> seen;
  window->onMessage = [&](std::uint32_t msg, WParam w, LParam, bool& handled) -> LResult {
    if (msg == kMsgTimer) {
      seen.emplace_back(w, (clock.Now() - start).count());
      window->KillTimer(static_cast<std::uint32_t>(w));
      handled = true;
    }
    return 0;
  };
  ASSERT_TRUE(window->SetTimer(1011, 100));
  ASSERT_TRUE(window->SetTimer(1032, 10));
  clock.Advance(milliseconds(1000));
  EXPECT_EQ(seen, (std::vector<std::pair<WParam, long long>>{{1032, 10}, {1011, 100}}));
}

} // namespace
} // namespace quorvex::ui::test
