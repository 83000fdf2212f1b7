#pragma once
// Moves a window to a named place on the screen, to a pixel position, or just
// far enough to lie wholly on the screen. Returns nothing; the window's
// OuterPosition changes, its Units and ActivePositionProperty end as they were.
//
// args: zero to three values, in any order:
//   - a single handle of a window or of any object inside one: the window to
//     move (default: the window whose callback is running, else the current
//     window);
//   - a text, one of "north", "south", "east", "west", "northeast",
//     "southeast", "northwest", "southwest", "center", "onscreen" (exactly,
//     letter case included): where to move it (default "onscreen");
//   - a numeric of two elements (x, y): the outer lower-left corner in pixels,
//     a negative x counted from the right edge, a negative y from the top.
//   A later argument of one kind replaces an earlier one. While a callback
//   runs, a second argument of no kind above is ignored.
// The outer size is capped at the screen's; a window whose drawing area is
// larger than its outer frame in both directions grows by 6 x 24 pixels.
// "north" echoes the new corner on the console as newpos. Halves stay halves.
//
// Errors (GraphicsError, raised before anything changes):
//   "Too many input arguments."                more than three arguments
//   "handle of figure or descendant required"  a handle outside any window (the root)
//   "unrecognized position"                    a text that is not one of the names
//   "unrecognized input argument"              anything else
//
// Example:
//   graphics.setScreenSize(1024, 768);   // a window of outer size 400 x 300
//   const std::vector<Value> args{Value(fig), Value("center")};
//   movegui(graphics, args);             // its outer corner is now (312, 234)

#include <span>

#include "document/graphics.h"
#include "document/value.h"

namespace tarvolin {

void movegui(Graphics& graphics, std::span<const Value> args);

}  // namespace tarvolin
