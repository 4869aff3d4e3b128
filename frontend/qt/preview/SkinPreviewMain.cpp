// quorvex-skin-preview: builds a skin file with the real toolkit and front end, then
// saves a PNG of the window, checks its layout, or shows it.
//
//   quorvex-skin-preview [--skin-dir DIR] [--dpi N] [--lang FILE] [--out FILE.png]
//                        [--check] [--show] [--exit-after-first-frame]
//                        [--select NAME:INDEX]... SKIN
//
// --select picks row INDEX of a combo or list (silently, as a program would) before the
// picture is taken.
//
// Without --show it runs on Qt's offscreen platform. --exit-after-first-frame prints
// the time from process start to the window's first painted frame and ends.
// A part (a skin whose root is a control, not a <Window>) is shown at its root's fixed
// size, or at the main window's page size.
// Exit codes: 0 done, 1 layout faults (--check), 2 the skin could not be built or the
// PNG not written, 3 the file is no skin to show (an index, a language file, shared
// styles), 64 bad arguments.

#include "frontend/qt/PreviewWindow.h"
#include "frontend/qt/QtDesktopServices.h"
#include "frontend/qt/QtFrontend.h"
#include "frontend/qt/QtLoopDriver.h"
#include "frontend/qt/QtSetup.h"
#include "frontend/qt/SkinCheck.h"
#include "frontend/qt/WindowWidget.h"
#include "frontend/qt/widgets/DeviceWidgets.h"
#include "panels/PanelControls.h"
#include "platform/Paths.h"
#include "platform/ProcessTime.h"
#include "platform/clock/RealClock.h"
#include "ui/ListElements.h"
#include "ui/MessageLoop.h"
#include "ui/ResourceManager.h"

#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

long long EpochNs() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

int Usage() {
  std::fprintf(stderr, "usage: quorvex-skin-preview [--skin-dir DIR] [--dpi N] [--lang FILE] "
                       "[--out FILE.png] [--check] [--show] [--exit-after-first-frame] "
                       "[--select NAME:INDEX]... SKIN\n");
  return 64;
}

} // namespace

int main(int argc, char** argv) {
  using namespace quorvex;
  std::string skinDir;
  std::string skin;
  std::string lang;
  std::string out;
  std::vector<std::pair<std::string, int>> selections;
  int dpi = 96;
  bool check = false;
  bool show = false;
  bool exitAfterFirstFrame = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
    if (arg == "--skin-dir" || arg == "--lang" || arg == "--out" || arg == "--dpi") {
      const char* v = value();
      if (v == nullptr) {
        return Usage();
      }
      if (arg == "--skin-dir") {
        skinDir = v;
      } else if (arg == "--lang") {
        lang = v;
      } else if (arg == "--out") {
        out = v;
      } else {
        dpi = std::atoi(v);
      }
    } else if (arg == "--select") {
      const char* v = value();
      const char* colon = v != nullptr ? std::strrchr(v, ':') : nullptr;
      if (colon == nullptr) {
        return Usage();
      }
      selections.emplace_back(std::string(v, colon), std::atoi(colon + 1));
    } else if (arg == "--check") {
      check = true;
    } else if (arg == "--show") {
      show = true;
    } else if (arg == "--exit-after-first-frame") {
      exitAfterFirstFrame = true;
    } else if (!arg.empty() && arg[0] != '-' && skin.empty()) {
      skin = arg;
    } else {
      return Usage();
    }
  }
  if (skin.empty() || !ui::CPaintManagerUI::IsAcceptedDPI(dpi)) {
    return Usage();
  }
  if (skinDir.empty()) {
    skinDir = platform::ShippedDataDir() + "/skin";
  }

  if (frontend::PreviewWindow::Classify(skinDir + "/" + skin) ==
      frontend::PreviewWindow::SkinKind::kOther) {
    std::fprintf(stderr, "%s is not a window or a part of one\n", skin.c_str());
    return 3;
  }
  frontend::PrepareQtEnvironment(!show);
  QApplication app(argc, argv);
  platform::RealClock clock;
  ui::CMessageLoop loop(clock);
  frontend::QtLoopDriver driver(loop);
  frontend::QtFrontend front(loop);
  front.AddWidgetFactory(frontend::CreateDeviceWidget);
  frontend::QtDesktopServices desktop(front);
  desktop.LoadPrivateFonts(skinDir + "/../Font");

  ui::CResourceManager resources;
  resources.SetResourcePath(skinDir);
  panels::RegisterPanelControls(resources.GetControlFactory());
  if (QFileInfo::exists(QString::fromStdString(skinDir + "/res.xml"))) {
    resources.LoadResourceIndex();
  }
  if (!lang.empty() && !resources.LoadLanguage(lang)) {
    std::fprintf(stderr, "language file %s could not be loaded\n", lang.c_str());
    return 2;
  }

  bool firstFrame = false;
  front.onFirstPaint = [&](ui::CWindowWnd&) {
    if (firstFrame) {
      return;
    }
    firstFrame = true;
    if (exitAfterFirstFrame) {
      std::printf("first-frame-ms %.1f\nfirst-frame-epoch-ns %lld\n",
                  platform::MsSinceProcessStart(), EpochNs());
      std::fflush(stdout);
      loop.Quit(0);
    }
  };

  frontend::PreviewWindow window(skin);
  window.onClosed = [&] { loop.Quit(0); };
  if (!window.Open({&loop, &resources}, dpi)) {
    std::fprintf(stderr, "skin %s could not be built (QUORVEX_DEBUG=1 shows why)\n", skin.c_str());
    return 2;
  }
  for (const auto& [name, index] : selections) {
    ui::CControlUI* c = window.FindControl(name);
    auto* owner = c != nullptr ? dynamic_cast<ui::IListOwnerUI*>(c) : nullptr;
    if (owner == nullptr || !owner->SelectItem(index, false, false)) {
      std::fprintf(stderr, "--select %s:%d: no such combo or list row\n", name.c_str(), index);
      return 64;
    }
  }
  window.ShowWindow(true);
  if (show) {
    return driver.Exec();
  }
  // Let the front end create, place and paint everything.
  for (int i = 0; i < 5; ++i) {
    QApplication::processEvents();
    loop.ProcessPending();
  }
  int code = 0;
  if (check) {
    for (const std::string& fault : frontend::CheckSkinLayout(*window.GetPaintManager())) {
      std::printf("%s: %s\n", skin.c_str(), fault.c_str());
      code = 1;
    }
  }
  if (!out.empty()) {
    frontend::WindowWidget* widget = front.WidgetOf(window);
    const QImage image = widget != nullptr ? widget->grab().toImage() : QImage();
    if (image.isNull() || !image.save(QString::fromStdString(out), "PNG")) {
      std::fprintf(stderr, "%s could not be written\n", out.c_str());
      return 2;
    }
  }
  return code;
}
