#include "numerics/bendingenergy.h"

#include <stdexcept>
#include <string>

#include "numerics/tpssolve.h"

namespace tarvolin {

Eigen::MatrixXd bendingenergy(const Eigen::MatrixXd& reference) {
  const Eigen::Index p = reference.rows();
  const Eigen::Index d = reference.cols();
  if (d != 2 && d != 3) {
    throw std::invalid_argument("bendingenergy: points of 2 or 3 coordinates, not " +
                                std::to_string(d));
  }
  // The first p columns of the inverse: Q X = [I; 0].
  Eigen::MatrixXd x;
  try {
    x = tpssolve(reference, Eigen::MatrixXd::Identity(p + d + 1, p));
  } catch (const std::invalid_argument& e) {
    throw std::invalid_argument(std::string("the thin-plate spline of the mean shape cannot be "
                                            "formed: ") +
                                e.what());
  }
  Eigen::MatrixXd bending = x.topRows(p);
  return bending;
}

}  // namespace tarvolin
