#pragma once
// Loads a figure file into one new window of the graphics model and returns
// the window's handle.
//
// A figure file is JSON: the window and its controls, each control a push
// button, radio button, check box, edit box or text box. Positions are
// [left, bottom, width, height] in pixels, from the window's bottom-left
// corner for a control, from the screen's for the window.
//
//   {"format": "tarvolin-figure", "version": 1,
//    "window": {"name": "Tarvolin", "tag": "Tarvolin",
//               "position": [100, 100, 660, 560], "visible": "on"},
//    "controls": [
//      {"style": "pushbutton", "tag": "LoadXButton", "string": "Load x list",
//       "position": [20, 350, 140, 24], "enable": "off",
//       "callback": "stand3sw('LoadxList')", "tooltip": "Read the x-variable from a file"},
//      {"style": "text", "string": "Minimum"}],
//    "axes": [{"tag": "PlotArea", "position": [680, 40, 380, 440]}]}
//
// "format" is required; "version", when given, is 1. "window" and
// "controls" may be left out (a plain window, no controls). In a control only
// "style" is required, one of pushbutton, radiobutton, checkbox, edit, text,
// listbox, popupmenu; the rest default to: tag "", string "", value 0,
// enable "on", visible "on", callback "", tooltip "", group "", position
// [10, 10, 100, 24]. A control that is not visible keeps its place, for the
// workflow to show it when it applies. Radio buttons with the same "group"
// are exclusive: switching one on switches the others off. The window's
// defaults are those of a new window of the model. "enable" and "visible"
// are "on" or "off" in any letter case. Any other key is refused, so that a
// misspelt key is not lost silently.
// Controls are made in the order of the file, then the plotting areas ("axes", each with an
// optional tag and position; the last one is where the window's plots go).
//
// The new window becomes the current window, unless it is invisible: then
// the window that was current stays so.
//
// Errors (GraphicsError; no window is left behind):
//   "PATH: cannot read the figure file (REASON)"  missing or unreadable file
//   "PATH:LINE: not valid JSON: DETAIL"           the line where parsing stopped
//   "PATH: not a figure file: ..."                no or another "format", wrong version
//   "PATH: window: ..."                           a window value of the wrong kind
//   "PATH: control N (tag \"T\"): ..."            N counted from 1; an unknown style,
//                                                 a value of the wrong kind, an unknown key
//
// Example:
//   Graphics g;
//   const Handle main = hgload(g, "resources/Tarvolin.fig");
//   g.getString(main, "Name");                   // "Tarvolin"
//   g.findobj("FileBox", main).size();           // 1

#include <string>

#include "document/graphics.h"

namespace tarvolin {

Handle hgload(Graphics& graphics, const std::string& path);

}  // namespace tarvolin
