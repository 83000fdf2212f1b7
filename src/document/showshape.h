#pragma once
// Draws the rows of a 2D landmark data set as points in a flat plot.
//
// x:     one row per specimen, X1 Y1 X2 Y2 ... and a trailing column that is
//        not drawn; point j of a row is (column 2j - 1, column 2j), for j up
//        to floor((columns - 1) / 2).
// xform: the plot style (default "k.").
// Hold goes on first; every landmark of every row is drawn as its own point
// with marker size 3; then the axis modes become "auto" and "equal".
// Returns 1, whatever was drawn. `name` is what the plot's legend calls the
// points, `role` what they stand for. semilandmark: a flag per landmark
// (empty: none); a flagged landmark is drawn smaller, at
// kSemilandmarkMarker times the size, with a marker of its own
// (semilandmarkstyle) and a legend entry of its own (semilandmarkname).
//
// Example:
//   showshape(graphics, SDATA, "rs");   // a row of 5 columns gives 2 points
//   showshape(graphics, wings, "bo", "specimens", PlotRole::specimens, semi);

#include <Eigen/Core>
#include <string>
#include <string_view>
#include <vector>

#include "document/graphics.h"

namespace tarvolin {

// A semilandmark's marker, times a fixed landmark's: the fixed landmarks
// stand out among the many points of the curves and surfaces.
inline constexpr double kSemilandmarkMarker = 0.5;

// The style of a set's semilandmarks: its colour and lines, the marker "+"
// ("x" where the set's is "+"): "bo" -> "b+", "r*" -> "r+", "k-." -> "k-.+".
std::string semilandmarkstyle(std::string_view style);
// The legend's name of a set's semilandmarks: kSemilandmarks for the
// specimens, "<name>: semilandmarks" for any other set; an unnamed set's
// are unnamed too.
std::string semilandmarkname(std::string_view name, PlotRole role);

double showshape(Graphics& graphics, const Eigen::MatrixXd& x, std::string_view xform = "k.",
                 std::string_view name = {}, PlotRole role = PlotRole::other,
                 const std::vector<bool>& semilandmark = {});

}  // namespace tarvolin
