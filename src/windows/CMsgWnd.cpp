#include "windows/CMsgWnd.h"

#include "platform/DebugOutput.h"
#include "ui/ResourceManager.h"
#include "windows/WindowButtons.h"

namespace quorvex::windows {
namespace {

// A popup window: no frame of the desktop, the skin draws its own caption.
constexpr std::uint32_t kStylePopup = 0x80000000u;

} // namespace

CMsgWnd::CMsgWnd() = default;

CMsgWnd::~CMsgWnd() {
  // Destroy while this class's handlers still exist.
  DestroyNow();
}

void CMsgWnd::SetTitle(std::string_view title) {
  if (title.empty()) {
    return;
  }
  if (ui::CControlUI* label = FindControl("MessageTitle")) {
    label->SetText(std::string(title));
  }
}

void CMsgWnd::SetMessage(std::string_view text, bool textIsKey) {
  if (text.empty()) {
    return;
  }
  ui::CControlUI* label = FindControl("MessageText");
  if (label == nullptr) {
    return;
  }
  // A label translates a stored text that is a language key when it is shown, so a
  // key is stored as it is and follows a change of language. A plain text that is
  // no key is shown as given.
  if (textIsKey && GetPaintManager()->GetResources().FindText(text) == nullptr) {
    platform::DebugPrintf("MSG_WND text key \"%.*s\" has no text in the current language",
                          static_cast<int>(text.size()), text.data());
  }
  label->SetText(std::string(text));
}

bool CMsgWnd::SetDpi(int dpi) {
  const bool accepted = ui::CPaintManagerUI::IsAcceptedDPI(dpi);
  if (!accepted) {
    platform::DebugOutput("MSG_WND DPI SET ERROR");
    dpi = 96;
  }
  dpi_ = dpi;
  ui::CPaintManagerUI* pm = GetPaintManager();
  if (pm == nullptr) {
    return accepted;
  }
  pm->SetDPI(dpi);
  const ui::UiSize size = pm->GetInitSize();
  if (size.cx > 0 && size.cy > 0) {
    ResizeClient(pm->Scale(size.cx), pm->Scale(size.cy));
  }
  return accepted;
}

void CMsgWnd::SetButtonMode(int mode) {
  ui::CControlUI* confirm = FindControl("confirm_btn");
  ui::CControlUI* cancel = FindControl("cancel_btn");
  if (mode != kButtonsConfirm && mode != kButtonsConfirmCancel) {
    return;
  }
  if (confirm != nullptr) {
    confirm->SetVisible(true);
  }
  if (cancel != nullptr) {
    cancel->SetVisible(mode == kButtonsConfirmCancel);
  }
}

void CMsgWnd::Notify(ui::TNotifyUI& msg) {
  if (msg.type != ui::notify::kClick || msg.sender == nullptr) {
    return;
  }
  const std::string& name = msg.sender->GetName();
  if (EqualsNoCase(name, "confirm_btn")) {
    Close(kMessageConfirmed);
    return;
  }
  if (EqualsNoCase(name, "cancel_btn")) {
    Close(kMessageDismissed);
    return;
  }
  const CaptionButton button = CaptionButtonOf(name);
  if (button == CaptionButton::kClose) {
    Close(kMessageDismissed);
  } else {
    RunShowCommand(button, GetHWND());
  }
}

ui::LResult CMsgWnd::HandleCustomMessage(std::uint32_t msg, ui::WParam wParam, ui::LParam lParam,
                                         bool& handled) {
  handled = false;
  if (msg != kMsgDpiChanged) {
    return 0;
  }
  handled = true;
  const int dpi = static_cast<int>(wParam & 0xFFFFu);
  if (!ui::CPaintManagerUI::IsAcceptedDPI(dpi)) {
    return 0; // a value the skin cannot be drawn at: stay as we are
  }
  SetDpi(dpi);
  if (lParam != 0) {
    MoveWindow(*reinterpret_cast<const ui::UiRect*>(lParam));
  }
  return 0;
}

int ShowMessage(const ui::UiContext& context, ui::WindowHandle parent, std::string_view title,
                std::string_view text, int dpi, bool textIsKey, int buttonMode) {
  // Owned here, so the window is freed whether it closed or the loop ended under it.
  CMsgWnd box;
  if (box.Create(context, parent, "msgwnd", kStylePopup, ui::kStyleToolWindow) == ui::kNoWindow) {
    platform::DebugOutput("MSG_WND could not be created");
    return kMessageDismissed;
  }
  box.SetTitle(title);
  box.SetMessage(text, textIsKey);
  box.SetDpi(dpi);
  box.SetButtonMode(buttonMode);
  box.CenterWindow();
  return box.ShowModal() == kMessageConfirmed ? kMessageConfirmed : kMessageDismissed;
}

} // namespace quorvex::windows
