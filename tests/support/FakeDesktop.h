#pragma once

// A desktop for headless tests: one monitor whose size and work area the test chooses,
// a notification area that records the icons shown, and show-state commands recorded
// in order ("minimize", "maximize", "restore", "front"); the maximised state follows
// them. ScopedFakeDesktop installs one for its lifetime.

#include "ui/DesktopServices.h"

#include <optional>
#include <string>
#include <vector>

namespace quorvex::test {

class FakeDesktop : public ui::IDesktopServices {
public:
  ui::UiRect monitor{0, 0, 1920, 1080};
  ui::UiRect work{0, 0, 1920, 1040};
  ui::UiPoint cursor;
  bool hasTray = true;
  std::vector<std::string> trays; // tool-tips of the icons shown
  std::vector<std::string> calls;
  std::vector<ui::WindowHandle> restored;
  bool maximized = false;

  bool ShowTrayIcon(ui::WindowHandle, std::uint32_t, std::string_view,
                    std::string_view tip) override {
    if (hasTray) {
      trays.emplace_back(tip);
    }
    return hasTray;
  }
  void RemoveTrayIcon(ui::WindowHandle) override { trays.clear(); }
  std::optional<std::string> OpenFileDialog(ui::WindowHandle, std::string_view,
                                            const std::vector<ui::FileFilter>&,
                                            std::string_view) override {
    return std::nullopt;
  }
  std::optional<std::string> SaveFileDialog(ui::WindowHandle, std::string_view,
                                            const std::vector<ui::FileFilter>&,
                                            std::string_view) override {
    return std::nullopt;
  }
  int AddPrivateFont(const std::string&) override { return -1; }
  void RemovePrivateFont(int) override {}
  ui::UiSize GetScreenSize() const override { return {monitor.Width(), monitor.Height()}; }
  ui::UiRect GetMonitorRect(ui::WindowHandle) const override { return monitor; }
  ui::UiRect GetMonitorWorkArea(ui::WindowHandle) const override { return work; }
  int GetMonitorDpi(ui::WindowHandle) const override { return 96; }
  ui::UiPoint GetCursorPos() const override { return cursor; }
  void MinimizeWindow(ui::WindowHandle) override { calls.push_back("minimize"); }
  void MaximizeWindow(ui::WindowHandle) override {
    calls.push_back("maximize");
    maximized = true;
  }
  void RestoreWindow(ui::WindowHandle window) override {
    calls.push_back("restore");
    restored.push_back(window);
    maximized = false;
  }
  void BringToFront(ui::WindowHandle) override { calls.push_back("front"); }
  bool IsMinimized(ui::WindowHandle) const override { return false; }
  bool IsMaximized(ui::WindowHandle) const override { return maximized; }
};

class ScopedFakeDesktop {
public:
  ScopedFakeDesktop() : previous_(ui::GetDesktopServices()) { ui::SetDesktopServices(&desktop); }
  ~ScopedFakeDesktop() { ui::SetDesktopServices(previous_); }
  ScopedFakeDesktop(const ScopedFakeDesktop&) = delete;
  ScopedFakeDesktop& operator=(const ScopedFakeDesktop&) = delete;
  FakeDesktop desktop;

private:
  ui::IDesktopServices* previous_;
};

} // namespace quorvex::test
