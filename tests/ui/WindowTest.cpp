#include "UiFixture.h"

#include "platform/DebugOutput.h"
#include "ui/MenuWnd.h"
#include "ui/UiDriver.h"

namespace quorvex::ui::test {
namespace {

class WindowTest : public UiFixture {};

TEST_F(WindowTest, CreateBuildsTheSkinAndWindowInitFollowsOnTheFirstPass) {
  TestWindow window("sample.xml");
  std::vector<std::string> seen;
  window.onNotify = [&](TNotifyUI& msg) { seen.push_back(msg.type); };
  ASSERT_NE(window.Create(Context(), kNoWindow, "caption", 0, 0), kNoWindow);
  EXPECT_EQ(window.initCalls, 1);
  EXPECT_TRUE(seen.empty());
  // The skin's size, as the window was created without one.
  EXPECT_EQ(window.GetWindowRect(), (UiRect{0, 0, 400, 300}));
  loop.ProcessPending();
  EXPECT_EQ(seen, std::vector<std::string>{"windowinit"});
  loop.ProcessPending();
  EXPECT_EQ(seen.size(), 1u);
}

TEST_F(WindowTest, ASkinThatCannotBeBuiltFailsCreate) {
  platform::ScopedDebugCapture capture;
  TestWindow window("cycle_a.xml");
  EXPECT_EQ(window.Create(Context(), kNoWindow, "caption", 0, 0), kNoWindow);
  EXPECT_FALSE(window.IsCreated());
  EXPECT_EQ(window.GetPaintManager(), nullptr);
  EXPECT_TRUE(capture.Contains("include cycle"));
  EXPECT_TRUE(capture.Contains("could not be built"));
}

TEST_F(WindowTest, ModalRunReturnsTheCloseCodeOfTheClickedButton) {
  TestWindow dialog("dialog.xml");
  ASSERT_NE(dialog.Create(Context(), kNoWindow, "msg", 0, 0), kNoWindow);
  dialog.onNotify = [&](TNotifyUI& msg) {
    if (msg.type == notify::kClick) {
      dialog.Close(msg.sender->GetName() == "confirm_btn" ? 1 : 0);
    }
  };
  bool sawDestroy = false;
  dialog.onMessage = [&](std::uint32_t msg, WParam, LParam, bool& handled) -> LResult {
    sawDestroy = sawDestroy || msg == kMsgDestroy;
    handled = false;
    return 0;
  };
  // The "user" acts when the modal loop goes idle.
  loop.SetIdleHook([&] {
    if (dialog.GetPaintManager() != nullptr) {
      UiDriver(dialog).Click("confirm_btn");
    }
  });
  EXPECT_EQ(dialog.ShowModal(), 1);
  loop.SetIdleHook(nullptr);
  EXPECT_TRUE(sawDestroy);
  EXPECT_FALSE(dialog.IsCreated());
  EXPECT_EQ(dialog.finalCalls, 1);
}

TEST_F(WindowTest, DestroyInsideAHandlerWaitsForTheHandlerToReturn) {
  auto window = Open("dialog.xml");
  ASSERT_TRUE(window);
  window->onNotify = [&](TNotifyUI& msg) {
    if (msg.type == notify::kClick) {
      window->DestroyWindow();
    }
  };
  UiDriver driver(*window);
  EXPECT_TRUE(driver.Click("cancel_btn"));
  EXPECT_FALSE(window->IsCreated());
  EXPECT_EQ(window->finalCalls, 1);
}

TEST_F(WindowTest, CentreOnTheWorkAreaOrTheParentAndWindowSizeIsRaisedOnChange) {
  loop.SetWorkArea({0, 0, 1000, 800});
  auto window = Open("dialog.xml");
  ASSERT_TRUE(window);
  window->CenterWindow();
  EXPECT_EQ(window->GetWindowRect(), (UiRect{350, 300, 650, 500}));

  TestWindow child("dialog.xml");
  ASSERT_NE(child.Create(Context(), window->GetHWND(), "child", 0, 0, 0, 0, 100, 50), kNoWindow);
  child.CenterWindow();
  EXPECT_EQ(child.GetWindowRect(), (UiRect{450, 375, 550, 425}));

  int sizes = 0;
  window->onNotify = [&](TNotifyUI& msg) { sizes += msg.type == notify::kWindowSize ? 1 : 0; };
  window->ResizeClient(400, 300);
  window->ResizeClient(400, 300);
  loop.ProcessPending();
  EXPECT_EQ(sizes, 1);
  EXPECT_EQ(window->GetPaintManager()->FindControl("root")->GetPos(), (UiRect{0, 0, 400, 300}));
}

TEST_F(WindowTest, MenuItemClicksReachTheOwnerWithTheItemName) {
  auto owner = Open("dialog.xml");
  ASSERT_TRUE(owner);
  std::vector<std::string> picked;
  owner->onMessage = [&](std::uint32_t msg, WParam w, LParam, bool& handled) -> LResult {
    if (msg == kMsgMenuClick) {
      picked.push_back(*reinterpret_cast<const std::string*>(w));
      handled = true;
    }
    return 0;
  };
  CMenuWnd menu;
  ASSERT_TRUE(menu.Init(Context(), owner->GetHWND(), "menu.xml", {500, 400},
                        kMenuAlignRight | kMenuAlignBottom));
  EXPECT_EQ(menu.GetWindowRect(), (UiRect{380, 310, 500, 400}));
  EXPECT_TRUE(menu.IsWindowVisible());
  // An item with a submenu is not a command.
  EXPECT_FALSE(UiDriver::PickMenuItem(menu, "more"));
  EXPECT_TRUE(UiDriver::PickMenuItem(menu, "exit"));
  EXPECT_EQ(picked, std::vector<std::string>{"exit"});
  EXPECT_FALSE(menu.IsCreated());

  // Shown again, and picked with a click this time.
  ASSERT_TRUE(menu.Init(Context(), owner->GetHWND(), "menu.xml", {10, 10}));
  EXPECT_EQ(menu.GetWindowRect(), (UiRect{10, 10, 130, 100}));
  EXPECT_TRUE(UiDriver(menu).Click("about_menu"));
  EXPECT_EQ(picked, (std::vector<std::string>{"exit", "about_menu"}));
  EXPECT_FALSE(menu.IsCreated());
}

TEST_F(WindowTest, MessagesToADestroyedWindowAreRefused) {
  auto window = Open("dialog.xml");
  ASSERT_TRUE(window);
  const WindowHandle h = window->GetHWND();
  int got = 0;
  window->onMessage = [&](std::uint32_t msg, WParam, LParam, bool& handled) -> LResult {
    if (msg == kMsgUser + 1) {
      ++got;
      handled = true;
      return 42;
    }
    return 0;
  };
  EXPECT_EQ(loop.SendMessage(h, kMsgUser + 1, 0, 0).result, 42);
  EXPECT_TRUE(loop.PostMessage(h, kMsgUser + 1, 0, 0));
  window->DestroyWindow();
  loop.ProcessPending();
  EXPECT_EQ(got, 1);
  EXPECT_FALSE(loop.PostMessage(h, kMsgUser + 1, 0, 0));
  EXPECT_FALSE(loop.SendMessage(h, kMsgUser + 1, 0, 0).delivered);
}

} // namespace
} // namespace quorvex::ui::test
