#pragma once
// Draws configurations as points in 3D into the current axes.
//
// x:       a configuration (k x 3) or a configuration stack (k x 3 x N).
// dsymbol: the plot style, for example "bo" (blue circles).
// Page 1 is drawn first, under the hold state the axes had (with hold off it
// replaces what they showed); then hold goes on and the axis modes become
// "auto" and "equal"; then pages 2 to N are added. Each page is one plotted
// object of k points, which the plot's legend calls `name`, standing for `role`.
// semilandmark: a flag per landmark (empty: none). With flags set, a page is
// drawn as runs of consecutive landmarks of one kind, in order (so the
// landmarks keep their numbers), the semilandmarks' runs with markers
// kSemilandmarkMarker times the size of the others, a marker and a legend
// entry of their own (see showshape.h).
//
// Example:
//   showshape3D(graphics, mean1, "b*");
//   showshape3D(graphics, DATAV, "bo");   // added to the mean

#include <Eigen/Core>
#include <string_view>
#include <vector>

#include "document/graphics.h"
#include "landmarks/configstack.h"

namespace tarvolin {

void showshape3D(Graphics& graphics, const ConfigStack& x, std::string_view dsymbol,
                 std::string_view name = {}, PlotRole role = PlotRole::other,
                 const std::vector<bool>& semilandmark = {});

void showshape3D(Graphics& graphics, const Eigen::MatrixXd& x, std::string_view dsymbol,
                 std::string_view name = {}, PlotRole role = PlotRole::other,
                 const std::vector<bool>& semilandmark = {});

}  // namespace tarvolin
