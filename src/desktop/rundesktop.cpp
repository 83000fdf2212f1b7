#include "desktop/rundesktop.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSettings>
#include <cctype>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "core/closestword.h"
#include "core/errors.h"
#include "desktop/figurewindow.h"
#include "desktop/opendatafile.h"
#include "desktop/qtevents.h"
#include "desktop/qtfiledialogs.h"
#include "desktop/qtview.h"
#include "document/controltags.h"
#include "runtime/figurefolder.h"
#include "runtime/mainLoop.h"
#include "runtime/sessionscript.h"

namespace tarvolin {
namespace {

bool setInEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// Serves the window events waiting, so that what a step changed is on the
// screen before the next one.
void serveWaitingEvents() {
  for (int i = 0; i < 3; ++i) {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

// A session script's steps on the real windows; when the script is done,
// a picture of each open window goes into the screenshot folder.
class ScriptOnWindows : public EventSource {
 public:
  ScriptOnWindows(SessionScript& script, QtView& view, std::optional<std::string> screenshots)
      : script_(script), view_(view), screenshots_(std::move(screenshots)) {}

  bool next(Runtime& runtime) override {
    serveWaitingEvents();
    if (script_.next(runtime)) return true;
    serveWaitingEvents();
    if (screenshots_) saveScreenshots(runtime);
    return false;
  }

  bool failedToSave() const { return failedToSave_; }

 private:
  void saveScreenshots(Runtime& runtime) {
    std::error_code ignored;
    std::filesystem::create_directories(*screenshots_, ignored);
    // The reports are found by their tags: they are made by the workflow,
    // not opened from a figure file.
    auto newest = [&runtime](std::string_view tag) -> std::optional<Handle> {
      const std::vector<Handle> reports = runtime.graphics().findobj(tag);
      if (reports.empty()) return std::nullopt;
      return reports.back();
    };
    const std::pair<std::string_view, std::optional<Handle>> windows[] = {
        {tags::kMainWindow, runtime.windowOf(tags::kMainWindow)},
        {tags::k2DWindow, runtime.windowOf(tags::k2DWindow)},
        {"plot", runtime.plotWindow()},
        {"allometry", newest(tags::kAllometryWindow)},
        {"check", newest(tags::kCheckWindow)},
        {"shapespace", newest(tags::kShapeSpaceWindow)},
        {"sliding", newest(tags::kSlidingWindow)},
    };
    for (const auto& [name, handle] : windows) {
      FigureWindow* window = handle ? view_.window(*handle) : nullptr;
      if (!window || !window->isVisible()) continue;
      const std::string path = (std::filesystem::path(*screenshots_) / name).string() + ".png";
      if (!window->grab().save(QString::fromStdString(path), "PNG")) {
        std::cerr << "tarvolin: " << path << ": the screenshot cannot be written\n";
        failedToSave_ = true;
      }
    }
  }

  SessionScript& script_;
  QtView& view_;
  std::optional<std::string> screenshots_;
  bool failedToSave_ = false;
};

// The window's events, after loading the data file named on the command
// line into the window that has just opened.
class LoadThenServe : public EventSource {
 public:
  LoadThenServe(QtView& view, std::optional<std::string> data)
      : view_(view), data_(std::move(data)) {}

  bool next(Runtime& runtime) override {
    if (data_) {
      serveWaitingEvents();
      const std::string path = std::move(*data_);
      data_.reset();
      opendatafile(runtime, view_, path);
    }
    return events_.next(runtime);
  }

 private:
  QtView& view_;
  std::optional<std::string> data_;
  QtEvents events_;
};

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

void desktophelp(std::ostream& out) {
  out << "Tarvolin " TARVOLIN_VERSION
         ": size standardization of 2D and 3D landmark data, in a window\n"
         "\n"
         "Usage: tarvolin [FILE] [--figures DIR] [--version] [--help]\n"
         "       tarvolin --run SCRIPT [--screenshots DIR] [--strict] [--figures DIR]\n"
         "\n"
         "  FILE                load this landmark file, as Load data does (a file of 2D\n"
         "                      landmarks opens in the 2D window)\n"
         "  --figures DIR       read the window layouts (Tarvolin.fig) from DIR\n"
         "  --run SCRIPT        replay a session script on the windows (see man tarvolin)\n"
         "  --screenshots DIR   after the script, save a PNG of each open window in DIR\n"
         "  --strict            stop the script at the first error, with status 1\n"
         "  --version           print the version\n"
         "  --help              print this text\n"
         "\n"
         "The command line without a window: tarvolin-cli --help\n";
}

int rundesktop(int argc, char** argv) {
  // Qt's own options are not ours; they stay for QApplication.
  std::vector<const char*> ours{argv[0]};
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) {
      ++i;
      continue;
    }
    ours.push_back(argv[i]);
  }
  DesktopOptions options;
  try {
    options = desktopoptions(static_cast<int>(ours.size()), ours.data());
  } catch (const std::invalid_argument& e) {
    std::cerr << "tarvolin: " << e.what() << " (see tarvolin --help)\n";
    return 2;
  }
  if (options.help) {
    desktophelp(std::cout);
    return 0;
  }
  if (options.version) {
    std::cout << "tarvolin " TARVOLIN_VERSION "\n";
    return 0;
  }
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
  QApplication::setOrganizationName("Tarvolin");
  QApplication::setApplicationVersion(TARVOLIN_VERSION);
  // The desktop's menu entry, whose icon the window shows in the task bar.
  QGuiApplication::setDesktopFileName("org.tarvolin.Tarvolin");
  QApplication::setWindowIcon(QIcon(":/icons/org.tarvolin.Tarvolin.svg"));
  // The program ends when the model has no window left (the main loop sees
  // to that). Qt's own rule would also end it when a dialog closes while the
  // windows are hidden, and it stops every dialog from waiting afterwards.
  QApplication::setQuitOnLastWindowClosed(false);

  std::vector<const char*> words{argv[0]};
  for (const std::string& word : options.words) words.push_back(word.c_str());
  const int wordCount = static_cast<int>(words.size());

  // Loads move the working directory; the pictures go, and the figure
  // files are read, where the user meant when starting the program.
  if (options.screenshots) {
    options.screenshots =
        std::filesystem::absolute(*options.screenshots).lexically_normal().string();
  }
  const std::string figures = options.figures ? std::filesystem::absolute(*options.figures).string()
                                              : installedfigurefolder(argv[0]).string();

  Graphics graphics;
  if (options.script) {
    // The script answers the file dialogs; the windows are the real ones.
    ScriptedFileDialogs dialogs;
    Runtime runtime(graphics, dialogs, figures);
    QtView view(graphics, [&runtime](Handle h) { runtime.runCallback(h); });
    try {
      SessionScript script(*options.script, dialogs, options.strict);
      ScriptOnWindows events(script, view, options.screenshots);
      const int status =
          mainLoop(runtime, wordCount, words.data(), "Tarvolin", 1, main_info(runtime), events);
      if (status != 0) return status;
      if (events.failedToSave()) return 2;
      return script.failed() ? 1 : 0;
    } catch (const InputError& e) {
      std::cerr << "tarvolin: " << e.what() << "\n";
      return 2;
    }
  }

  // The last folder, the recent files and the window places, kept between
  // runs. Made before the view, which writes the places when it goes. (A
  // scripted run above neither reads nor changes them.)
  QSettings settings;
  QtView* shown = nullptr;
  // A dialog opens over the window whose button asked for it.
  QtFileDialogs dialogs([&graphics, &shown]() -> QWidget* {
    std::optional<Handle> window = graphics.gcbf();
    if (!window) window = graphics.currentFigure();
    return window && shown ? shown->window(*window) : nullptr;
  });
  dialogs.setSettings(&settings);
  Runtime runtime(graphics, dialogs, figures);
  QtView view(graphics, [&runtime](Handle h) { runtime.runCallback(h); });
  view.setSettings(&settings);
  view.setFileDialogs(&dialogs);
  view.setSessionScript([&runtime] { return runtime.recorder().script(); });
  shown = &view;
  LoadThenServe events(view, options.data);
  try {
    return mainLoop(runtime, wordCount, words.data(), "Tarvolin", 1, main_info(runtime), events);
  } catch (const InputError& e) {
    std::cerr << "tarvolin: " << e.what() << "\n";
    return 2;
  }
}

}  // namespace tarvolin
