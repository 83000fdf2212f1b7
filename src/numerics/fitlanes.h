#pragma once
// The fit works on kLanes landmarks at a time, as one short vector per
// coordinate, so the loops need no help from the compiler to vectorize.
//
// Example:
//   Lanes x = loadLanes(column + j) - centre;
//   storeLanes(column + j, x * scale);

#include <Eigen/Core>

namespace tarvolin::procrustesfit {

inline constexpr int kLanes = 2;
using Lanes = Eigen::Array<double, kLanes, 1>;

inline Lanes loadLanes(const double* at) { return Eigen::Map<const Lanes>(at); }
inline void storeLanes(double* at, const Lanes& values) { Eigen::Map<Lanes>{at} = values; }

}  // namespace tarvolin::procrustesfit
