#pragma once
// Opens a figure file as a window and returns the window's handle: a new
// window each time ("new"), or the one already opened from that file
// ("reuse"). The window is then moved wholly onto the screen and, when it is
// visible, made the current window and brought to the front.
//
// filename: "Name", "Name.fig" or "folder/Name.fig". Without an extension
//   ".fig" is added; any other extension, ".FIG" included, is refused. A name
//   without a folder is looked up in `searchFolder` (the working directory
//   when that is empty).
// policy: "new" or "reuse", exactly.
//
// Which windows came from which file is kept on the root (handle 0) as the
// application data "BASE_SINGLETON_handle", cut to 31 characters, where BASE
// is the file's base name: a row of window handles, oldest first. Files
// whose keys agree share one row. Windows closed since are dropped from the
// row at every call, so "reuse" loads the file again once its window is gone.
// Each window also carries its key as the application data
// "OpenfigSingletonKey": window handles are reused after a window closes,
// and a handle in the row counts only while it still names a window that
// was opened for that key.
//
// Errors (GraphicsError):
//   "Argument must be a .fig file"                      nothing is loaded
//   "Second input argument must be 'new' or 'reuse'."   the row is not rewritten
//   the loading errors of hgload                        no window, row not rewritten
//
// Example:
//   const Handle main = openfig(g, "Tarvolin", "reuse", "resources");
//   openfig(g, "Tarvolin", "reuse", "resources") == main;   // true, loaded once
//   openfigWindows(g, "Tarvolin");                           // {main}

#include <string>
#include <string_view>
#include <vector>

#include "document/graphics.h"

namespace tarvolin {

Handle openfig(Graphics& graphics, const std::string& filename, const std::string& policy,
               const std::string& searchFolder);

// The key under which the windows of a figure file with this base name are
// kept on the root.
std::string openfigSingletonKey(std::string_view baseName);

// The windows opened from figure files with this base name that are still
// open, oldest first. Reads the row on the root; changes nothing.
std::vector<Handle> openfigWindows(const Graphics& graphics, std::string_view baseName);

}  // namespace tarvolin
