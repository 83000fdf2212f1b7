#include "numerics/centsize3Da.h"

#include <cmath>

namespace tarvolin {

double centsize3Da(const Eigen::Ref<const Eigen::MatrixXd>& x) {
  const Eigen::RowVectorXd centroid = x.colwise().mean();
  return std::sqrt((x.rowwise() - centroid).colwise().squaredNorm().sum());
}

}  // namespace tarvolin
