#include "numerics/predictedshapes.h"

#include <cmath>
#include <stdexcept>
#include <string>

namespace tarvolin {

Eigen::MatrixXd predictedshapes(const Eigen::Ref<const Eigen::MatrixXd>& coords,
                                const Eigen::Ref<const Eigen::VectorXd>& x,
                                const Eigen::Ref<const Eigen::VectorXd>& at) {
  if (x.size() != coords.rows()) {
    throw std::invalid_argument("predictedshapes: " + std::to_string(x.size()) +
                                " values of x for " + std::to_string(coords.rows()) + " specimens");
  }
  if (coords.rows() < 2) {
    throw std::invalid_argument("predictedshapes: a regression needs at least 2 specimens, not " +
                                std::to_string(coords.rows()));
  }
  if (!coords.allFinite()) {
    throw std::invalid_argument("predictedshapes: a coordinate is not a finite number");
  }
  const double xmean = x.mean();
  const Eigen::VectorXd xc = x.array() - xmean;
  const double sxx = xc.squaredNorm();
  if (!(sxx > 0) || !std::isfinite(sxx)) {
    throw std::invalid_argument(
        "predictedshapes: x does not vary, or holds a value that is not "
        "a finite number");
  }
  const Eigen::RowVectorXd mean = coords.colwise().mean();
  // Sum of (x - mean x) times the coordinate: its mean drops out, as the
  // deviations of x sum to nought.
  const Eigen::RowVectorXd slopes = xc.transpose() * coords / sxx;
  Eigen::MatrixXd shapes(at.size(), coords.cols());
  for (Eigen::Index r = 0; r < at.size(); ++r) shapes.row(r) = mean + (at(r) - xmean) * slopes;
  return shapes;
}

}  // namespace tarvolin
