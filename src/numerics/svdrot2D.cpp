#include "numerics/svdrot2D.h"

#include "numerics/procrustesfit.h"

namespace tarvolin {

Eigen::Matrix2d svdrot2D(const Eigen::Ref<const Eigen::MatrixXd>& reference,
                         const Eigen::Ref<const Eigen::MatrixXd>& subject) {
  return procrustesfit::bestRotation<2>(reference, subject, "svdrot2D");
}

}  // namespace tarvolin
