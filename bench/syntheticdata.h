#pragma once
// A synthetic landmark data set for the benchmarks, made in memory.
//
// Every specimen is one mean shape (points on an ellipsoid) changed along a
// fixed direction in proportion to the logarithm of its size (allometry),
// plus independent noise on every coordinate; it is then scaled to its
// centroid size, turned by a random proper rotation and moved by a random
// translation. Centroid sizes are log-normal around 100. The same seed gives
// the same data set, bit for bit.
//
// Example:
//   Eigen::MatrixXd data = syntheticdataset(1000, 500);   // 1000 x 1501
//   std::string text = zortext(data);                      // about 15 MB

#include <Eigen/Core>
#include <cstdint>
#include <string>

namespace tarvolin::bench {

constexpr Eigen::Index kSpecimens = 1000;
constexpr Eigen::Index kLandmarks = 500;
constexpr std::uint32_t kSeed = 20240611;

// specimens x (3 * landmarks + 1): X1 Y1 Z1 ... Xk Yk Zk, then the centroid size.
Eigen::MatrixXd syntheticdataset(Eigen::Index specimens, Eigen::Index landmarks,
                                 std::uint32_t seed = kSeed);

// The data set in the ZOR format: one specimen per line, every number with six
// decimals, numbers separated by a blank.
std::string zortext(const Eigen::MatrixXd& data);

}  // namespace tarvolin::bench
