#include "numerics/svdrot2.h"

#include "numerics/procrustesfit.h"

namespace tarvolin {

Eigen::Matrix3d svdrot2(const Eigen::Ref<const Eigen::MatrixXd>& reference,
                        const Eigen::Ref<const Eigen::MatrixXd>& subject) {
  return procrustesfit::bestRotation<3>(reference, subject, "svdrot2");
}

}  // namespace tarvolin
