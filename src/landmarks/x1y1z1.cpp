#include "landmarks/x1y1z1.h"

#include <stdexcept>

namespace tarvolin {

Eigen::RowVectorXd x1y1z1(const Eigen::Ref<const Eigen::MatrixXd>& x, double cs) {
  if (x.cols() != 3) {
    throw std::invalid_argument("x1y1z1: a configuration has 3 columns, not " +
                                std::to_string(x.cols()));
  }
  const Eigen::Index k = x.rows();
  Eigen::RowVectorXd y(3 * k + 1);
  for (Eigen::Index i = 0; i < k; ++i) {
    for (Eigen::Index j = 0; j < 3; ++j) y(3 * i + j) = x(i, j);
  }
  y(3 * k) = cs;
  return y;
}

}  // namespace tarvolin
