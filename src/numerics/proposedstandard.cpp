#include "numerics/proposedstandard.h"

#include <stdexcept>

#include "core/sprintf.h"
#include "core/str2num.h"

namespace tarvolin {

double proposedstandard(const Eigen::Ref<const Eigen::VectorXd>& fxlist) {
  if (fxlist.size() == 0)
    throw std::invalid_argument("proposedstandard: the x-variable holds no value");
  const Eigen::RowVectorXd value = str2num(sprintf("%4.4f", fxlist.minCoeff()));
  if (value.size() != 1) throw std::invalid_argument("proposedstandard: the minimum is not finite");
  return value(0);
}

}  // namespace tarvolin
