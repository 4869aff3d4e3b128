#pragma once

// Shared set-up of the toolkit tests: a virtual clock, the UI loop, resources pointing
// at tests/ui/skins, and a skinned window whose reactions a test plugs in.

#include "platform/clock/VirtualClock.h"
#include "support/TestSupport.h"
#include "ui/MessageLoop.h"
#include "ui/ResourceManager.h"
#include "ui/WindowImplBase.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace quorvex::ui::test {

class TestWindow : public WindowImplBase {
public:
  explicit TestWindow(std::string skin) : skin_(std::move(skin)) {}

  std::function<void(TNotifyUI&)> onNotify;
  std::function<LResult(std::uint32_t, WParam, LParam, bool&)> onMessage;
  std::function<std::unique_ptr<CControlUI>(std::string_view)> onCreateControl;
  int initCalls = 0;
  int finalCalls = 0;

  std::string GetSkinFile() override { return skin_; }
  std::string_view GetWindowClassName() const override { return "TestWnd"; }
  void InitWindow() override { ++initCalls; }
  void Notify(TNotifyUI& msg) override {
    if (onNotify) {
      onNotify(msg);
    }
  }
  LResult HandleCustomMessage(std::uint32_t msg, WParam w, LParam l, bool& handled) override {
    if (onMessage) {
      return onMessage(msg, w, l, handled);
    }
    handled = false;
    return 0;
  }
  std::unique_ptr<CControlUI> CreateControl(std::string_view cls) override {
    return onCreateControl ? onCreateControl(cls) : nullptr;
  }
  void OnFinalMessage(WindowHandle) override { ++finalCalls; }

private:
  std::string skin_;
};

class UiFixture : public ::testing::Test {
protected:
  UiFixture() { resources.SetResourcePath(SkinDir()); }

  static std::string SkinDir() { return quorvex::test::SourceDir() + "/tests/ui/skins"; }
  UiContext Context() { return {&loop, &resources}; }

  // Creates a window from `skin` and runs the first loop pass ("windowinit").
  std::unique_ptr<TestWindow> Open(const std::string& skin) {
    auto w = std::make_unique<TestWindow>(skin);
    if (w->Create(Context(), kNoWindow, "test", 0, 0) == kNoWindow) {
      return nullptr;
    }
    loop.ProcessPending();
    return w;
  }

  platform::VirtualClock clock;
  CMessageLoop loop{clock};
  CResourceManager resources;
};

} // namespace quorvex::ui::test
