#pragma once

// The application's start and end, shared by quorvex and quorvex-demo:
//
//   private fonts -> instance message -> single instance (a second copy presents the
//   first and ends) -> skin resources and custom controls -> coordination messages ->
//   main window (800 x 572, centred) -> session bus link and sleep watch -> message
//   loop -> main window gone -> resources released -> fonts removed.
//
// The exit code is 0 in every case.

#include <functional>
#include <string>

namespace quorvex::ui {
class CMessageLoop;
}
namespace quorvex::app {
class CMainWnd;
}

namespace quorvex::frontend {

struct ApplicationOptions {
  // Base name of the single-instance lock and socket in the runtime folder.
  std::string instanceName;
  // Runs after the single-instance check, before the main window exists (the demo
  // plugs its emulated devices here).
  std::function<void(ui::CMessageLoop&)> beforeMainWindow;
  // Runs once the main window exists.
  std::function<void(app::CMainWnd&)> onMainWindow;
  // Prints the time from process start to the first painted frame and ends.
  bool exitAfterFirstFrame = false;
};

int RunApplication(int argc, char** argv, const ApplicationOptions& options);

} // namespace quorvex::frontend
