#include "frontend/qt/QtDesktopServices.h"

#include "frontend/qt/QtFrontend.h"
#include "frontend/qt/WindowWidget.h"
#include "platform/DebugOutput.h"
#include "ui/MessageLoop.h"
#include "ui/PaintManager.h"
#include "ui/WindowImplBase.h"

#include <QCursor>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QIcon>
#include <QRegularExpression>
#include <QScreen>
#include <QSystemTrayIcon>

namespace quorvex::frontend {
namespace {

ui::UiRect ToUi(const QRect& r) {
  return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

QScreen* ScreenOf(const QtFrontend& frontend, ui::WindowHandle window) {
  if (WindowWidget* w = frontend.WidgetOf(window)) {
    const QRect g = w->geometry();
    if (QScreen* s = QGuiApplication::screenAt(g.center())) {
      return s;
    }
    // Off every screen: the one whose area is nearest to the window's centre.
    QScreen* best = nullptr;
    long long bestDistance = 0;
    for (QScreen* s : QGuiApplication::screens()) {
      const QRect a = s->geometry();
      const long long dx = std::max({a.left() - g.center().x(), 0, g.center().x() - a.right()});
      const long long dy = std::max({a.top() - g.center().y(), 0, g.center().y() - a.bottom()});
      const long long d = dx * dx + dy * dy;
      if (best == nullptr || d < bestDistance) {
        best = s;
        bestDistance = d;
      }
    }
    if (best != nullptr) {
      return best;
    }
  }
  return QGuiApplication::primaryScreen();
}

QWidget* OwnerWidget(const QtFrontend& frontend, ui::WindowHandle owner) {
  return frontend.WidgetOf(owner);
}

QStringList NameFilters(const std::vector<ui::FileFilter>& filters) {
  QStringList out;
  for (const auto& f : filters) {
    out << ToQtNameFilter(f);
  }
  return out;
}

} // namespace

QString ToQtNameFilter(const ui::FileFilter& filter) {
  const QString text = QString::fromStdString(filter.text);
  const QString pattern = QString::fromStdString(filter.pattern);
  if (pattern.isEmpty() || text.endsWith(QLatin1Char('(') + pattern + QLatin1Char(')'))) {
    return text;
  }
  return text + QStringLiteral(" (") + pattern + QLatin1Char(')');
}

std::optional<ui::LParam> TrayMouseMessage(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
  case QSystemTrayIcon::Trigger:
    return ui::kTrayLeftButtonUp;
  case QSystemTrayIcon::Context:
    return ui::kTrayRightButtonUp;
  default:
    return std::nullopt;
  }
}

QString DefaultSuffix(const ui::FileFilter& filter) {
  static const QRegularExpression kSimple(QStringLiteral("^\\*\\.([A-Za-z0-9_]+)$"));
  const auto m = kSimple.match(QString::fromStdString(filter.pattern).trimmed());
  return m.hasMatch() ? m.captured(1) : QString();
}

QString WithDefaultSuffix(const QString& path, const ui::FileFilter& filter) {
  const QString suffix = DefaultSuffix(filter);
  if (suffix.isEmpty() || path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) {
    return path;
  }
  return path + QLatin1Char('.') + suffix;
}

QtDesktopServices::QtDesktopServices(QtFrontend& frontend) : frontend_(frontend) {
  ui::SetDesktopServices(this);
}

QtDesktopServices::~QtDesktopServices() {
  if (ui::GetDesktopServices() == this) {
    ui::SetDesktopServices(nullptr);
  }
  qDeleteAll(trays_);
}

bool QtDesktopServices::ShowTrayIcon(ui::WindowHandle owner, std::uint32_t callbackMessage,
                                     std::string_view image, std::string_view toolTip) {
  if (!QSystemTrayIcon::isSystemTrayAvailable()) {
    platform::DebugOutput("no notification area: tray icon not shown");
    return false;
  }
  QSystemTrayIcon*& tray = trays_[owner];
  if (tray == nullptr) {
    tray = new QSystemTrayIcon();
    ui::CMessageLoop* loop = &frontend_.Loop();
    // A left release and a right release, as the owner's callback message.
    QObject::connect(tray, &QSystemTrayIcon::activated, tray,
                     [loop, owner, callbackMessage](QSystemTrayIcon::ActivationReason reason) {
                       if (const auto mouse = TrayMouseMessage(reason)) {
                         loop->PostMessage(owner, callbackMessage, 0, *mouse);
                       }
                     });
  }
  QString file = QString::fromStdString(std::string(image));
  if (QFileInfo(file).isRelative()) {
    if (auto* w = dynamic_cast<ui::WindowImplBase*>(frontend_.Loop().FindWindow(owner));
        w != nullptr && w->GetPaintManager() != nullptr) {
      file = QString::fromStdString(w->GetPaintManager()->GetResourcePath()) + file;
    }
  }
  tray->setIcon(QIcon(file));
  tray->setToolTip(QString::fromStdString(std::string(toolTip)));
  tray->show();
  return true;
}

void QtDesktopServices::RemoveTrayIcon(ui::WindowHandle owner) {
  delete trays_.take(owner);
}

QSystemTrayIcon* QtDesktopServices::TrayIcon(ui::WindowHandle owner) const {
  return trays_.value(owner, nullptr);
}

std::optional<std::string>
QtDesktopServices::OpenFileDialog(ui::WindowHandle owner, std::string_view title,
                                  const std::vector<ui::FileFilter>& filters,
                                  std::string_view folder) {
  QFileDialog dialog(OwnerWidget(frontend_, owner), QString::fromStdString(std::string(title)),
                     QString::fromStdString(std::string(folder)));
  // Qt's own dialog matches the type patterns without regard to case on every
  // desktop ("*.shoot" lists "ShootData_1.Shoot"); a desktop's native one may not.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters(NameFilters(filters));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  return dialog.selectedFiles().front().toStdString();
}

std::optional<std::string>
QtDesktopServices::SaveFileDialog(ui::WindowHandle owner, std::string_view title,
                                  const std::vector<ui::FileFilter>& filters,
                                  std::string_view suggestedPath) {
  QFileDialog dialog(OwnerWidget(frontend_, owner), QString::fromStdString(std::string(title)));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  const QStringList names = NameFilters(filters);
  dialog.setNameFilters(names);
  if (!filters.empty()) {
    dialog.setDefaultSuffix(DefaultSuffix(filters.front()));
  }
  if (!suggestedPath.empty()) {
    dialog.selectFile(QString::fromStdString(std::string(suggestedPath)));
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  const qsizetype chosen = names.indexOf(dialog.selectedNameFilter());
  const QString path = dialog.selectedFiles().front();
  if (chosen >= 0 && chosen < static_cast<qsizetype>(filters.size())) {
    return WithDefaultSuffix(path, filters[static_cast<std::size_t>(chosen)]).toStdString();
  }
  return path.toStdString();
}

int QtDesktopServices::AddPrivateFont(const std::string& path) {
  const int id = QFontDatabase::addApplicationFont(QString::fromStdString(path));
  if (id < 0) {
    platform::DebugPrintf("font %s not loaded", path.c_str());
  }
  return id;
}

void QtDesktopServices::RemovePrivateFont(int id) {
  if (id >= 0) {
    QFontDatabase::removeApplicationFont(id);
  }
}

std::vector<int> QtDesktopServices::LoadPrivateFonts(const std::string& fontFolder) {
  std::vector<int> ids;
  for (const char* file : kPrivateFontFiles) {
    const std::string path = fontFolder + "/" + file;
    if (!QFileInfo::exists(QString::fromStdString(path))) {
      continue;
    }
    const int id = AddPrivateFont(path);
    if (id >= 0) {
      ids.push_back(id);
    }
  }
  return ids;
}

ui::UiSize QtDesktopServices::GetScreenSize() const {
  QScreen* s = QGuiApplication::primaryScreen();
  return s != nullptr ? ui::UiSize{s->geometry().width(), s->geometry().height()} : ui::UiSize{};
}

ui::UiRect QtDesktopServices::GetMonitorRect(ui::WindowHandle window) const {
  QScreen* s = ScreenOf(frontend_, window);
  return s != nullptr ? ToUi(s->geometry()) : ui::UiRect{};
}

ui::UiRect QtDesktopServices::GetMonitorWorkArea(ui::WindowHandle window) const {
  QScreen* s = ScreenOf(frontend_, window);
  return s != nullptr ? ToUi(s->availableGeometry()) : ui::UiRect{};
}

int QtDesktopServices::GetMonitorDpi(ui::WindowHandle window) const {
  QScreen* s = ScreenOf(frontend_, window);
  return s != nullptr ? static_cast<int>(std::lround(s->logicalDotsPerInch())) : 96;
}

ui::UiPoint QtDesktopServices::GetCursorPos() const {
  const QPoint p = QCursor::pos();
  return {p.x(), p.y()};
}

void QtDesktopServices::MinimizeWindow(ui::WindowHandle window) {
  if (WindowWidget* w = frontend_.WidgetOf(window)) {
    w->setWindowState((w->windowState() & ~Qt::WindowMaximized) | Qt::WindowMinimized);
  }
}

void QtDesktopServices::MaximizeWindow(ui::WindowHandle window) {
  if (WindowWidget* w = frontend_.WidgetOf(window)) {
    if (w->Window() != nullptr && !w->Window()->IsWindowVisible()) {
      w->Window()->ShowWindow(true);
    }
    w->setWindowState((w->windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
  }
}

void QtDesktopServices::RestoreWindow(ui::WindowHandle window) {
  if (WindowWidget* w = frontend_.WidgetOf(window)) {
    w->setWindowState(w->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    if (w->Window() != nullptr) {
      w->Window()->ShowWindow(true);
    }
  }
}

void QtDesktopServices::BringToFront(ui::WindowHandle window) {
  if (WindowWidget* w = frontend_.WidgetOf(window)) {
    w->raise();
    w->activateWindow();
  }
}

bool QtDesktopServices::IsMinimized(ui::WindowHandle window) const {
  WindowWidget* w = frontend_.WidgetOf(window);
  return w != nullptr && (w->windowState() & Qt::WindowMinimized) != 0;
}

bool QtDesktopServices::IsMaximized(ui::WindowHandle window) const {
  WindowWidget* w = frontend_.WidgetOf(window);
  return w != nullptr && (w->windowState() & Qt::WindowMaximized) != 0;
}

} // namespace quorvex::frontend
