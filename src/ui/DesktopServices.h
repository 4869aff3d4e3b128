#pragma once

// IDesktopServices: what the program asks of the desktop beyond its own windows: the
// notification-area icon, file dialogs, private fonts, screens and the show state of a
// window. The Qt front end provides it; headless builds and tests may install a fake
// or none (callers then skip the step, as they do for a control that is missing).
//
// UI thread only. Window handles are those of the toolkit (CWindowWnd::GetHWND()).

#include "ui/UiTypes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex::ui {

// One entry of a file dialog's type list: the text the user sees and the pattern it
// stands for ({"Profile Files(*.json)", "*.json"}). Patterns match without regard to
// case, so "*.shoot" also lists "ShootData_1.Shoot".
struct FileFilter {
  std::string text;
  std::string pattern;
};

// Mouse messages reported in lParam of the tray icon's callback message.
inline constexpr LParam kTrayLeftButtonUp = 514;
inline constexpr LParam kTrayRightButtonUp = 517;

class IDesktopServices {
public:
  virtual ~IDesktopServices() = default;

  // --- notification-area icon ---
  // Shows (or updates) the icon of `owner`: an image file (absolute, or relative to
  // the skin folder) and a tool-tip. Clicks arrive as `callbackMessage` posted to
  // `owner` with lParam kTrayLeftButtonUp or kTrayRightButtonUp. False when the
  // desktop has no notification area.
  virtual bool ShowTrayIcon(WindowHandle owner, std::uint32_t callbackMessage,
                            std::string_view image, std::string_view toolTip) = 0;
  virtual void RemoveTrayIcon(WindowHandle owner) = 0;

  // --- file dialogs (modal; nullopt when the user cancels) ---
  virtual std::optional<std::string> OpenFileDialog(WindowHandle owner, std::string_view title,
                                                    const std::vector<FileFilter>& filters,
                                                    std::string_view folder) = 0;
  // A chosen name without an extension gets the selected filter's one.
  virtual std::optional<std::string> SaveFileDialog(WindowHandle owner, std::string_view title,
                                                    const std::vector<FileFilter>& filters,
                                                    std::string_view suggestedPath) = 0;

  // --- private fonts ---
  // Makes a font file usable by name for this process; returns an id for
  // RemovePrivateFont, or -1 when the file is missing or not a font.
  virtual int AddPrivateFont(const std::string& path) = 0;
  virtual void RemovePrivateFont(int id) = 0;

  // --- screens (pixels, desktop coordinates) ---
  // The full size of the primary screen.
  virtual UiSize GetScreenSize() const = 0;
  // The full rectangle and the work area of the monitor nearest to `window` (the
  // primary one for kNoWindow or an unknown window).
  virtual UiRect GetMonitorRect(WindowHandle window) const = 0;
  virtual UiRect GetMonitorWorkArea(WindowHandle window) const = 0;
  // The monitor's own DPI (96 = 100 %).
  virtual int GetMonitorDpi(WindowHandle window) const = 0;
  virtual UiPoint GetCursorPos() const = 0;

  // --- show state of a top-level window ---
  virtual void MinimizeWindow(WindowHandle window) = 0;
  virtual void MaximizeWindow(WindowHandle window) = 0;
  // Leaves the minimised or maximised state and shows the window (also a hidden one).
  virtual void RestoreWindow(WindowHandle window) = 0;
  // Raises the window above the others and gives it the input focus.
  virtual void BringToFront(WindowHandle window) = 0;
  virtual bool IsMinimized(WindowHandle window) const = 0;
  virtual bool IsMaximized(WindowHandle window) const = 0;
};

// The process's desktop services, or null (headless). Set once by the front end.
inline IDesktopServices*& DesktopServicesSlot() {
  static IDesktopServices* services = nullptr;
  return services;
}
inline IDesktopServices* GetDesktopServices() {
  return DesktopServicesSlot();
}
inline void SetDesktopServices(IDesktopServices* services) {
  DesktopServicesSlot() = services;
}

} // namespace quorvex::ui
