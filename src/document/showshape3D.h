#pragma once
// Draws configurations as points in 3D into the current axes.
//
// x:       a configuration (k x 3) or a configuration stack (k x 3 x N).
// dsymbol: the plot style, for example "bo" (blue circles).
// Page 1 is drawn first, under the hold state the axes had (with hold off it
// replaces what they showed); then hold goes on and the axis modes become
// "auto" and "equal"; then pages 2 to N are added. Each page is one plotted
// object of k points, which the plot's legend calls `name`, standing for `role`.
//
// Example:
//   showshape3D(graphics, mean1, "b*");
//   showshape3D(graphics, DATAV, "bo");   // added to the mean

#include <Eigen/Core>
#include <string_view>

#include "document/graphics.h"
#include "landmarks/configstack.h"

namespace tarvolin {

void showshape3D(Graphics& graphics, const ConfigStack& x, std::string_view dsymbol,
                 std::string_view name = {}, PlotRole role = PlotRole::other);

void showshape3D(Graphics& graphics, const Eigen::MatrixXd& x, std::string_view dsymbol,
                 std::string_view name = {}, PlotRole role = PlotRole::other);

}  // namespace tarvolin
