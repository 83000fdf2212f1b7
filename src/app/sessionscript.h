#pragma once
// Session scripts: a whole working session with the main window, replayed
// without a display, one step per line:
//
//   press TAG                 click the control tagged TAG (runs its callback;
//                             a radio button is switched on, a check box toggled)
//   set TAG PROPERTY VALUE    set a property, as typing into a box or ticking
//                             a box does (no callback runs)
//   choose FILE               the answer to the next file dialog (a relative
//                             path is taken from where the run started)
//   cancel                    the next file dialog is cancelled
//   call NAME ARG...          call a function by name; each ARG is a number
//                             or a text
//   window NAME               address the window opened from the figure file
//                             NAME (Tarvolin, the main window, at the start;
//                             Tarvolin2D, the 2D window)
//   close NAME                close a window as the user does: NAME as for
//                             window, or plot, the 3D workflow's plot window;
//                             the run ends when no window is left
//   # ...                     a comment; blank lines are skipped
//
// The console output is written to `out` as the window's console shows it,
// with each message box as a line "msgbox: TEXT". An error in an action is
// reported as in the window and the script goes on; with `strict` the run
// stops at the first one with status 1. A script that cannot be read, or a
// step that names an unknown command, tag, window, property or function (or
// a call that fails outside the workflow's actions), is reported as
// "tarvolin-cli: SCRIPT:LINE: what is wrong" on `err` with status 2.
//
// Example:
//   int status = runsession("session.txt", "resources", false, std::cout, std::cerr);

#include <ostream>
#include <string>

namespace tarvolin {

int runsession(const std::string& script, const std::string& figureFolder, bool strict,
               std::ostream& out, std::ostream& err);

}  // namespace tarvolin
