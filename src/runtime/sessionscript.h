#pragma once
// Session scripts: a whole working session with the main window, replayed
// without a display, one step per line:
//
//   press TAG                 click the control tagged TAG (runs its callback;
//                             a radio button of a group is switched on, one
//                             of no group and a check box toggled); a
//                             control disabled or hidden cannot be pressed
//   set TAG PROPERTY VALUE    set a property, as typing into a box or ticking
//                             a box does (no callback runs)
//   choose FILE               the answer to the next file dialog (a relative
//                             path is taken from where the run started; a
//                             file to open that is not there, from the
//                             script's folder)
//   cancel                    the next file dialog is cancelled
//   answer CHOICE             the answer to the next question (a file with
//                             missing landmarks: drop-specimens,
//                             drop-landmarks or estimate); a question with
//                             no answer is cancelled
//   call NAME ARG...          call a function by name; each ARG is a number
//                             or a text
//   window NAME               address the window opened from the figure file
//                             NAME (Tarvolin, the main window, at the start;
//                             Tarvolin2D, the 2D window), or the allometry
//                             report or the data check (allometry, check) of
//                             the main window addressed before
//   close NAME                close a window as the user does: NAME as for
//                             window, or plot, the 3D workflow's plot window;
//                             the run ends when no window is left
//   # ...                     a comment; blank lines are skipped
//
// The console output is written to `out` as the window's console shows it,
// with each message box as a line "msgbox: TEXT". An error in an action (or
// one the main window function catches in a call by name) is reported as in
// the window and the script goes on, and the run ends with status 1; with
// `strict` the run stops at the first one. A script that cannot be read, a
// step that names an unknown command, tag, window, property or function (or
// a call that fails outside the workflow's actions), steps left after the
// last window was closed, and a main window that cannot be opened are
// reported as "tarvolin-cli: SCRIPT:LINE: what is wrong" (or the figure
// file's problem) on `err` with status 2.
//
// Example:
//   int status = runsession("session.txt", "resources", false, std::cout, std::cerr);

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "core/filedialogs.h"
#include "document/controltags.h"
#include "runtime/mainLoop.h"

namespace tarvolin {

// The steps of a session script, served one per event to the main loop, on
// whatever windows the run has (the model alone, or the real windows of the
// desktop program). File dialogs are answered by `dialogs`. A step that
// cannot be carried out is an InputError naming SCRIPT:LINE, thrown out of
// next().
class SessionScript : public EventSource {
 public:
  // Reads the script; an InputError naming it when it cannot be read.
  SessionScript(const std::string& script, ScriptedFileDialogs& dialogs, bool strict);

  bool next(Runtime& runtime) override;
  // Some step reported an error (with `strict`, the run stopped there).
  bool failed() const { return failed_; }

  struct Step {
    long line = 0;
    std::vector<std::string> words;
    std::string rest;  // the text after the second word, for set: after the third
  };

 private:
  [[noreturn]] void fail(const Step& step, const std::string& what) const;
  Handle control(Runtime& runtime, const Step& step, const std::string& tag) const;
  void perform(Runtime& runtime, const Step& step);

  std::string script_;
  std::vector<Step> steps_;
  ScriptedFileDialogs& dialogs_;
  bool strict_;
  size_t next_ = 0;
  bool stopped_ = false;
  bool failed_ = false;
  std::string window_ = std::string(tags::kMainWindow);
  std::string reportOwner_ = std::string(tags::kMainWindow);  // whose reports "allometry" and "check" are
  std::filesystem::path start_ = std::filesystem::current_path();
};

int runsession(const std::string& script, const std::string& figureFolder, bool strict,
               std::ostream& out, std::ostream& err);

}  // namespace tarvolin
