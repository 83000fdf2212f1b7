#pragma once
// Returns the handles record of a window: one field per tag that is a valid
// variable name (isvarname), holding a 1 x n row of the handles of the
// window's objects that carry it, or the empty matrix when no object has
// such a tag.
//
// h: a single handle of a window or of any object inside one; without it the
//   current window (opened when there is none).
// Objects are visited the window first, then everything inside it depth
// first, the children of one object in order of creation: a field's
// handles, and the order of the fields, follow that visit. The window's own
// tag counts like any other. Empty tags, "1abc", "a b" or "for" give no
// field.
//
// Errors (GraphicsError):
//   "H must be the handle to a figure or figure descendent."  h is not one
//     number, names no object, or names the root
//
// Example:
//   // a window tagged "Main" (handle 1) with two controls tagged "Box"
//   guihandles(g, Value(1.0))
//       -> record {Main: 1, Box: [1000 1001]}

#include <optional>

#include "document/graphics.h"
#include "document/value.h"

namespace tarvolin {

Value guihandles(Graphics& graphics, std::optional<Value> h = std::nullopt);

// The window that holds the object h names (h itself for a window), for
// guihandles and guidata; the error above when there is none.
Handle guiWindowOf(const Graphics& graphics, const Value& h);

}  // namespace tarvolin
