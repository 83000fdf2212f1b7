#include "core/sprintf.h"
#include "numerics/standardsize.h"

namespace tarvolin {

InputError standardvaluetoofar(double tfixed, const Eigen::Ref<const Eigen::VectorXd>& t) {
  return InputError(
             sprintf("the standard value %g lies so far outside the x values (%g to %g) that the "
                     "standardized coordinates cannot be computed",
                     tfixed, t.minCoeff(), t.maxCoeff()))
      .concerning(Input::standardValue);
}

}  // namespace tarvolin
