#include "WindowsFixture.h"

#include "ui/UiDriver.h"
#include "windows/CAboutWnd.h"

#include <chrono>

namespace quorvex::windows::test {
namespace {

class AboutWndTest : public WindowsFixture {
protected:
  int Show(std::string_view version = "1.4.2", int dpi = 96) {
    return ShowAboutWindow(Context(), owner.GetHWND(), version, dpi);
  }
};

TEST_F(AboutWndTest, TheVersionLineFollowsTheLanguage) {
  std::string english;
  std::string chinese;
  WhenOpen<CAboutWnd>([&](CAboutWnd& about) {
    ui::UiDriver driver(about);
    english = driver.Text("software_ver_label");
    EXPECT_FALSE(driver.Shown("text_test"));
    ASSERT_TRUE(resources.LoadLanguage("lan_cn.xml"));
    // The main window tells its about window after switching the language.
    ASSERT_TRUE(about.PostMessage(kMsgLanguageChanged));
    driver.Pump();
    chinese = driver.Text("software_ver_label");
    driver.Click("closebtn");
  });
  EXPECT_EQ(Show("1.4.2"), 0);
  EXPECT_EQ(english, "Version 1.4.2");
  EXPECT_EQ(chinese, "版本 1.4.2");
}

TEST_F(AboutWndTest, OnlyOneAtATimeAndTheMainWindowCanCloseIt) {
  ScopedFakeDesktop fake;
  int second = 0;
  CAboutWnd* seen = nullptr;
  WhenOpen<CAboutWnd>([&](CAboutWnd& about) {
    seen = CAboutWnd::Current();
    second = Show("9.9.9");
    EXPECT_EQ(CAboutWnd::Current(), &about);
    CAboutWnd::Current()->Close(0);
  });
  EXPECT_EQ(CAboutWnd::Current(), nullptr);
  EXPECT_EQ(Show(), 0);
  EXPECT_NE(seen, nullptr);
  EXPECT_EQ(second, -1);
  EXPECT_EQ(fake.desktop.calls, std::vector<std::string>{"front"});
  EXPECT_EQ(CAboutWnd::Current(), nullptr);
  EXPECT_EQ(FindOpen<CAboutWnd>(), nullptr);
}

TEST_F(AboutWndTest, CaptionButtonsSendCommandsAndSwapMaximiseAndRestore) {
  ScopedFakeDesktop fake;
  std::vector<std::string> shown;
  WhenOpen<CAboutWnd>([&](CAboutWnd& about) {
    ui::UiDriver driver(about);
    auto state = [&] {
      shown.push_back(std::string(driver.Shown("maxbtn") ? "max" : "-") +
                      (driver.Shown("restorebtn") ? "+restore" : ""));
    };
    state();
    EXPECT_TRUE(driver.Click("maxbtn"));
    state();
    EXPECT_TRUE(driver.Click("restorebtn"));
    state();
    EXPECT_TRUE(driver.Click("minbtn"));
    EXPECT_TRUE(driver.Click("homepage_btn"));
    EXPECT_EQ(FindOpen<CAboutWnd>(), &about);
    driver.Click("closebtn");
  });
  EXPECT_EQ(Show(), 0);
  EXPECT_EQ(shown, (std::vector<std::string>{"max", "-+restore", "max"}));
  EXPECT_EQ(fake.desktop.calls, (std::vector<std::string>{"maximize", "restore", "minimize"}));
}

TEST_F(AboutWndTest, SizeDpiAndTimerOne) {
  ui::UiRect rect;
  bool timerLeft = true;
  WhenOpen<CAboutWnd>([&](CAboutWnd& about) {
    rect = about.GetWindowRect();
    about.SetTimer(1, 100);
    clock.Advance(std::chrono::milliseconds(150));
    loop.ProcessPending();
    timerLeft = loop.NextTimerDue().has_value();
    about.Close(0);
  });
  EXPECT_EQ(Show("1.0", 144), 0);
  EXPECT_EQ(rect.Width(), 1200);
  EXPECT_EQ(rect.Height(), 858);
  EXPECT_FALSE(timerLeft);
}

} // namespace
} // namespace quorvex::windows::test
