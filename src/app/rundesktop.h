#pragma once
// The desktop program: the main window on the screen, with real file
// dialogs, served until the user closes the last window.
//
// Without a display to open windows on, it says so and returns 2 at once
// (the command line, tarvolin-cli, works without one).
//
// Example:
//   int main(int argc, char** argv) { return tarvolin::rundesktop(argc, argv); }

namespace tarvolin {

// True when a window can be opened: an X11 or Wayland display, or a Qt
// platform chosen on the command line or in QT_QPA_PLATFORM.
bool hasdisplay(int argc, const char* const* argv);

int rundesktop(int argc, char** argv);

}  // namespace tarvolin
