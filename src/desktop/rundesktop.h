#pragma once
// The desktop program: the main window on the screen, with real file
// dialogs, served until the user closes the last window.
//
// Words of the command line that begin with "--" are the program's own:
//
//   FILE                      (a word naming a file or folder that exists)
//                             loads it as Load data does, once the main
//                             window is open (see opendatafile.h)
//   --figures DIR             reads the figure files from DIR instead of
//                             the installed ones (see figurefolder.h)
//   --version                 prints "tarvolin VERSION"
//   --help                    prints what the program takes
//   --run SCRIPT              replays a session script (the steps of
//                             tarvolin-cli run) on the real windows, the
//                             script's "choose" and "cancel" answering the
//                             file dialogs, then ends with the script's status
//   --screenshots DIR         with --run: when the script is done, saves a
//                             PNG of each open window into DIR, named after
//                             the window (Tarvolin.png, Tarvolin2D.png,
//                             plot.png)
//   --strict                  with --run: stops at the first error of an
//                             action, with status 1
//
// Any other word goes to the main window function, as it always has,
// unless it holds a path separator or ends in a name extension: then it was
// meant as a file that is not there, which is an error. Qt's
// own options (-platform offscreen, ...) are Qt's.
//
// Without a display to open windows on, it says so and returns 2 at once
// (the command line, tarvolin-cli, works without one).
//
// Example:
//   int main(int argc, char** argv) { return tarvolin::rundesktop(argc, argv); }

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tarvolin {

// True when a window can be opened: an X11 or Wayland display, or a Qt
// platform chosen on the command line or in QT_QPA_PLATFORM.
bool hasdisplay(int argc, const char* const* argv);

// The program's own options, and the words left for the main window
// function.
struct DesktopOptions {
  bool version = false;
  bool help = false;
  bool strict = false;
  std::optional<std::string> script;
  std::optional<std::string> screenshots;
  std::optional<std::string> figures;
  std::optional<std::string> data;
  std::vector<std::string> words;
};

// Reads argv[1..argc-1]; an option it does not know, or one without its
// value, is a std::invalid_argument saying so.
DesktopOptions desktopoptions(int argc, const char* const* argv);

// What --help prints.
void desktophelp(std::ostream& out);

int rundesktop(int argc, char** argv);

}  // namespace tarvolin
