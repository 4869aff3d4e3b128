#include "windows/CAboutWnd.h"

#include "platform/DebugOutput.h"
#include "ui/DesktopServices.h"
#include "windows/WindowButtons.h"

namespace quorvex::windows {
namespace {

constexpr int kAboutWidth = 800;
constexpr int kAboutHeight = 572;
constexpr std::uint32_t kStylePopup = 0x80000000u;
// A timer the window may be given to redraw once; it is not a repeating job.
constexpr ui::WParam kRedrawTimer = 1;

CAboutWnd* g_current = nullptr;

} // namespace

CAboutWnd::CAboutWnd(std::string version) : version_(std::move(version)) {}

CAboutWnd::~CAboutWnd() {
  DestroyNow();
  if (g_current == this) {
    g_current = nullptr;
  }
}

CAboutWnd* CAboutWnd::Current() {
  return g_current;
}

void CAboutWnd::InitWindow() {
  g_current = this;
  FillTexts();
}

void CAboutWnd::OnDestroyed() {
  if (g_current == this) {
    g_current = nullptr;
  }
  WindowImplBase::OnDestroyed();
}

void CAboutWnd::FillTexts() {
  ui::CControlUI* probe = FindControl("text_test");
  ui::CControlUI* label = FindControl("software_ver_label");
  if (probe == nullptr || label == nullptr) {
    return;
  }
  probe->SetText("software_rev_text");
  label->SetText(probe->GetText() + version_);
}

void CAboutWnd::ShowZoomed(bool zoomed) {
  if (ui::CControlUI* max = FindControl("maxbtn")) {
    max->SetVisible(!zoomed);
  }
  if (ui::CControlUI* restore = FindControl("restorebtn")) {
    restore->SetVisible(zoomed);
  }
}

void CAboutWnd::Notify(ui::TNotifyUI& msg) {
  if (msg.type != ui::notify::kClick || msg.sender == nullptr) {
    return;
  }
  const CaptionButton button = CaptionButtonOf(msg.sender->GetName());
  switch (button) {
  case CaptionButton::kClose:
    Close(0);
    break;
  case CaptionButton::kMinimize:
    RunShowCommand(button, GetHWND());
    break;
  case CaptionButton::kMaximize:
  case CaptionButton::kRestore: {
    RunShowCommand(button, GetHWND());
    // The desktop reports the state it reached; headless the command is taken as done.
    const ui::IDesktopServices* desktop = ui::GetDesktopServices();
    ShowZoomed(desktop != nullptr ? desktop->IsMaximized(GetHWND())
                                  : button == CaptionButton::kMaximize);
    break;
  }
  default:
    break; // "menubtn" and "homepage_btn" have no action
  }
}

ui::LResult CAboutWnd::HandleCustomMessage(std::uint32_t msg, ui::WParam wParam, ui::LParam,
                                           bool& handled) {
  handled = false;
  switch (msg) {
  case kMsgLanguageChanged:
    FillTexts();
    if (ui::CPaintManagerUI* pm = GetPaintManager()) {
      pm->InvalidateAll();
    }
    handled = true;
    break;
  case ui::kMsgTimer:
    if (wParam == kRedrawTimer) {
      KillTimer(static_cast<std::uint32_t>(kRedrawTimer));
      handled = true;
    }
    break;
  case ui::kMsgSize:
    if (wParam == kSizeMaximized || wParam == kSizeRestored) {
      ShowZoomed(wParam == kSizeMaximized);
    }
    break;
  default:
    break;
  }
  return 0;
}

int ShowAboutWindow(const ui::UiContext& context, ui::WindowHandle parent, std::string_view version,
                    int dpi) {
  if (CAboutWnd* open = CAboutWnd::Current()) {
    if (ui::IDesktopServices* desktop = ui::GetDesktopServices()) {
      desktop->BringToFront(open->GetHWND());
    } else {
      open->ShowWindow(true);
    }
    return -1;
  }
  CAboutWnd about{std::string(version)};
  if (about.Create(context, parent, "  ", kStylePopup, ui::kStyleToolWindow) == ui::kNoWindow) {
    platform::DebugOutput("ABOUT_WND could not be created");
    return -1;
  }
  ui::CPaintManagerUI* pm = about.GetPaintManager();
  if (!ui::CPaintManagerUI::IsAcceptedDPI(dpi)) {
    platform::DebugOutput("ABOUT_WND DPI SET ERROR");
    dpi = 96;
  }
  pm->SetDPI(dpi);
  about.ResizeClient(pm->Scale(kAboutWidth), pm->Scale(kAboutHeight));
  about.CenterWindow();
  return about.ShowModal();
}

} // namespace quorvex::windows
