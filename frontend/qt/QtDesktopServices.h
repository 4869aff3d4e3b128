#pragma once

// QtDesktopServices: IDesktopServices on Qt: QSystemTrayIcon, QFileDialog,
// QFontDatabase application fonts, QScreen, and the show state of WindowWidgets.

#include "ui/DesktopServices.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QSystemTrayIcon>
#include <memory>

namespace quorvex::frontend {

class QtFrontend;

// The Qt name filter of a type-list entry: its text, with the pattern appended in
// parentheses unless the text already ends with it.
QString ToQtNameFilter(const ui::FileFilter& filter);
// The extension a save dialog adds for `filter` ("*.json" -> "json"), or empty.
QString DefaultSuffix(const ui::FileFilter& filter);
// `path` with the filter's extension when the name has none.
QString WithDefaultSuffix(const QString& path, const ui::FileFilter& filter);

// The mouse message a tray activation is reported as (kTrayLeftButtonUp,
// kTrayRightButtonUp), or nullopt for the ones not reported.
std::optional<ui::LParam> TrayMouseMessage(QSystemTrayIcon::ActivationReason reason);

// The private fonts of the data folder's "Font/", in loading order.
inline constexpr const char* kPrivateFontFiles[] = {"Simplified_Chinese.ttf", "Brakka-Regular.otf",
                                                    "NotoSansThai-Regular.ttf",
                                                    "NotoSansCJKtc-Regular.otf"};

class QtDesktopServices final : public ui::IDesktopServices {
public:
  // Installs itself as the process's desktop services; the destructor removes it.
  explicit QtDesktopServices(QtFrontend& frontend);
  ~QtDesktopServices() override;
  QtDesktopServices(const QtDesktopServices&) = delete;
  QtDesktopServices& operator=(const QtDesktopServices&) = delete;

  bool ShowTrayIcon(ui::WindowHandle owner, std::uint32_t callbackMessage, std::string_view image,
                    std::string_view toolTip) override;
  void RemoveTrayIcon(ui::WindowHandle owner) override;
  QSystemTrayIcon* TrayIcon(ui::WindowHandle owner) const;

  std::optional<std::string> OpenFileDialog(ui::WindowHandle owner, std::string_view title,
                                            const std::vector<ui::FileFilter>& filters,
                                            std::string_view folder) override;
  std::optional<std::string> SaveFileDialog(ui::WindowHandle owner, std::string_view title,
                                            const std::vector<ui::FileFilter>& filters,
                                            std::string_view suggestedPath) override;

  int AddPrivateFont(const std::string& path) override;
  void RemovePrivateFont(int id) override;
  // Loads kPrivateFontFiles from `fontFolder`; a missing or broken file is skipped.
  // Returns the ids of the fonts loaded.
  std::vector<int> LoadPrivateFonts(const std::string& fontFolder);

  ui::UiSize GetScreenSize() const override;
  ui::UiRect GetMonitorRect(ui::WindowHandle window) const override;
  ui::UiRect GetMonitorWorkArea(ui::WindowHandle window) const override;
  int GetMonitorDpi(ui::WindowHandle window) const override;
  ui::UiPoint GetCursorPos() const override;

  void MinimizeWindow(ui::WindowHandle window) override;
  void MaximizeWindow(ui::WindowHandle window) override;
  void RestoreWindow(ui::WindowHandle window) override;
  void BringToFront(ui::WindowHandle window) override;
  bool IsMinimized(ui::WindowHandle window) const override;
  bool IsMaximized(ui::WindowHandle window) const override;

private:
  QtFrontend& frontend_;
  QHash<ui::WindowHandle, QSystemTrayIcon*> trays_;
};

} // namespace quorvex::frontend
