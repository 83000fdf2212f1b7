#pragma once
// The semilandmarks of a slid configuration that ended where their curve or
// surface would not have them: nearly coincident points on an outline give
// a curve point a direction that points anywhere, and sliding along it can
// carry the point far from the outline without any sign in the fit.
//
// config: the configuration as slid (p x d); origin: the same configuration
//         before it slid, moved, scaled and turned as config was, so that
//         the two differ by the slides alone.
// sliders: the points that slide; surfaceSpacing: surfacespacing's value.
//
// A curve point P that slides between B and A, with u the unit direction
// from B to A and t = (P - B) . u, is
//   off its curve when its distance from its curve exceeds the curve's
//     spacing. Its curve is the chain the sliders link it into (each
//     slider joins before-point and point-after); the curve without P is
//     the chain's other segments and the chord B-A that bridges P's gap.
//     The spacing is the mean length of those segments, the chord counted
//     as two (the gap P leaves, split in two);
//   past the point before it when t < 0, past the point after it when
//     t > |A - B|, and not off its curve.
// A surface point is over its surface when it moved (from origin to config)
// farther than kSurfaceReach times surfaceSpacing: past the ring of its
// nearest neighbours and the ring beyond. (Points on a surface that bends
// move a spacing or two where their first places were uneven, and that is
// what sliding is for.)
// Distances are in centroid sizes of config. Returns one SlideStray per
// such point (row 0; the caller numbers the specimen), curve points in the
// order of sliders.curve, then surface points.
//
// surfacespacing: the mean distance from each surface point of `shape` to
// its nearest other point, in centroid sizes of shape; 0 without surface
// points.
//
// Example:
//   const double spacing = surfacespacing(mean, sliders.surface);
//   for (SlideStray s : slidestrays(slid, before, sliders, spacing)) ...

#include <Eigen/Core>
#include <vector>

#include "numerics/gparounds.h"
#include "landmarks/sliders.h"

namespace tarvolin {

inline constexpr double kSurfaceReach = 3;

std::vector<SlideStray> slidestrays(const Eigen::MatrixXd& config, const Eigen::MatrixXd& origin,
                                    const Sliders& sliders, double surfaceSpacing);

double surfacespacing(const Eigen::MatrixXd& shape, const std::vector<int>& surface);

}  // namespace tarvolin
