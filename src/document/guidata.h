#pragma once
// Keeps one value with a window: guidata(g, h, data) stores it,
// guidata(g, h) returns it (the empty matrix when nothing was stored).
//
// h: a single handle of a window or of any object inside one; the value
//   belongs to that window, so every object of the window reaches the same
//   value.
// data: any value (numbers, text, record, list), replacing what was stored.
//
// The value lives in the window's application data "UsedByGUIData_m", so it
// goes when the window is closed, with no table of its own to keep in step,
// and comes back exactly as stored. A value put there directly with
// setappdata is returned the same way.
//
// Errors (GraphicsError):
//   "H must be the handle to a figure or figure descendent."  h is not one
//     number, names no object, or names the root
//
// Example:
//   guidata(g, Value(fig), guihandles(g, Value(fig)));
//   guidata(g, Value(button)).field("FileBox")->scalar();   // the FileBox handle

#include "document/graphics.h"
#include "document/value.h"

namespace tarvolin {

Value guidata(Graphics& graphics, const Value& h);
void guidata(Graphics& graphics, const Value& h, const Value& data);

}  // namespace tarvolin
