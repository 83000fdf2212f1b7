#pragma once
// Why a 2D landmark data set is plainly not superimposed, if it is not.
//
// Superimposed configurations are centred on the origin and share one
// centroid size: 1 as the fit leaves them, or the mean size when they were
// put back in millimetres. A data set is plainly not superimposed when a
// specimen's centroid lies farther from the origin than kCentroidTolerance
// times its own centroid size, or when the centroid sizes spread by more
// than kSizeSpread of the largest ((largest - smallest) / largest). The
// spread leaves room for the rounding of the file they were written to and
// for Procrustes coordinates that other programs write a little smaller
// than the common size (projected onto the tangent space, or fitted by full
// Procrustes: cos rho of the distance rho to the mean, rarely below 0.95).
// A coordinate that is not a number counts as plainly wrong.
//
// data: N x (2k + 1): X1 Y1 ... Xk Yk and the size column, which is not
//       looked at.
// Returns the first specimen off the origin (0-based), or else the
// smallest and the largest specimen when the sizes spread too far; nothing
// when neither is so.
//
// Example:
//   notsuperimposed([10 0 12 0 11 2 38.5])   // centroid (11, 0.67), size 2.16
//   -> {offCentre, specimen 0, centroid 11.02, size 2.16}

#include <Eigen/Core>
#include <optional>

namespace tarvolin {

inline constexpr double kCentroidTolerance = 0.01;
inline constexpr double kSizeSpread = 0.1;

struct NotSuperimposed {
  enum class Why { offCentre, sizesDiffer };
  Why why = Why::offCentre;
  Eigen::Index specimen = 0;  // off centre: the specimen; sizes: the smallest
  double centroid = 0;        // the distance of its centroid from the origin
  double size = 0;            // its centroid size
  Eigen::Index largest = 0;   // sizes: the largest specimen
  double largestSize = 0;     // and its centroid size
};

std::optional<NotSuperimposed> notsuperimposed(const Eigen::MatrixXd& data);

}  // namespace tarvolin
