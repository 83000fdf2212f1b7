#include "landmarks/vertxy3D.h"

#include <algorithm>
#include <stdexcept>

#include "landmarks/rowblocks.h"

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
    rowsToPages<3>(x, first, std::min(kBlock, specimens - first), y, first);
  }
  return y;
}

}  // namespace tarvolin
