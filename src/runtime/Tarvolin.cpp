#include "runtime/Tarvolin.h"

#include "core/console.h"
#include "core/notenoughmemory.h"
#include "document/controltags.h"
#include "document/guidata.h"
#include "document/guihandles.h"
#include "document/openfig.h"
#include "runtime/runtime.h"

namespace tarvolin {

Values Tarvolin(Runtime& runtime, int nargout, const Values& args) {
  if (args.empty()) {
    Graphics& graphics = runtime.graphics();
    const Handle fig = openfig(graphics, std::string(tags::kMainWindow), "reuse", runtime.figureFolder());
    const Value handles = guihandles(graphics, Value(fig.value()));
    guidata(graphics, Value(fig.value()), handles);
    if (nargout >= 1) return {Value(fig.value())};
    return {};
  }
  if (!args.front().isText()) return {};
  try {
    const Values rest(args.begin() + 1, args.end());
    return runtime.registry().within(
        "Tarvolin", [&] { return runtime.call(args.front().text(), nargout, rest); });
  } catch (const std::exception& e) {
    // Reported as an action's error is: on the console and in the window,
    // and counted by a session script.
    console().disp(errortext(e));
    runtime.graphics().setLastError(errortext(e));
    return {};
  }
}

LocalTable Tarvolin_callbacks(Runtime& runtime) {
  LocalTable table{"Tarvolin", {}};
  // The main window's figure file gives its labels and edit boxes these
  // callbacks, and a click on them calls them: each is registered so that
  // the click says it does nothing yet rather than failing as an unknown
  // function, and so that scripts and figure files written for the window
  // keep working.
  const char* const announced[] = {
      "pushbutton1",  "pushbutton2", "pushbutton3", "edit1",       "radiobutton1", "radiobutton2",
      "radiobutton3", "pushbutton4", "edit2",       "edit4",       "edit5",        "edit6",
      "edit7",        "pushbutton5", "edit8",       "pushbutton6", "pushbutton7",  "pushbutton8"};
  for (const char* control : announced) {
    const std::string notice = std::string(control) + " Callback not implemented yet.";
    table.functions.push_back({"Tarvolin/" + std::string(control) + "_Callback",
                               -4,
                               -1,
                               {},
                               1,
                               [notice](int, const Values&) {
                                 console().disp(notice);
                                 return Values{};
                               }});
  }
  table.functions.push_back(
      {"Tarvolin/pushbutton15_Callback", -4, -1, {}, 1, [&runtime](int, const Values&) {
         const Values result = runtime.call("standsw", 1, {Value("Acceptx")});
         console().echo("ans", result.front().display());
         return Values{};
       }});
  return table;
}

}  // namespace tarvolin
