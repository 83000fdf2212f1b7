#include "rundesktop.h"

#include <QApplication>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "mainLoop.h"
#include "desktop/figurewindow.h"
#include "desktop/qtfiledialogs.h"
#include "desktop/qtview.h"
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
  // Qt took the desktop's locale; C's number functions must keep the decimal point.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName("Tarvolin");
  QApplication::setApplicationDisplayName("Tarvolin");
  // The program ends when the model has no window left (the main loop sees
  // to that). Qt's own rule would also end it when a dialog closes while the
  // windows are hidden, and it stops every dialog from waiting afterwards.
  QApplication::setQuitOnLastWindowClosed(false);

  Graphics graphics;
  QtView* shown = nullptr;
  // A dialog opens over the window whose button asked for it.
  QtFileDialogs dialogs([&graphics, &shown]() -> QWidget* {
    std::optional<Handle> window = graphics.gcbf();
    if (!window) window = graphics.currentFigure();
    return window && shown ? shown->window(*window) : nullptr;
  });
  Runtime runtime(graphics, dialogs, TARVOLIN_RESOURCES_DIR);
  QtView view(graphics, [&runtime](Handle h) { runtime.runCallback(h); });
  shown = &view;
  QtEvents events;
  return mainLoop(runtime, argc, argv, "Tarvolin", 1, main_info(runtime), events);
}

}  // namespace tarvolin
