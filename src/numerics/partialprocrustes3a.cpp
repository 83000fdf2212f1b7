#include "numerics/partialprocrustes3a.h"

#include "numerics/procrustesfit.h"

namespace tarvolin {

void partialprocrustes3aInPlace(const Eigen::Ref<const Eigen::MatrixXd>& reference,
                                Eigen::Ref<Eigen::MatrixXd> subject, const TextSink& notes) {
  procrustesfit::fitOnto<3>(reference, subject, "partialprocrustes3a", notes);
}

Eigen::MatrixXd partialprocrustes3a(const Eigen::Ref<const Eigen::MatrixXd>& reference,
                                    const Eigen::Ref<const Eigen::MatrixXd>& subject,
                                    const TextSink& notes) {
  Eigen::MatrixXd y = subject;
  partialprocrustes3aInPlace(reference, y, notes);
  return y;
}

}  // namespace tarvolin
