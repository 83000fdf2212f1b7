#pragma once
// The main window function.
//
// Without arguments it opens the main window from the figure file
// "Tarvolin" (or brings forward the one already open), records the window's
// control handles with guihandles and stores them with guidata; asked for a
// result, it returns the window's handle. With a text as first argument it
// calls that function by name (its own callbacks first, then the registry)
// with the other arguments and passes the results back; an error there is
// caught, written to the console and reported as the window's error (as an
// action's error is). With anything else first it does nothing.
//
// Tarvolin_callbacks are its nineteen callback subfunctions: eighteen say on
// the console that they are not implemented; "pushbutton15_Callback" sends
// "Acceptx" to the 2D workflow and shows its (empty) result as ans.
//
// Example:
//   Values fig = Tarvolin(runtime, 1, {});                       // {window handle}
//   Tarvolin(runtime, 0, {Value("pushbutton3_Callback")});        // console line

#include "runtime/registry.h"

namespace tarvolin {

class Runtime;

Values Tarvolin(Runtime& runtime, int nargout, const Values& args);

LocalTable Tarvolin_callbacks(Runtime& runtime);

}  // namespace tarvolin
