#pragma once

// CAboutWnd: the about page (product name, version, homepage button), shown modally
// over the main window, one at a time. UI thread only.

#include "ui/WindowImplBase.h"

#include <string>
#include <string_view>

namespace quorvex::windows {

// Sent to the about window when the display language changed: it re-reads its texts.
inline constexpr std::uint32_t kMsgLanguageChanged = 0x0C11;
// The desktop's zoom report: wParam kSizeMaximized or kSizeRestored.
inline constexpr ui::WParam kSizeRestored = 0;
inline constexpr ui::WParam kSizeMaximized = 2;

class CAboutWnd : public ui::WindowImplBase {
public:
  explicit CAboutWnd(std::string version);
  ~CAboutWnd() override;

  // The about window that exists now, or null. Lets the main window close it
  // (Close(0)) when it hides, or send it kMsgLanguageChanged.
  static CAboutWnd* Current();

  std::string GetSkinFile() override { return "XML/AboutWnd.xml"; }
  std::string_view GetWindowClassName() const override { return "AboutWnd"; }
  void InitWindow() override;
  void Notify(ui::TNotifyUI& msg) override;
  ui::LResult HandleCustomMessage(std::uint32_t msg, ui::WParam wParam, ui::LParam lParam,
                                  bool& handled) override;

  const std::string& GetVersion() const { return version_; }
  // Puts the translated "software_rev_text" and the version into "software_ver_label".
  void FillTexts();

protected:
  void OnDestroyed() override;

private:
  // Shows "restorebtn" instead of "maxbtn" while the window is maximised.
  void ShowZoomed(bool zoomed);

  std::string version_;
};

// Shows the about window centred on `parent` and modally, at `dpi` (other values than
// 48, 72, 96, 120, 144, 168 and 192 give 96). Returns the close code (0 for the close
// button), or -1 when an about window is open already (it is brought forward instead)
// or the window could not be built.
int ShowAboutWindow(const ui::UiContext& context, ui::WindowHandle parent, std::string_view version,
                    int dpi);

} // namespace quorvex::windows
