#include "rundesktop.h"

#include <QApplication>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "mainLoop.h"
#include "platform/qt/qtfiledialogs.h"
#include "platform/qt/qtview.h"
#include "qtevents.h"

namespace tarvolin {
namespace {

bool setInEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

}  // namespace

bool hasdisplay(int argc, const char* const* argv) {
  if (setInEnvironment("DISPLAY") || setInEnvironment("WAYLAND_DISPLAY") ||
      setInEnvironment("QT_QPA_PLATFORM")) {
    return true;
  }
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) {
      return true;
    }
  }
  return false;
}

int rundesktop(int argc, char** argv) {
  if (!hasdisplay(argc, argv)) {
    std::cerr << "tarvolin: there is no display to open the window on (neither DISPLAY nor "
                 "WAYLAND_DISPLAY is set).\n"
                 "The command line works without one: tarvolin-cli --help\n";
    return 2;
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName("Tarvolin");
  QApplication::setApplicationDisplayName("Tarvolin");

  Graphics graphics;
  QtFileDialogs dialogs;
  Runtime runtime(graphics, dialogs, TARVOLIN_RESOURCES_DIR);
  QtView view(graphics, [&runtime](Handle h) { runtime.runCallback(h); });
  QtEvents events;
  return mainLoop(runtime, argc, argv, "Tarvolin", 1, main_info(runtime), events);
}

}  // namespace tarvolin
