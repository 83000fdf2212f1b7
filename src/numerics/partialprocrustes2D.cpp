#include "numerics/partialprocrustes2D.h"

#include "numerics/procrustesfit.h"

namespace tarvolin {

void partialprocrustes2DInPlace(const Eigen::Ref<const Eigen::MatrixXd>& reference,
                                Eigen::Ref<Eigen::MatrixXd> subject, const TextSink& notes) {
  procrustesfit::fitOnto<2>(reference, subject, "partialprocrustes2D", notes);
}

Eigen::MatrixXd partialprocrustes2D(const Eigen::Ref<const Eigen::MatrixXd>& reference,
                                    const Eigen::Ref<const Eigen::MatrixXd>& subject,
                                    const TextSink& notes) {
  Eigen::MatrixXd y = subject;
  partialprocrustes2DInPlace(reference, y, notes);
  return y;
}

}  // namespace tarvolin
