#pragma once
// Clears the current window: its axes, controls and plots all go. Options
// are passed on to the clear operation. Returns the current window.
//
// Example:
//   clf(graphics);   // the plot window is empty; the next plot makes new axes

#include <span>
#include <string>

#include "document/graphics.h"

namespace tarvolin {

Handle clf(Graphics& graphics, std::span<const std::string> options = {});

}  // namespace tarvolin
