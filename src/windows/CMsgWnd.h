#pragma once

// CMsgWnd: the program's own message box. Every prompt and confirmation goes through
// ShowMessage, which builds the box from the skin "XML_MSG", runs it modally over its
// parent and says how the user left it. UI thread only.

#include "ui/WindowImplBase.h"

#include <string>
#include <string_view>

namespace quorvex::windows {

// What ShowMessage returns.
inline constexpr int kMessageConfirmed = 1; // "confirm_btn" closed the box
inline constexpr int kMessageDismissed = 0; // anything else: cancel, close, loop ended

// Button modes.
inline constexpr int kButtonsConfirm = 0;       // "confirm_btn" only
inline constexpr int kButtonsConfirmCancel = 1; // "confirm_btn" and "cancel_btn"

// The desktop tells a window that its screen's DPI changed: wParam is the new DPI,
// lParam a `const ui::UiRect*` with the suggested window rectangle (or 0).
inline constexpr std::uint32_t kMsgDpiChanged = 0x02E0;

class CMsgWnd : public ui::WindowImplBase {
public:
  CMsgWnd();
  ~CMsgWnd() override;

  std::string GetSkinFile() override { return "XML_MSG"; }
  std::string_view GetWindowClassName() const override { return "MsgWnd"; }
  void Notify(ui::TNotifyUI& msg) override;
  ui::LResult HandleCustomMessage(std::uint32_t msg, ui::WParam wParam, ui::LParam lParam,
                                  bool& handled) override;

  // An empty title or text keeps what the skin shows. With `textIsKey` the text is a
  // language key: the box shows its translation and follows a change of language.
  void SetTitle(std::string_view title);
  void SetMessage(std::string_view text, bool textIsKey);
  // Scales the box to `dpi` (48, 72, 96, 120, 144, 168 or 192). Any other value writes
  // "MSG_WND DPI SET ERROR" to the debug output, uses 96 and returns false. Only this
  // window is scaled.
  bool SetDpi(int dpi);
  int GetDpi() const { return dpi_; }
  // kButtonsConfirm hides "cancel_btn", kButtonsConfirmCancel shows both; other values
  // keep the skin's buttons.
  void SetButtonMode(int mode);

private:
  int dpi_ = 96;
};

// Shows a modal message box centred on `parent` (kNoWindow: on the work area) and
// returns kMessageConfirmed when the user confirmed, kMessageDismissed otherwise
// (also when the box could not be built).
int ShowMessage(const ui::UiContext& context, ui::WindowHandle parent, std::string_view title,
                std::string_view text, int dpi, bool textIsKey, int buttonMode);

} // namespace quorvex::windows
