#pragma once
// Loads a data file named on the command line (`tarvolin FILE`, which is
// how the desktop's menu entry and file manager open a file with Tarvolin)
// as "Load data" loads the file the user chooses: the same checks, the same
// messages, the file put first among the recent ones.
//
// A file of 2D landmarks goes to the 2D window, opened for it; any other
// file, one that cannot be read included, goes to the main window, whose
// status line then says what is wrong with it. A ZOR-style file of rows is
// 2D when its rows do not fit 3D landmarks but fit three or more 2D ones.
//
// Example:
//   runtime.call("Tarvolin", 0, {});
//   opendatafile(runtime, view, "examples/skulls2d.tps");   // in the 2D window

#include <string>

namespace tarvolin {

class QtView;
class Runtime;

void opendatafile(Runtime& runtime, QtView& view, const std::string& path);

}  // namespace tarvolin
