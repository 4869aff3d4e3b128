#pragma once

// Shared set-up of the front-end tests: one QApplication per test program, the real
// clock, the toolkit loop driven by Qt's event loop, the front end, and skins from
// tests/frontend/skins.

#include "frontend/qt/QtFrontend.h"
#include "frontend/qt/QtLoopDriver.h"
#include "frontend/qt/QtSetup.h"
#include "platform/clock/RealClock.h"
#include "support/TestSupport.h"
#include "ui/MessageLoop.h"
#include "ui/ResourceManager.h"
#include "ui/UiDriver.h"
#include "ui/WindowImplBase.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace quorvex::frontend::test {

inline QApplication& App() {
  static int argc = 1;
  static char name[] = "frontend_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    PrepareQtEnvironment(true);
    return new QApplication(argc, argv);
  }();
  return *app;
}

class GuiWindow : public ui::WindowImplBase {
public:
  explicit GuiWindow(std::string skin) : skin_(std::move(skin)) {}
  std::function<ui::LResult(std::uint32_t, ui::WParam, ui::LParam, bool&)> onMessage;
  std::function<void(ui::TNotifyUI&)> onNotify;

  std::string GetSkinFile() override { return skin_; }
  std::string_view GetWindowClassName() const override { return "GuiTestWnd"; }
  void Notify(ui::TNotifyUI& msg) override {
    if (onNotify) {
      onNotify(msg);
    }
  }
  ui::LResult HandleCustomMessage(std::uint32_t msg, ui::WParam w, ui::LParam l,
                                  bool& handled) override {
    if (onMessage) {
      return onMessage(msg, w, l, handled);
    }
    handled = false;
    return 0;
  }

private:
  std::string skin_;
};

class GuiFixture : public ::testing::Test {
protected:
  GuiFixture() { resources.SetResourcePath(quorvex::test::SourceDir() + "/tests/frontend/skins"); }

  ui::UiContext Context() { return {&loop, &resources}; }

  // Creates, shows and lays out a window from `skin` at `dpi`.
  std::unique_ptr<GuiWindow> Open(const std::string& skin, int dpi = 96) {
    auto w = std::make_unique<GuiWindow>(skin);
    if (w->Create(Context(), ui::kNoWindow, "test", 0, 0, 0, 0) == ui::kNoWindow) {
      return nullptr;
    }
    w->GetPaintManager()->SetDPI(dpi);
    const ui::UiSize size = w->GetPaintManager()->GetInitSize();
    w->ResizeClient(w->GetPaintManager()->Scale(size.cx), w->GetPaintManager()->Scale(size.cy));
    w->ShowWindow(true);
    Spin();
    return w;
  }

  // Runs Qt's event loop (and with it the toolkit's) for `ms`, or until `until`.
  static bool Spin(int ms = 50, const std::function<bool()>& until = {}) {
    QDeadlineTimer deadline(ms);
    do {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
      if (until && until()) {
        return true;
      }
    } while (!deadline.hasExpired());
    return !until || until();
  }

  QApplication& app = App();
  platform::RealClock clock;
  ui::CMessageLoop loop{clock};
  QtLoopDriver driver{loop};
  QtFrontend front{loop};
  ui::CResourceManager resources;
};

} // namespace quorvex::frontend::test
