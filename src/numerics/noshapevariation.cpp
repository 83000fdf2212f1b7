#include "numerics/noshapevariation.h"

#include <cmath>

#include "core/sprintf.h"

namespace tarvolin {

std::string sameshapetext(Eigen::Index specimens, double variance) {
  return sprintf(
      "the %i specimens have one and the same shape (total variance %.3g): there is no shape "
      "variation to analyse",
      specimens, variance);
}

std::optional<std::string> noshapevariation(const Eigen::Ref<const Eigen::MatrixXd>& y) {
  const Eigen::Index n = y.rows();
  if (n < 2 || y.cols() == 0) return std::nullopt;
  const Eigen::RowVectorXd mean = y.colwise().mean();
  const double variance = (y.rowwise() - mean).squaredNorm() / static_cast<double>(n - 1);
  if (!std::isfinite(variance) || variance > 1e-20 * mean.squaredNorm()) return std::nullopt;
  return sameshapetext(n, variance);
}

}  // namespace tarvolin
