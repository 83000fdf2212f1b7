#include "numerics/regressionscore.h"

#include "core/errors.h"

namespace tarvolin {

RegressionScore regressionscore(const Eigen::Ref<const Eigen::MatrixXd>& y,
                                const Eigen::Ref<const Eigen::VectorXd>& x) {
  if (x.size() != y.rows() || y.rows() < 2) {
    throw InputError("the x-variable has " + std::to_string(x.size()) + " values for " +
                     std::to_string(y.rows()) + " specimens; it needs one value per specimen")
        .concerning(Input::x);
  }
  const Eigen::VectorXd xc = x.array() - x.mean();
  const double sxx = xc.squaredNorm();
  if (!(sxx > 0)) {
    throw InputError("every specimen has the same x value; shape cannot be regressed on it")
        .concerning(Input::x);
  }
  const Eigen::MatrixXd centred = y.rowwise() - y.colwise().mean();
  const Eigen::VectorXd slopes = centred.transpose() * xc / sxx;
  const double length = slopes.norm();
  RegressionScore result;
  result.score =
      length > 0 ? Eigen::VectorXd(centred * slopes / length) : Eigen::VectorXd::Zero(y.rows());
  const double slope = xc.dot(result.score) / sxx;
  result.line << slope, result.score.mean() - slope * x.mean();
  return result;
}

}  // namespace tarvolin
