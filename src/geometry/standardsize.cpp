#include "standardsize.h"

#include "platform/errors.h"

namespace tarvolin {

Standardized standardsize(const Eigen::MatrixXd& data, const Eigen::Ref<const Eigen::VectorXd>& t,
                          double tfixed) {
  const Eigen::Index m = data.rows();
  const Eigen::Index n = data.cols();
  if (t.size() != m) {
    throw InputError("the x-variable has " + std::to_string(t.size()) + " values for " +
                     std::to_string(m) + " specimens; it needs one value per specimen");
  }
  Standardized result{data, Eigen::MatrixXd()};
  if (n < 2) return result;

  const Eigen::VectorXd x = t.array() - tfixed;
  const double xMean = x.mean();
  const Eigen::VectorXd xCentred = x.array() - xMean;
  const double sxx = xCentred.squaredNorm();
  if (!(sxx > 0)) {
    throw InputError("every specimen has the same x value; no regression line can be fitted");
  }

  const auto coordinates = data.leftCols(n - 1);
  const Eigen::RowVectorXd columnMeans = coordinates.colwise().mean();
  const Eigen::RowVectorXd slopes =
      (xCentred.transpose() * (coordinates.rowwise() - columnMeans)) / sxx;

  result.tvect.resize(n - 1, 2);
  result.tvect.col(0) = slopes.transpose();
  result.tvect.col(1) = (columnMeans - slopes * xMean).transpose();

  result.y.leftCols(n - 1) -= x * slopes;
  return result;
}

}  // namespace tarvolin
