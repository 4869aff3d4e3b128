#pragma once

// For the tests that run on a private session bus without a display: the process's
// QCoreApplication, and a way to run Qt's event loop until something happened.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <functional>

namespace quorvex::frontend::test {

inline QCoreApplication& App() {
  static int argc = 1;
  static char name[] = "bus_tests";
  static char* argv[] = {name, nullptr};
  static QCoreApplication* app = new QCoreApplication(argc, argv);
  return *app;
}

// Processes events until `done` or `ms` milliseconds passed; false on time-out.
inline bool Spin(const std::function<bool()>& done, int ms = 5000) {
  QDeadlineTimer deadline(ms);
  while (!done()) {
    if (deadline.hasExpired()) {
      return false;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

} // namespace quorvex::frontend::test
