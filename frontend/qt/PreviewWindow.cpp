#include "frontend/qt/PreviewWindow.h"

#include "ui/Container.h"

#include <QFile>
#include <QXmlStreamReader>

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

PreviewWindow::SkinKind PreviewWindow::Classify(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) {
    return SkinKind::kOther;
  }
  QXmlStreamReader xml(&file);
  if (!xml.readNextStartElement()) {
    return SkinKind::kOther;
  }
  const auto name = xml.name();
  if (name == QLatin1String("Window")) {
    return xml.attributes().hasAttribute(QLatin1String("size")) ? SkinKind::kWindow
                                                                : SkinKind::kOther;
  }
  if (name == QLatin1String("Res") || name == QLatin1String("Language")) {
    return SkinKind::kOther;
  }
  return SkinKind::kPart;
}

bool PreviewWindow::Open(const ui::UiContext& context, int dpi) {
  if (Create(context, ui::kNoWindow, "quorvex skin preview", 0, 0) == ui::kNoWindow) {
    return false;
  }
  ui::CPaintManagerUI* pm = GetPaintManager();
  pm->SetDPI(dpi);
  ui::UiSize size = pm->GetInitSize();
  if (size.cx == 0 || size.cy == 0) {
    // A part of a window (a page, a list row): its own fixed size, else the content
    // area of the main window.
    const ui::CControlUI* root = pm->GetRoot();
    size.cx = root->GetFixedWidth() > 0 ? root->GetFixedWidth() : kPartWidth;
    size.cy = root->GetFixedHeight() > 0 ? root->GetFixedHeight() : kPartHeight;
  }
  ResizeClient(pm->Scale(size.cx), pm->Scale(size.cy));
  CenterWindow();
  pm->UpdateLayout();
  return true;
}

} // namespace quorvex::frontend
