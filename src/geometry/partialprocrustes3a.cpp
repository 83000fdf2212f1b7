#include "partialprocrustes3a.h"

#include <cmath>
#include <stdexcept>

#include "centsize3Da.h"
#include "platform/console.h"
#include "svdrot2.h"

namespace tarvolin {

void partialprocrustes3aInPlace(const Eigen::Ref<const Eigen::MatrixXd>& reference,
                                Eigen::Ref<Eigen::MatrixXd> subject) {
  if (subject.cols() != 3 || reference.rows() != subject.rows() || reference.cols() != 3) {
    throw std::invalid_argument(
        "partialprocrustes3a: reference and subject must both be k x 3 with the same k");
  }
  const Eigen::RowVectorXd centroid = subject.colwise().mean();
  subject.rowwise() -= centroid;
  subject /= centsize3Da(subject);

  const Eigen::Matrix3d roto = svdrot2(reference, subject);
  const Eigen::Matrix3d temp = roto.transpose() * roto;
  if (std::round(temp(0, 0) * 100000.0) / 100000.0 != 1.0) {
    console().echo("stemp", "Error in rotation");
    console().echo("roto", Eigen::MatrixXd(roto));
    console().echo("temp", Eigen::MatrixXd(temp));
  }
  subject = subject * roto;
}

Eigen::MatrixXd partialprocrustes3a(const Eigen::Ref<const Eigen::MatrixXd>& reference,
                                    const Eigen::Ref<const Eigen::MatrixXd>& subject) {
  Eigen::MatrixXd y = subject;
  partialprocrustes3aInPlace(reference, y);
  return y;
}

}  // namespace tarvolin
