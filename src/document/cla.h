#pragma once
// Clears the current axes: every plotted object in them goes. Options are
// passed on to the clear operation ("reset" also sets hold off and the axis
// mode back to "auto"). Returns the current axes.
//
// Example:
//   cla(graphics);            // the plot is empty, hold as it was
//   cla(graphics, {"reset"});

#include <span>
#include <string>

#include "document/graphics.h"

namespace tarvolin {

Handle cla(Graphics& graphics, std::span<const std::string> options = {});

}  // namespace tarvolin
