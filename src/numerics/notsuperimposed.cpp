#include "numerics/notsuperimposed.h"

#include <cmath>

namespace tarvolin {

std::optional<NotSuperimposed> notsuperimposed(const Eigen::MatrixXd& data) {
  const Eigen::Index k = (data.cols() - 1) / 2;
  if (k < 1) return std::nullopt;
  for (Eigen::Index i = 0; i < data.rows(); ++i) {
    double cx = 0, cy = 0;
    for (Eigen::Index j = 0; j < k; ++j) {
      cx += data(i, 2 * j);
      cy += data(i, 2 * j + 1);
    }
    cx /= static_cast<double>(k);
    cy /= static_cast<double>(k);
    double squares = 0;
    for (Eigen::Index j = 0; j < k; ++j) {
      const double dx = data(i, 2 * j) - cx;
      const double dy = data(i, 2 * j + 1) - cy;
      squares += dx * dx + dy * dy;
    }
    const NotSuperimposed found{i, std::hypot(cx, cy), std::sqrt(squares)};
    // Written so that a coordinate that is not a number counts as plainly wrong.
    if (!(found.centroid <= kCentroidTolerance) || !(std::abs(found.size - 1) <= kSizeTolerance)) {
      return found;
    }
  }
  return std::nullopt;
}

}  // namespace tarvolin
