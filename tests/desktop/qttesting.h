#pragma once
// The one QApplication of a test program, on the offscreen platform, so
// that windows can be made and clicked without a display.

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <cstdlib>

namespace tarvolin::testing {

inline QApplication& qtApplication() {
  static int argc = 1;
  static char name[] = "tarvolin-tests";
  static char* argv[] = {name, nullptr};
  static QApplication* application = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    return new QApplication(argc, argv);
  }();
  return *application;
}

// Serves the window events waiting, as the program's event loop would.
inline void serveEvents() {
  for (int i = 0; i < 3; ++i) {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

}  // namespace tarvolin::testing
