#include "landmarks/vertxy3D.h"

#include <algorithm>
#include <stdexcept>

namespace tarvolin {

ConfigStack vertxy3D(const Eigen::MatrixXd& x) {
  const Eigen::Index specimens = x.rows();
  const Eigen::Index landmarks = x.cols() / 3;
  if (specimens == 0 || landmarks == 0) {
    throw std::invalid_argument("vertxy3D: a data set of " + std::to_string(x.rows()) +
                                " rows and " + std::to_string(x.cols()) +
                                " columns holds no landmark");
  }
  ConfigStack y(landmarks, specimens);
  // A few specimens at a time: a column of x is read a cache line at once,
  // instead of one number from each of its rows.
  constexpr Eigen::Index kBlock = 16;
  for (Eigen::Index first = 0; first < specimens; first += kBlock) {
    const Eigen::Index last = std::min(first + kBlock, specimens);
    for (Eigen::Index j = 0; j < landmarks; ++j) {
      for (Eigen::Index c = 0; c < 3; ++c) {
        for (Eigen::Index i = first; i < last; ++i) y(j, c, i) = x(i, 3 * j + c);
      }
    }
  }
  return y;
}

}  // namespace tarvolin
