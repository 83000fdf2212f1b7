#pragma once
// The convex hull of points in the plane: the indices of the points at its
// corners, counter-clockwise, from the lowest point (the leftmost of the
// lowest on a tie). Points on an edge between two corners are not corners.
// Fewer than three points that are not all in one place give those points
// (two ends of a segment when all lie on a line); points that are not
// finite are left out.
//
// Example:
//   Eigen::MatrixX2d p(4, 2);
//   p << 0, 0,  1, 0,  0.2, 0.2,  0, 1;
//   convexhull2d(p)   // {0, 1, 3}

#include <Eigen/Core>
#include <vector>

namespace tarvolin {

std::vector<Eigen::Index> convexhull2d(const Eigen::Ref<const Eigen::MatrixX2d>& points);

}  // namespace tarvolin
