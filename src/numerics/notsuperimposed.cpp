#include "numerics/notsuperimposed.h"

#include <cmath>

namespace tarvolin {

std::optional<NotSuperimposed> notsuperimposed(const Eigen::MatrixXd& data) {
  const Eigen::Index k = (data.cols() - 1) / 2;
  if (k < 1 || data.rows() == 0) return std::nullopt;
  Eigen::VectorXd sizes(data.rows());
  Eigen::VectorXd centroids(data.rows());
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
    centroids(i) = std::hypot(cx, cy);
    sizes(i) = std::sqrt(squares);
    // Written so that a coordinate that is not a number counts as off centre.
    if (!(centroids(i) <= kCentroidTolerance * sizes(i))) {
      return NotSuperimposed{NotSuperimposed::Why::offCentre, i, centroids(i), sizes(i)};
    }
  }
  Eigen::Index smallest = 0, largest = 0;
  sizes.minCoeff(&smallest);
  sizes.maxCoeff(&largest);
  if (sizes(largest) - sizes(smallest) <= kSizeSpread * sizes(largest)) return std::nullopt;
  return NotSuperimposed{NotSuperimposed::Why::sizesDiffer,
                         smallest,
                         centroids(smallest),
                         sizes(smallest),
                         largest,
                         sizes(largest)};
}

}  // namespace tarvolin
