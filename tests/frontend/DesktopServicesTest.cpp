#include "GuiFixture.h"

#include "frontend/qt/QtDesktopServices.h"
#include "frontend/qt/WindowWidget.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontDatabase>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>

namespace quorvex::frontend::test {
namespace {

// The file dialog that is open now, or null.
QFileDialog* OpenFileDialog() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* d = qobject_cast<QFileDialog*>(w); d != nullptr && d->isVisible()) {
      return d;
    }
  }
  return nullptr;
}

// Runs `act` on the dialog once it is open (polls, so a slow start cannot hang the test).
void WhenDialogOpens(std::function<void(QFileDialog&)> act) {
  QTimer::singleShot(50, [act = std::move(act)]() mutable {
    if (QFileDialog* d = OpenFileDialog()) {
      act(*d);
    } else {
      WhenDialogOpens(std::move(act));
    }
  });
}

class DesktopServicesTest : public GuiFixture {
protected:
  QtDesktopServices desktop{front};
};

TEST_F(DesktopServicesTest, InstallsItselfForTheProgram) {
  EXPECT_EQ(ui::GetDesktopServices(), &desktop);
}

TEST_F(DesktopServicesTest, FileTypeListsKeepTheirTextsAndAddTheirExtension) {
  struct Case {
    ui::FileFilter filter;
    const char* qtFilter;
    const char* typed;
    const char* saved;
  };
  const Case cases[] = {
      {{"Profile Files(*.json)", "*.json"}, "Profile Files(*.json)", "/tmp/a", "/tmp/a.json"},
      {{"Macro Files(*.mac)", "*.mac"}, "Macro Files(*.mac)", "/tmp/m.mac", "/tmp/m.mac"},
      {{"Shoot Files(*.shoot)", "*.shoot"},
       "Shoot Files(*.shoot)",
       "/tmp/ShootData_1.Shoot",
       "/tmp/ShootData_1.Shoot"},
      {{"Shoot Files", "*.shoot"}, "Shoot Files (*.shoot)", "/tmp/s", "/tmp/s.shoot"},
      {{"All Files", "*"}, "All Files (*)", "/tmp/x", "/tmp/x"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToQtNameFilter(c.filter), c.qtFilter);
    EXPECT_EQ(WithDefaultSuffix(c.typed, c.filter), c.saved);
  }
}

TEST_F(DesktopServicesTest, AnOpenDialogListsTheTypesAndReturnsTheChoice) {
  quorvex::test::TempDir dir;
  const std::string file = dir.File("ShootData_1.Shoot");
  quorvex::test::WriteTextFile(file, "{}");
  QStringList offered;
  bool listed = false;
  int polls = 0;
  std::function<void(QFileDialog&)> choose = [&](QFileDialog& dialog) {
    // The file is listed for its type although its extension's case differs.
    auto* model = dialog.findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    // (A file the type list filters out has no index.)
    const QModelIndex index = model->index(QString::fromStdString(file));
    listed = index.isValid() && (model->flags(index) & Qt::ItemIsEnabled) != 0;
    if (!listed && ++polls < 100) {
      WhenDialogOpens(choose); // the listing may still be loading
      return;
    }
    offered = dialog.nameFilters();
    // What a user types into the name field, then Open.
    auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    name->setText(QString::fromStdString(file));
    QMetaObject::invokeMethod(&dialog, "accept");
  };
  WhenDialogOpens(choose);
  const auto chosen = desktop.OpenFileDialog(ui::kNoWindow, "Import",
                                             {{"Shoot Files(*.shoot)", "*.shoot"}}, dir.path());
  EXPECT_EQ(offered, QStringList{"Shoot Files(*.shoot)"});
  EXPECT_TRUE(listed);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(*chosen, file);

  WhenDialogOpens([](QFileDialog& dialog) { dialog.reject(); });
  EXPECT_FALSE(desktop
                   .SaveFileDialog(ui::kNoWindow, "Export", {{"Macro Files(*.mac)", "*.mac"}},
                                   dir.File("a.mac"))
                   .has_value());
}

TEST_F(DesktopServicesTest, PrivateFontsLoadAndMissingOrBrokenOnesAreSkipped) {
  quorvex::test::TempDir dir;
  // A real face under one of the expected names, garbage under another, the rest
  // missing.
  QFile::copy("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
              QString::fromStdString(dir.File("Brakka-Regular.otf")));
  quorvex::test::WriteTextFile(dir.File("Simplified_Chinese.ttf"), "not a font");
  const std::vector<int> ids = desktop.LoadPrivateFonts(dir.path());
  ASSERT_EQ(ids.size(), 1u);
  EXPECT_TRUE(QFontDatabase::applicationFontFamilies(ids[0]).contains("DejaVu Sans"));
  desktop.RemovePrivateFont(ids[0]);
  EXPECT_TRUE(QFontDatabase::applicationFontFamilies(ids[0]).isEmpty());
}

TEST_F(DesktopServicesTest, ScreensAndTheMonitorNearestAWindow) {
  auto window = Open("decorated.xml");
  ASSERT_TRUE(window);
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(desktop.GetScreenSize(), (ui::UiSize{screen.width(), screen.height()}));
  EXPECT_EQ(desktop.GetMonitorRect(window->GetHWND()),
            (ui::UiRect{screen.left(), screen.top(), screen.right() + 1, screen.bottom() + 1}));
  // Far off every screen, the nearest one still answers.
  window->MoveWindow({50000, 50000, 50200, 50100});
  EXPECT_EQ(desktop.GetMonitorRect(window->GetHWND()).Width(), screen.width());
  EXPECT_GT(desktop.GetMonitorDpi(window->GetHWND()), 0);
}

TEST_F(DesktopServicesTest, MinimiseRestoreAndPresent) {
  auto window = Open("decorated.xml");
  ASSERT_TRUE(window);
  const ui::WindowHandle h = window->GetHWND();
  desktop.MinimizeWindow(h);
  EXPECT_TRUE(desktop.IsMinimized(h));
  window->ShowWindow(false);
  desktop.RestoreWindow(h); // also shows a hidden window
  EXPECT_FALSE(desktop.IsMinimized(h));
  EXPECT_TRUE(window->IsWindowVisible());
  EXPECT_TRUE(front.WidgetOf(*window)->isVisible());
  desktop.MaximizeWindow(h);
  EXPECT_TRUE(desktop.IsMaximized(h));
  desktop.RestoreWindow(h);
  EXPECT_FALSE(desktop.IsMaximized(h));
  desktop.BringToFront(h);
}

TEST_F(DesktopServicesTest, TrayClicksAreReportedAsMouseMessages) {
  EXPECT_EQ(TrayMouseMessage(QSystemTrayIcon::Trigger), ui::kTrayLeftButtonUp);
  EXPECT_EQ(TrayMouseMessage(QSystemTrayIcon::Context), ui::kTrayRightButtonUp);
  EXPECT_EQ(TrayMouseMessage(QSystemTrayIcon::DoubleClick), std::nullopt);
  // Without a notification area (the offscreen platform) the icon is refused, not
  // half made.
  auto window = Open("decorated.xml");
  ASSERT_TRUE(window);
  if (!QSystemTrayIcon::isSystemTrayAvailable()) {
    EXPECT_FALSE(desktop.ShowTrayIcon(window->GetHWND(), 1025, "common/icon/app.svg", "tip"));
    EXPECT_EQ(desktop.TrayIcon(window->GetHWND()), nullptr);
  }
}

} // namespace
} // namespace quorvex::frontend::test
