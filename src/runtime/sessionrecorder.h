#pragma once
// Records a working session in the windows as a session script (see
// sessionscript.h) that replays to the same result: the methods of an
// analysis, written down as they were done.
//
// It stands between the workflows and the file dialogs, and is told of every
// control whose callback runs (Runtime::runCallback), and so records, in
// the order the user did them:
//
//   window NAME               when a control of another window is used
//                             (before the 2D window's first control, the
//                             press of Open2DButton that opens it; before a
//                             report window's, its main window when another
//                             was addressed last)
//   set TAG String TEXT       what was typed into an edit box (in a report
//                             window followed by its press, which redraws)
//   choose PATH / cancel      each file dialog's answer, the path made
//                             absolute, before the press that asked
//   answer CHOICE             a question's answer (missing landmarks)
//   set TAG Value N           the item chosen in a popup menu or list, before
//                             its press
//   press TAG                 each button, radio button, check box, popup
//                             menu or list used
//
// The controls of the main window, of the 2D window and of their report
// windows ("check", "shapespace", "sliding", "allometry": the row chosen, the
// components, the magnification, the specimen clicked) are recorded, so
// that a figure made there replays; the plot window's view changes no
// result and is not.
//
// Example:
//   SessionRecorder recorder(dialogs);            // the switchyards ask `recorder`
//   recorder.beginStep("Tarvolin", "LoadDataButton", ControlStyle::pushbutton, "");
//   recorder.getFile(kLandmarkFilter, "Enter file to Load?");   // the user picks a file
//   recorder.endStep();
//   recorder.script();   // "...choose /data/skulls.txt\npress LoadDataButton\n"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/filedialogs.h"
#include "document/controltags.h"
#include "document/graphics.h"

namespace tarvolin {

// The window of a control as a script names it: the main window "Tarvolin"
// or "Tarvolin2D", or a report window ("check", "shapespace", "sliding", "allometry")
// with the main window whose workflow made it. Empty for any other window.
struct ScriptWindow {
  std::string name;
  std::string owner;  // a report window's main window
};
ScriptWindow scriptwindowof(const Graphics& graphics, Handle control);

class SessionRecorder : public FileDialogs {
 public:
  explicit SessionRecorder(FileDialogs& dialogs) : dialogs_(dialogs) {}

  std::optional<FileChoice> getFile(std::string_view filter, std::string_view title) override;
  std::optional<FileChoice> putFile(std::string_view filter, std::string_view title) override;
  std::optional<std::string> askChoice(std::string_view title, std::string_view text,
                                       std::string_view details,
                                       const std::vector<DialogChoice>& choices) override;

  // A control's callback is about to run: `window` is the figure file the
  // control's window was opened from ("Tarvolin", "Tarvolin2D"; empty for
  // any other window, whose controls are not recorded), `text` an edit
  // box's String, `value` the item chosen in a popup menu or list. Steps
  // within a step (a callback that runs another) are part of it.
  void beginStep(const ScriptWindow& window, const std::string& tag, ControlStyle style,
                 const std::string& text, double value = 0);
  void beginStep(const std::string& window, const std::string& tag, ControlStyle style,
                 const std::string& text, double value = 0) {
    beginStep(ScriptWindow{window, {}}, tag, style, text, value);
  }
  // The callback has run: its step is written, after the dialog answers it
  // gave.
  void endStep();

  // The session so far, as a session script.
  std::string script() const;
  // The steps recorded, one line each.
  const std::vector<std::string>& steps() const { return steps_; }

 private:
  void answered(std::string step);
  // Addresses `window` when the last step was in another one.
  void address(const ScriptWindow& window);

  FileDialogs& dialogs_;
  std::vector<std::string> steps_;
  std::vector<std::string> answers_;  // of the step that runs
  std::string step_;                  // the step that runs; empty when not recorded
  std::string chosen_;                // the item its popup menu or list chose: a set step
  int depth_ = 0;
  std::string window_ = std::string(tags::kMainWindow);
  std::string main_ = std::string(tags::kMainWindow);  // the main window addressed last: the reports' owner
  std::string pressed_;            // a report's edit box: pressed after it is set
  bool opened2D_ = false;
};

}  // namespace tarvolin
