#pragma once
// Draws a wireframe: straight segments between landmarks of one configuration.
//
// x:        a configuration, k x 3.
// wirelist: one row per wire; columns 2 and 3 hold the numbers (1 to k) of
//           the landmarks it joins; column 1 is not read.
// color:    the plot style of the segments (default "b-").
// Echoes m and n, the rows and columns of x, on the console; then draws each
// wire as its own plotted object. Hold and the axis modes are left as they
// are; the legend calls the wires `name`, standing for `role`. A wire list of fewer than three
// columns, or a landmark number that is not a whole number from 1 to k, is an InputError naming the
// wire and the number; the wires before it stay drawn.
//
// Example:
//   wireshape3D(graphics, mean1, wirelist, "g");   // wire (7, 1, 4) joins landmarks 1 and 4

#include <Eigen/Core>
#include <string_view>

#include "document/graphics.h"
#include "document/legendnames.h"

namespace tarvolin {

void wireshape3D(Graphics& graphics, const Eigen::MatrixXd& x, const Eigen::MatrixXd& wirelist,
                 std::string_view color = "b-", std::string_view name = kWireframe,
                 PlotRole role = PlotRole::wireframe);

}  // namespace tarvolin
