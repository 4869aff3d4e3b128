#include "WindowsFixture.h"

#include "platform/DebugOutput.h"
#include "ui/UiDriver.h"
#include "windows/CMsgWnd.h"

namespace quorvex::windows::test {
namespace {

class MsgWndTest : public WindowsFixture {
protected:
  int Show(std::string_view title, std::string_view text, int dpi, bool textIsKey, int mode) {
    return ShowMessage(Context(), owner.GetHWND(), title, text, dpi, textIsKey, mode);
  }
};

TEST_F(MsgWndTest, OnlyTheConfirmButtonConfirms) {
  struct Case {
    int mode;
    const char* button;
    bool clickable;
    int result;
  };
  const Case cases[] = {
      {kButtonsConfirmCancel, "confirm_btn", true, kMessageConfirmed},
      {kButtonsConfirmCancel, "cancel_btn", true, kMessageDismissed},
      {kButtonsConfirmCancel, "closebtn", true, kMessageDismissed},
      {kButtonsConfirmCancel, "CloseBtn", true, kMessageDismissed},
      {kButtonsConfirm, "confirm_btn", true, kMessageConfirmed},
      {kButtonsConfirm, "closebtn", true, kMessageDismissed},
      {kButtonsConfirm, "cancel_btn", false, kMessageDismissed}, // hidden in this mode
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.button) + " in mode " + std::to_string(c.mode));
    bool cancelShown = false;
    bool clicked = false;
    WhenOpen<CMsgWnd>([&](CMsgWnd& box) {
      ui::UiDriver driver(box);
      cancelShown = driver.Shown("cancel_btn");
      EXPECT_TRUE(driver.Shown("confirm_btn"));
      // The driver finds controls by their exact name; the window compares without case.
      if (std::string_view(c.button) == "CloseBtn") {
        box.FindControl("closebtn")->SetName("CloseBtn");
      }
      clicked = driver.Click(c.button);
    });
    EXPECT_EQ(Show("", "message_text_4", 96, true, c.mode), c.result);
    EXPECT_EQ(clicked, c.clickable);
    EXPECT_EQ(cancelShown, c.mode == kButtonsConfirmCancel);
    EXPECT_EQ(FindOpen<CMsgWnd>(), nullptr);
  }
}

TEST_F(MsgWndTest, ClosedByAnyoneElseCountsAsNotConfirmed) {
  WhenOpen<CMsgWnd>([](CMsgWnd& box) { box.Close(5); });
  EXPECT_EQ(Show("", "", 96, false, kButtonsConfirm), kMessageDismissed);
  // The program ending under the box: the loop quits, the box still goes away.
  WhenOpen<CMsgWnd>([&](CMsgWnd&) { loop.Quit(0); });
  EXPECT_EQ(Show("", "", 96, false, kButtonsConfirm), kMessageDismissed);
  EXPECT_EQ(FindOpen<CMsgWnd>(), nullptr);
}

