// A stand-in for the program's start-up: single_instance_helper FOLDER NAME.
// The first copy prints "first", then "presented" when another copy asked it to
// present itself, and ends with 0. A later copy prints "second" and ends with 0.
// 2: the instance could not be established; 3: nobody asked within 20 s.

#include "frontend/qt/SingleInstance.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: single_instance_helper FOLDER NAME\n");
    return 64;
  }
  QCoreApplication app(argc, argv);
  quorvex::frontend::SingleInstance instance(QString::fromLocal8Bit(argv[1]),
                                             QString::fromLocal8Bit(argv[2]));
  switch (instance.Acquire()) {
  case quorvex::frontend::SingleInstance::Role::kSecond:
    std::printf("second\n");
    return 0;
  case quorvex::frontend::SingleInstance::Role::kFailed:
    std::printf("failed\n");
    return 2;
  case quorvex::frontend::SingleInstance::Role::kFirst:
    break;
  }
  instance.onPresent = [] {
    std::printf("presented\n");
    std::fflush(stdout);
    QCoreApplication::exit(0);
  };
  std::printf("first\n");
  std::fflush(stdout);
  QTimer::singleShot(20000, [] { QCoreApplication::exit(3); });
  return QCoreApplication::exec();
}
