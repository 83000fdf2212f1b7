#pragma once
// The program's run-time: the graphics model, the file dialogs, the registry
// of functions callable by name, and the modules with their start-up and
// shut-down. The window program and the session scripts both run on it.
//
// Start-up runs the pairs of init_term_table in order: the math run-time,
// the graphics run-time, then one pair per registered module. Starting
// stand3sw or standsw empties its workflow; shutting it down releases it.
//
// Example:
//   Runtime runtime(graphics, dialogs, "resources");
//   runtime.startup();
//   runtime.call("Tarvolin", 0, {});           // opens the main window
//   runtime.runCallback(loadButton);           // as a click does
//   runtime.shutdown();

#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/filedialogs.h"
#include "document/graphics.h"
#include "runtime/callbackstring.h"
#include "runtime/registry.h"
#include "runtime/sessionrecorder.h"
#include "workflows/stand3sw.h"
#include "workflows/standsw.h"

namespace tarvolin {

struct InitTermPair {
  std::string module;  // "mathrt", "graphicsrt", or a registered module
  std::string initialize;
  std::string terminate;
};

class Runtime {
 public:
  Runtime(Graphics& graphics, FileDialogs& dialogs, std::string figureFolder);

  Graphics& graphics() { return graphics_; }
  // The file dialogs, through the recorder of the session.
  FileDialogs& dialogs() { return recorder_; }
  // The session so far, which the window can save as a session script.
  const SessionRecorder& recorder() const { return recorder_; }
  Registry& registry() { return registry_; }
  const std::string& figureFolder() const { return figureFolder_; }

  const std::vector<InitTermPair>& initTermTable() const { return initTermTable_; }
  void startup();
  void shutdown();
  bool started(std::string_view module) const { return started_.count(std::string(module)) != 0; }

  // A call by name through the registry, with its count checks.
  Values call(std::string_view name, int nargout, const Values& args) {
    return registry_.call(name, nargout, args);
  }

  // Runs control h's callback string as a click does: h's window becomes
  // the current window and h the callback object while it runs; an error
  // ends the callback with its text on the console (and as the graphics
  // model's last error). The step is recorded (see SessionRecorder), also
  // for a control without a callback (an edit box, a check box).
  void runCallback(Handle h);

  // The workflow modules while they run; std::logic_error otherwise.
  Stand3sw& stand3sw();
  Standsw& standsw();

  // The newest open window opened from the figure file `base` ("Tarvolin").
  std::optional<Handle> windowOf(std::string_view base) const;
  // The 3D workflow's plot window, while it is open.
  std::optional<Handle> plotWindow() const;

 private:
  Value evaluate(const CallExpression& call, int nargout);

  Graphics& graphics_;
  SessionRecorder recorder_;
  std::string figureFolder_;
  Registry registry_;
  std::vector<InitTermPair> initTermTable_;
  std::set<std::string> started_;
  std::optional<Stand3sw> stand3sw_;
  std::optional<Standsw> standsw_;
};

// The 27 functions callable by name, in registry order, and the local
// function tables of Tarvolin, guidata, guihandles and movegui.
void function_table(Runtime& runtime);

// The 29 start-up and shut-down pairs, in order.
std::vector<InitTermPair> init_term_table(const Registry& registry);

}  // namespace tarvolin
