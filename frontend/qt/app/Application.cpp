#include "frontend/qt/app/Application.h"

#include "app/AppMessages.h"
#include "app/LanguageSettings.h"
#include "app/MainWnd.h"
#include "frontend/qt/PeerBus.h"
#include "frontend/qt/QtDesktopServices.h"
#include "frontend/qt/QtFrontend.h"
#include "frontend/qt/QtLoopDriver.h"
#include "frontend/qt/QtSetup.h"
#include "frontend/qt/SingleInstance.h"
#include "frontend/qt/SleepWatch.h"
#include "frontend/qt/widgets/DeviceWidgets.h"
#include "panels/PanelControls.h"
#include "platform/DebugOutput.h"
#include "platform/Paths.h"
#include "platform/ProcessTime.h"
#include "platform/clock/RealClock.h"
#include "ui/MessageLoop.h"
#include "ui/RegisteredMessages.h"
#include "ui/ResourceManager.h"

#include <QApplication>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <string>
#include <unistd.h>

namespace quorvex::frontend {
namespace {

constexpr std::uint32_t kMainStyle = 0x96CA0000u; // popup, visible, clip, caption, menu, min

// SIGTERM and SIGINT end the application the way the tray menu's "exit" does.
int gSignalPipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] auto n = ::write(gSignalPipe[1], &byte, 1);
}

void InstallSignalHandlers() {
  if (::pipe2(gSignalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    return;
  }
  struct sigaction action {};
  action.sa_handler = OnSignal;
  ::sigemptyset(&action.sa_mask);
  ::sigaction(SIGTERM, &action, nullptr);
  ::sigaction(SIGINT, &action, nullptr);
}

// The worker threads of this program still running (threads name themselves
// "qx-..."); Qt's own threads and the main thread are not counted.
int CountOwnThreads() {
  int count = 0;
  DIR* tasks = ::opendir("/proc/self/task");
  if (tasks == nullptr) {
    return -1;
  }
  while (const dirent* entry = ::readdir(tasks)) {
    if (entry->d_name[0] == '.') {
      continue;
    }
    const std::string commPath = std::string("/proc/self/task/") + entry->d_name + "/comm";
    char name[32] = {};
    const int fd = ::open(commPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      continue;
    }
    const auto n = ::read(fd, name, sizeof name - 1);
    ::close(fd);
    const std::string comm(name, n > 0 ? static_cast<std::size_t>(n) : 0);
    if (comm.rfind("qx-", 0) == 0) {
      ++count;
    }
  }
  ::closedir(tasks);
  return count;
}

} // namespace

