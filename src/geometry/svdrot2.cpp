#include "svdrot2.h"

#include <Eigen/LU>
#include <Eigen/SVD>
#include <limits>
#include <stdexcept>

namespace tarvolin {

Eigen::Matrix3d svdrot2(const Eigen::Ref<const Eigen::MatrixXd>& reference,
                        const Eigen::Ref<const Eigen::MatrixXd>& subject) {
  if (reference.cols() != 3 || subject.cols() != 3 || reference.rows() != subject.rows()) {
    throw std::invalid_argument(
        "svdrot2: reference and subject must both be k x 3 with the same k");
  }
  const Eigen::Matrix3d a = subject.transpose() * reference;
  if (!a.allFinite()) return Eigen::Matrix3d::Constant(std::numeric_limits<double>::quiet_NaN());

  Eigen::JacobiSVD<Eigen::Matrix3d> svd(a, Eigen::ComputeFullU | Eigen::ComputeFullV);
  Eigen::Matrix3d u = svd.matrixU();
  const Eigen::Matrix3d& v = svd.matrixV();
  // Singular values come in decreasing order: the last column of U belongs
  // to the smallest one, the cheapest to turn the other way.
  if (u.determinant() * v.determinant() < 0) u.col(2) = -u.col(2);
  return u * v.transpose();
}

}  // namespace tarvolin
