#pragma once
// The Value a click gives a control, before its callback runs.
//
// control: the control clicked.
// Returns 1 for a radio button of a group (a click switches it on, also
// when it is on already: the group says which one is chosen); the other
// value for a radio button of no group (a switch of its own, such as "TPS
// file", which a click must be able to switch off again) and for a check
// box; nothing for any other control, whose Value a click leaves alone.
//
// Example:
//   if (std::optional<double> v = clickvalue(graphics.object(h))) graphics.set(h, "Value", *v);

#include <optional>

#include "document/graphics.h"

namespace tarvolin {

std::optional<double> clickvalue(const GraphicsObject& control);

}  // namespace tarvolin
