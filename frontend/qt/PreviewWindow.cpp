#include "frontend/qt/PreviewWindow.h"

#include "ui/Container.h"

namespace quorvex::frontend {

std::unique_ptr<ui::CControlUI> PreviewWindow::CreateControl(std::string_view) {
  return std::make_unique<ui::CContainerUI>();
}

void PreviewWindow::Notify(ui::TNotifyUI& msg) {
  if (onNotify) {
    onNotify(msg);
  }
}

void PreviewWindow::OnFinalMessage(ui::WindowHandle) {
  if (onClosed) {
    onClosed();
  }
}

bool PreviewWindow::Open(const ui::UiContext& context, int dpi) {
  if (Create(context, ui::kNoWindow, "quorvex skin preview", 0, 0) == ui::kNoWindow) {
    return false;
  }
  ui::CPaintManagerUI* pm = GetPaintManager();
  pm->SetDPI(dpi);
  const ui::UiSize size = pm->GetInitSize();
  ResizeClient(pm->Scale(size.cx), pm->Scale(size.cy));
  CenterWindow();
  pm->UpdateLayout();
  return true;
}

} // namespace quorvex::frontend
