#pragma once
// The first specimen of a 2D landmark data set that is plainly not
// superimposed.
//
// Superimposed configurations are centred on the origin and scaled to
// centroid size 1, up to the rounding of the file they were written to
// (six significant digits change either by about 1e-6). A configuration is
// plainly not superimposed when its centroid lies farther than
// kCentroidTolerance from the origin, or its centroid size differs from 1 by
// more than kSizeTolerance; the size tolerance leaves room for Procrustes
// coordinates that other programs write a little smaller than 1 (projected
// onto the tangent space, or fitted by full Procrustes: cos rho of the
// distance rho to the mean).
//
// data: N x (2k + 1): X1 Y1 ... Xk Yk and the size column, which is not
//       looked at.
// Returns the specimen (0-based), its centroid's distance from the origin
// and its centroid size; nothing when every specimen is within the
// tolerances.
//
// Example:
//   notsuperimposed([10 0 12 0 11 2 38.5])   // centroid (11, 0.67), size 2.16
//   -> {specimen 0, centroid 11.02, size 2.16}

#include <Eigen/Core>
#include <optional>

namespace tarvolin {

inline constexpr double kCentroidTolerance = 0.01;
inline constexpr double kSizeTolerance = 0.1;

struct NotSuperimposed {
  Eigen::Index specimen = 0;
  double centroid = 0;  // the distance of its centroid from the origin
  double size = 0;      // its centroid size
};

std::optional<NotSuperimposed> notsuperimposed(const Eigen::MatrixXd& data);

}  // namespace tarvolin