int RunApplication(int argc, char** argv, const ApplicationOptions& options) {
  // Without a display Qt would abort; say why instead and end as always, with 0.
  if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr &&
      std::getenv("QT_QPA_PLATFORM") == nullptr) {
    std::fprintf(stderr, "quorvex: no display to show the window on (neither DISPLAY nor "
                         "WAYLAND_DISPLAY is set)\n");
    return 0;
  }
  PrepareQtEnvironment(false);
  QApplication qtApp(argc, argv);
  QGuiApplication::setDesktopFileName(QStringLiteral("org.quorvex.DeviceCenter"));
  platform::RealClock clock;
  ui::CMessageLoop loop(clock);
  QtLoopDriver driver(loop);
  QtFrontend front(loop);
  front.AddWidgetFactory(CreateDeviceWidget);
  QtDesktopServices desktop(front);

  // 1. Private fonts (a missing face is skipped).
  const std::string dataDir = platform::ShippedDataDir();
  const std::vector<int> fonts = desktop.LoadPrivateFonts(dataDir + "/Font");
  auto unloadFonts = [&] {
    for (auto it = fonts.rbegin(); it != fonts.rend(); ++it) {
      desktop.RemovePrivateFont(*it);
    }
  };

  // 2. The instance message, then the single instance: a second copy presents the
  // first and ends.
  const std::uint32_t instanceMessage = ui::RegisterWindowMessage(app::kInstanceName);
  platform::DebugPrintf("软件标示：%u", instanceMessage);
  SingleInstance instance(QString::fromStdString(platform::RuntimeDir()),
                          QString::fromStdString(options.instanceName));
  const SingleInstance::Role role = instance.Acquire();
  if (role == SingleInstance::Role::kSecond) {
    unloadFonts();
    return 0;
  }
  if (role == SingleInstance::Role::kFailed) {
    platform::DebugOutput("single instance could not be established; running anyway");
  }

  // 3. Skin resources and the custom controls.
  ui::CResourceManager resources;
  resources.SetResourcePath(dataDir + "/skin");
  resources.LoadResourceIndex();
  panels::RegisterPanelControls(resources.GetControlFactory());

  // 4. The messages cooperating programs send and receive by name.
  for (std::string_view name : app::kCoordinationMessages) {
    ui::RegisterWindowMessage(name);
  }
  for (std::string_view name : app::kGameMessages) {
    ui::RegisterWindowMessage(name);
  }

  if (options.beforeMainWindow) {
    options.beforeMainWindow(loop);
  }

  // 5. The main window.
  PeerBus peers;
  app::MainWndOptions mainOptions;
  mainOptions.defaultDataFolder = dataDir + "/DefaultData/";
  mainOptions.settingsPath = app::DefaultSettingsPath();
  mainOptions.instanceMessage = instanceMessage;
  mainOptions.peers = &peers;
  mainOptions.version = QUORVEX_VERSION_TEXT;
  auto main = std::make_unique<app::CMainWnd>(std::move(mainOptions));
  if (main->Create({&loop, &resources}, ui::kNoWindow, app::kInstanceName, kMainStyle, 0, 0, 0, 800,
                   572) == ui::kNoWindow) {
    std::fprintf(stderr,
                 "quorvex: the main window could not be built (QUORVEX_DEBUG=1 shows why)\n");
    unloadFonts();
    return 0;
  }
  main->CenterWindow();
  if (options.onMainWindow) {
    options.onMainWindow(*main);
  }
  instance.onPresent = [&] { loop.PostMessage(main->GetHWND(), instanceMessage, 0, 1); };

  peers.SetTarget(loop, main->GetHWND());
  peers.Start();
  SleepWatch sleep;
  sleep.SetTarget(loop, main->GetHWND());
  sleep.Start();

  InstallSignalHandlers();
  std::unique_ptr<QSocketNotifier> signalWatch;
  if (gSignalPipe[0] >= 0) {
    signalWatch = std::make_unique<QSocketNotifier>(gSignalPipe[0], QSocketNotifier::Read);
    QObject::connect(signalWatch.get(), &QSocketNotifier::activated, [&] {
      char drain[16];
      while (::read(gSignalPipe[0], drain, sizeof drain) > 0) {
      }
      if (main->IsCreated()) {
        main->CloseSecondaryWindows();
        main->Close(0);
      }
    });
  }

  bool firstFrame = false;
  front.onFirstPaint = [&](ui::CWindowWnd& window) {
    if (firstFrame || &window != main.get()) {
      return;
    }
    firstFrame = true;
    if (options.exitAfterFirstFrame) {
      std::printf("first-frame-ms %.1f\n", platform::MsSinceProcessStart());
      std::fflush(stdout);
      main->Close(0);
    }
  };

  // 6. The message loop, until the main window is gone.
  driver.Exec();

  // 7. The end, in order.
  main.reset();
  signalWatch.reset();
  if (std::getenv("QUORVEX_EXIT_REPORT") != nullptr) {
    std::fprintf(stderr, "quorvex: worker threads left at exit: %d\n", CountOwnThreads());
  }
  unloadFonts();
  return 0;
}

} // namespace quorvex::frontend
