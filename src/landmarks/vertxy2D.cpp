#include "landmarks/vertxy2D.h"

#include <stdexcept>
#include <string>

namespace tarvolin {

ConfigStack2D vertxy2D(const Eigen::MatrixXd& x) {
  const Eigen::Index specimens = x.rows();
  const Eigen::Index landmarks = x.cols() / 2;
  if (specimens == 0 || landmarks == 0) {
    throw std::invalid_argument("vertxy2D: a data set of " + std::to_string(x.rows()) +
                                " rows and " + std::to_string(x.cols()) +
                                " columns holds no landmark");
  }
  ConfigStack2D y(landmarks, specimens);
  for (Eigen::Index i = 0; i < specimens; ++i) {
    for (Eigen::Index j = 0; j < landmarks; ++j) {
      y(j, 0, i) = x(i, 2 * j);
      y(j, 1, i) = x(i, 2 * j + 1);
    }
  }
  return y;
}

}  // namespace tarvolin
