#include "windows/WindowButtons.h"

#include "ui/DesktopServices.h"

#include <cctype>

namespace quorvex::windows {

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

CaptionButton CaptionButtonOf(std::string_view name) {
  struct Entry {
    std::string_view name;
    CaptionButton button;
  };
  static constexpr Entry kButtons[] = {
      {"closebtn", CaptionButton::kClose},  {"minbtn", CaptionButton::kMinimize},
      {"maxbtn", CaptionButton::kMaximize}, {"restorebtn", CaptionButton::kRestore},
      {"menubtn", CaptionButton::kMenu},
  };
  for (const Entry& e : kButtons) {
    if (EqualsNoCase(name, e.name)) {
      return e.button;
    }
  }
  return CaptionButton::kNone;
}

void RunShowCommand(CaptionButton button, ui::WindowHandle window) {
  ui::IDesktopServices* desktop = ui::GetDesktopServices();
  if (desktop == nullptr) {
    return;
  }
  switch (button) {
  case CaptionButton::kMinimize:
    desktop->MinimizeWindow(window);
    break;
  case CaptionButton::kMaximize:
    desktop->MaximizeWindow(window);
    break;
  case CaptionButton::kRestore:
    desktop->RestoreWindow(window);
    break;
  default:
    break;
  }
}

} // namespace quorvex::windows
