#pragma once
// Shows how the mean shape changes toward one or more target shapes (the
// ends of a principal component, the shapes a regression predicts at the
// smallest and largest x), in the current axes, among whatever they show:
// - the mean shape (k x d, d = 2 or 3) as black points (PlotRole::changeMean,
//   legend "mean shape");
// - each target exaggerated `magnification` times (mean + magnification x
//   (target - mean)) as points of its colour, named as it says
//   (PlotRole::changeTarget);
// - lollipops: a segment of the target's colour from each landmark of the
//   mean to the same landmark of the exaggerated target
//   (PlotRole::lollipops, not in the legend);
// - with a wire list (as wireshape3D reads it; empty: none), the wires on
//   the mean in grey dots and on each exaggerated target in its colour,
//   that is, the wireframe warped to the target (PlotRole::warpedWireframe);
// - for 2D data with `grid`, a deformation grid: kChangeGridLines lines each
//   way over the mean's extent (with a margin of kChangeGridMargin of its
//   larger side all round), mapped by the thin-plate spline from the mean to
//   the last exaggerated target (tpswarp2d), each line drawn through
//   kChangeGridSteps points (PlotRole::deformationGrid, legend "deformation
//   grid"). A line breaks where the spline takes it farther than
//   kChangeGridReach of the shapes' larger side outside the box of the
//   shapes drawn, so that the grid never runs off far beyond the landmarks.
// Returns a warning for the status line when the grid is drawn near
// landmarks of the mean that lie almost at one place (see tpswarp2d):
// "the grid is unstable where landmarks of the mean shape lie almost at one
// place (9 and 10, 13 and 14)"; empty otherwise.
// What an earlier call drew goes first (removeshapechange); hold is left on
// and the axes are made equal. The renderer fades the specimen sets behind it.
//
// A magnification outside 1..10 or not a number, targets whose size differs
// from the mean's, or a mean of other than 2 or 3 columns are an InputError;
// nothing is drawn then.
//
// Example:
//   std::vector<ShapeTarget> ends{{minShape, "PC1 minimum", "b"}, {maxShape, "PC1 maximum", "r"}};
//   showshapechange(graphics, mean, ends, wirelist, 3, /*grid=*/true);

#include <Eigen/Core>
#include <span>
#include <string>

#include "document/graphics.h"

namespace tarvolin {

inline constexpr int kChangeGridLines = 15;
inline constexpr int kChangeGridSteps = 40;
inline constexpr double kChangeGridMargin = 0.05;
inline constexpr double kChangeGridReach = 0.25;

struct ShapeTarget {
  Eigen::MatrixXd shape;  // k x d
  std::string name;       // what the legend calls it
  std::string colour;     // a colour letter of the plot styles: "r", "b", ...
};

std::string showshapechange(Graphics& graphics, const Eigen::MatrixXd& mean,
                            std::span<const ShapeTarget> targets, const Eigen::MatrixXd& wirelist,
                            double magnification, bool grid);

// Removes from axes `axes` what showshapechange drew there.
void removeshapechange(Graphics& graphics, Handle axes);

}  // namespace tarvolin
