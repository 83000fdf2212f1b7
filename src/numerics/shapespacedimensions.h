#pragma once
// How many dimensions the shapes of a superimposed data set can vary in:
// the most principal components with variance it can have. Of the d k
// coordinates of k landmarks in d dimensions, the superimposition takes d
// for position, 1 for size and d (d - 1) / 2 for rotation: 2k - 4 in 2D,
// 3k - 7 in 3D. A curve semilandmark that slides loses one more (its place
// along the curve), a surface semilandmark two (its place in the surface);
// a standardization removes the slope's direction, one more. Never below 0.
//
// dims: 2 or 3; landmarks: k; sliders: those that slid, or null;
// standardized: the data were standardized for size.
//
// Example:
//   shapespacedimensions(3, 14, nullptr, false)   -> 35
//   shapespacedimensions(2, 16, nullptr, true)    -> 27

#include <Eigen/Core>

#include "landmarks/sliders.h"

namespace tarvolin {

Eigen::Index shapespacedimensions(int dims, Eigen::Index landmarks, const Sliders* sliders,
                                  bool standardized);

}  // namespace tarvolin
