#pragma once

// The shipped skins and English texts, a virtual clock and the UI loop, a main window
// to own the dialogs, and a way to act as the user while a dialog runs modally.

#include "platform/clock/VirtualClock.h"
#include "support/FakeDesktop.h"
#include "support/TestSupport.h"
#include "ui/DesktopServices.h"
#include "ui/MessageLoop.h"
#include "ui/ResourceManager.h"
#include "ui/WindowImplBase.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quorvex::windows::test {

// Stands in for the main window.
class OwnerWindow : public ui::WindowImplBase {
public:
  std::string GetSkinFile() override { return "XML_SAMPLE"; }
  std::string_view GetWindowClassName() const override { return "OwnerWnd"; }
};

using quorvex::test::FakeDesktop;
using quorvex::test::ScopedFakeDesktop;

class WindowsFixture : public ::testing::Test {
protected:
  WindowsFixture() {
    resources.SetResourcePath(quorvex::test::DataDir() + "/skin");
    EXPECT_TRUE(resources.LoadResourceIndex());
    EXPECT_TRUE(resources.LoadLanguage("lan_en.xml"));
    loop.SetWorkArea({0, 0, 1920, 1040});
    EXPECT_NE(owner.Create(Context(), ui::kNoWindow, "owner", 0, 0, 200, 100, 1000, 672),
              ui::kNoWindow);
  }
  ~WindowsFixture() override { loop.SetIdleHook(nullptr); }

  ui::UiContext Context() { return {&loop, &resources}; }

  // The first open window of class T, or null.
  template <class T> T* FindOpen() {
    for (ui::CWindowWnd* w : loop.GetWindows()) {
      if (auto* t = dynamic_cast<T*>(w)) {
        return t;
      }
    }
    return nullptr;
  }

  // While a T runs modally, calls `act` once the first time the loop waits for the
  // user. A dialog still open at the next wait is closed with code 77, so a test whose
  // action failed ends instead of waiting for ever.
  template <class T> void WhenOpen(std::function<void(T&)> act) {
    loop.SetIdleHook([this, act, acted = false]() mutable {
      T* window = FindOpen<T>();
      if (window == nullptr) {
        return;
      }
      if (!acted) {
        acted = true;
        act(*window);
      } else {
        window->Close(77);
      }
    });
  }

  platform::VirtualClock clock;
  ui::CMessageLoop loop{clock};
  ui::CResourceManager resources;
  OwnerWindow owner;
};

} // namespace quorvex::windows::test
