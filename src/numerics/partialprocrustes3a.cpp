#include "numerics/partialprocrustes3a.h"

#include "numerics/procrustesfit.h"

namespace tarvolin {

void partialprocrustes3aInPlace(const Eigen::Ref<const Eigen::MatrixXd>& reference,
                                Eigen::Ref<Eigen::MatrixXd> subject) {
  procrustesfit::fitOnto<3>(reference, subject, "partialprocrustes3a");
}

Eigen::MatrixXd partialprocrustes3a(const Eigen::Ref<const Eigen::MatrixXd>& reference,
                                    const Eigen::Ref<const Eigen::MatrixXd>& subject) {
  Eigen::MatrixXd y = subject;
  partialprocrustes3aInPlace(reference, y);
  return y;
}

}  // namespace tarvolin
