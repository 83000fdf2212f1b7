#pragma once
// Shows one specimen among the others in the current axes, so that the user
// can see what a report says of it (two landmarks swapped, a mirror image):
// row `specimen` of `data` (N x (dims k + 1), X1 Y1 [Z1] ... and a size
// column that is not drawn) as red circles named `id`, standing for
// PlotRole::chosen: drawn on top and larger, its landmarks numbered 1..k,
// the specimen sets faded behind it. A red line joins each of its landmarks
// to the same landmark of the mean of all rows (PlotRole::chosenLinks,
// "from the mean shape"), so that two landmarks swapped show as two lines
// that cross, a mirror image as lines across the whole shape. The specimen
// chosen before goes; hold is left on.
//
// Example:
//   showchosen(graphics, session.data(), 11, 3, "skull_12");

#include <Eigen/Core>
#include <string_view>

#include "document/graphics.h"

namespace tarvolin {

void showchosen(Graphics& graphics, const Eigen::MatrixXd& data, Eigen::Index specimen, int dims,
                std::string_view id);

}  // namespace tarvolin
