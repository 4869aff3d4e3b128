// The main window's presentation: bringing it to the front and hiding it to the tray,
// the tray icon and its menu, fitting the window to the screen, and the display
// language.

#include "app/MainWnd.h"

#include "devices/CQuorvexUSBDevice.h"
#include "platform/DebugOutput.h"
#include "ui/DesktopServices.h"
#include "ui/MenuWnd.h"
#include "ui/MessageLoop.h"
#include "ui/ResourceManager.h"
#include "windows/CAboutWnd.h"

namespace quorvex::app {
namespace {

constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 572;

} // namespace

void CMainWnd::PresentWindow() {
  if (ui::CControlUI* none = FindControl("No_device_Link")) {
    none->SetVisible(ShownCount() == 0);
  }
  SetWindowActiveForPages(true);
  if (ui::IDesktopServices* desktop = ui::GetDesktopServices()) {
    desktop->RestoreWindow(GetHWND());
    desktop->BringToFront(GetHWND());
  } else {
    ShowWindow(true);
  }
}

void CMainWnd::HideToTray() {
  CloseSecondaryWindows();
  ShowWindow(false);
  SetWindowActiveForPages(false);
}

void CMainWnd::OnTrayIcon(ui::LParam mouse) {
  if (mouse == ui::kTrayLeftButtonUp) {
    ui::IDesktopServices* desktop = ui::GetDesktopServices();
    const bool minimized = desktop != nullptr && desktop->IsMinimized(GetHWND());
    if (IsWindowVisible() && !minimized) {
      HideToTray();
    } else {
      FitDpi();
      PresentWindow();
      if (ui::CPaintManagerUI* pm = GetPaintManager()) {
        pm->InvalidateAll();
      }
    }
  } else if (mouse == ui::kTrayRightButtonUp) {
    SetTimer(kTimerTrayMenu, 10);
  }
}

void CMainWnd::OpenTrayMenu() {
  trayMenu_.reset();
  ui::UiPoint cursor = GetLoop()->GetCursorPos();
  ui::UiRect monitor = GetLoop()->GetWorkArea();
  ui::UiRect work = monitor;
  if (ui::IDesktopServices* desktop = ui::GetDesktopServices()) {
    cursor = desktop->GetCursorPos();
    monitor = desktop->GetMonitorRect(GetHWND());
    work = desktop->GetMonitorWorkArea(GetHWND());
  }
  const MenuPlacement placement = PlaceTrayMenu(monitor, work, cursor);
  trayMenu_ = std::make_unique<ui::CMenuWnd>();
  if (!trayMenu_->Init(GetContext(), GetHWND(), "XML_MENU", placement.point, placement.align)) {
    trayMenu_.reset();
    return;
  }
  // The settings window is not part of this build yet: its entry stays out of the menu.
  trayMenu_->HideItem("setwnd_menu");
}

void CMainWnd::FitDpi() {
  ui::CPaintManagerUI* pm = GetPaintManager();
  if (pm == nullptr) {
    return;
  }
  ui::UiRect monitor = GetLoop()->GetWorkArea();
  ui::IDesktopServices* desktop = ui::GetDesktopServices();
  if (desktop != nullptr) {
    if (desktop->IsMaximized(GetHWND())) {
      return; // the user chose the size
    }
    monitor = desktop->GetMonitorRect(GetHWND());
  }
  int dpi = DpiForMonitor(monitor);
  if (!ui::CPaintManagerUI::IsAcceptedDPI(dpi)) {
    platform::DebugOutput("MAIN_WND DPI SET ERROR");
    dpi = 96;
  }
  windowDpi_ = dpi;
  if (pm->GetDPI() != dpi) {
    pm->SetDPI(dpi);
    pm->ResetDPIAssets();
  }
  const ui::UiRect& r = GetWindowRect();
  if (r.Width() != pm->Scale(kWindowWidth) || r.Height() != pm->Scale(kWindowHeight)) {
    ResizeClient(pm->Scale(kWindowWidth), pm->Scale(kWindowHeight));
    CenterWindow();
  }
  pm->NeedUpdate();
}

void CMainWnd::ApplyLanguage(int index) {
  if (index == languageIndex_) {
    return;
  }
  const auto list = LoadLanguageList(options_.defaultDataFolder + "Language.config");
  if (index < 0 || static_cast<std::size_t>(index) >= list.size()) {
    return; // no such entry: the texts stay as they are
  }
  const LanguageEntry& entry = list[static_cast<std::size_t>(index)];
  ui::CResourceManager& resources = *GetContext().resources;
  if (!resources.LoadLanguage(entry.file)) {
    platform::DebugPrintf("language file %s could not be loaded", entry.file.c_str());
    return;
  }
  resources.SetLanguageName(entry.name);
  languageIndex_ = index;
  if (settings_.ReadLanguage() != entry.id && settings_.WriteLanguage(entry.id)) {
    platform::DebugOutput("写成功！");
  }
  if (trayMenu_ != nullptr && trayMenu_->IsCreated()) {
    trayMenu_->Close(0);
  }
  if (windows::CAboutWnd* about = windows::CAboutWnd::Current()) {
    about->PostMessage(kMsgApplyLanguage, 0, 0);
  }
  if (ui::CPaintManagerUI* pm = GetPaintManager()) {
    pm->InvalidateAll();
    pm->NeedUpdate();
  }
}

} // namespace quorvex::app