TEST_F(MsgWndTest, TitleAndTextEmptyKeepTheSkinsAndKeysAreTranslated) {
  struct Case {
    const char* title;
    const char* text;
    bool textIsKey;
    const char* shownTitle;
    const char* shownText;
  };
  const Case cases[] = {
      {"", "", false, "Notice", "Please confirm to continue."},
      {"", "", true, "Notice", "Please confirm to continue."},
      {"Macros", "message_text_4", true, "Macros", "Delete this macro?"},
      {"", "The file could not be read.", false, "Notice", "The file could not be read."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::string title;
    std::string text;
    WhenOpen<CMsgWnd>([&](CMsgWnd& box) {
      ui::UiDriver driver(box);
      title = driver.Text("MessageTitle");
      text = driver.Text("MessageText");
      driver.Click("closebtn");
    });
    Show(c.title, c.text, 96, c.textIsKey, kButtonsConfirm);
    EXPECT_EQ(title, c.shownTitle);
    EXPECT_EQ(text, c.shownText);
  }
}

TEST_F(MsgWndTest, AKeyFollowsTheLanguageWhileTheBoxIsOpen) {
  std::string before;
  std::string after;
  WhenOpen<CMsgWnd>([&](CMsgWnd& box) {
    ui::UiDriver driver(box);
    before = driver.Text("MessageText");
    ASSERT_TRUE(resources.LoadLanguage("lan_cn.xml"));
    after = driver.Text("MessageText");
    driver.Click("confirm_btn");
  });
  EXPECT_EQ(Show("", "message_text_22", 96, true, kButtonsConfirmCancel), kMessageConfirmed);
  EXPECT_EQ(before, "Restore the default settings?");
  EXPECT_EQ(after, "确定要恢复默认设置吗？");
}

TEST_F(MsgWndTest, DpiScalesOnlyTheBoxAndUnknownValuesFallBackTo96) {
  struct Case {
    int dpi;
    int used;
    bool complaint;
  };
  const Case cases[] = {
      {96, 96, false}, {144, 144, false}, {48, 48, false}, {100, 96, true}, {0, 96, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    platform::ScopedDebugCapture capture;
    int dpi = 0;
    ui::UiRect rect;
    WhenOpen<CMsgWnd>([&](CMsgWnd& box) {
      dpi = box.GetPaintManager()->GetDPI();
      rect = box.GetWindowRect();
      box.Close(0);
    });
    Show("", "message_text_5", c.dpi, true, kButtonsConfirm);
    EXPECT_EQ(dpi, c.used);
    EXPECT_EQ(capture.Contains("MSG_WND DPI SET ERROR"), c.complaint);
    // The skin is 440 x 208 units, and the box sits in the middle of its owner.
    EXPECT_EQ(rect.Width(), 440 * c.used / 96);
    EXPECT_EQ(rect.Height(), 208 * c.used / 96);
    const ui::UiRect& o = owner.GetWindowRect();
    EXPECT_EQ(rect.left + rect.Width() / 2, o.left + o.Width() / 2);
    EXPECT_EQ(rect.top + rect.Height() / 2, o.top + o.Height() / 2);
    // The main window behind it keeps its own scale.
    EXPECT_EQ(owner.GetPaintManager()->GetDPI(), 96);
  }
}

TEST_F(MsgWndTest, ItIsAToolWindowOwnedByTheParent) {
  std::uint32_t exStyle = 0;
  ui::WindowHandle parent = ui::kNoWindow;
  std::string cls;
  WhenOpen<CMsgWnd>([&](CMsgWnd& box) {
    exStyle = box.GetExStyle();
    parent = box.GetParentHWND();
    cls = std::string(box.GetWindowClassName());
    box.Close(0);
  });
  Show("", "", 96, false, kButtonsConfirm);
  EXPECT_NE(exStyle & ui::kStyleToolWindow, 0u);
  EXPECT_EQ(parent, owner.GetHWND());
  EXPECT_EQ(cls, "MsgWnd");
}

TEST_F(MsgWndTest, HiddenCaptionButtonsStillSendTheirCommands) {
  ScopedFakeDesktop fake;
  WhenOpen<CMsgWnd>([&](CMsgWnd& box) {
    ui::UiDriver driver(box);
    for (const char* name : {"minbtn", "maxbtn", "restorebtn", "menubtn"}) {
      box.FindControl(name)->SetVisible(true);
      EXPECT_TRUE(driver.Click(name)) << name;
    }
    EXPECT_EQ(FindOpen<CMsgWnd>(), &box);
    driver.Click("confirm_btn");
  });
  EXPECT_EQ(Show("", "", 96, false, kButtonsConfirm), kMessageConfirmed);
  EXPECT_EQ(fake.desktop.calls, (std::vector<std::string>{"minimize", "maximize", "restore"}));
}

TEST_F(MsgWndTest, TheBoxFollowsADpiChangeOfItsScreen) {
  ui::UiRect rect;
  WhenOpen<CMsgWnd>([&](CMsgWnd& box) {
    const ui::UiRect suggested{300, 200, 300 + 880, 200 + 416};
    box.SendMessage(kMsgDpiChanged, 192, reinterpret_cast<ui::LParam>(&suggested));
    EXPECT_EQ(box.GetDpi(), 192);
    EXPECT_EQ(box.GetPaintManager()->GetDPI(), 192);
    rect = box.GetWindowRect();
    box.Close(0);
  });
  Show("", "", 96, false, kButtonsConfirm);
  EXPECT_EQ(rect, (ui::UiRect{300, 200, 1180, 616}));
}

} // namespace
} // namespace quorvex::windows::test
