#include "numerics/transformx.h"

#include <cmath>

#include "core/errors.h"
#include "core/sprintf.h"

namespace tarvolin {

Eigen::VectorXd transformx(const Eigen::Ref<const Eigen::VectorXd>& xlist, Transform lcode,
                           const std::string& source) {
  if (lcode == Transform::none) return xlist;
  for (Eigen::Index i = 0; i < xlist.size(); ++i) {
    if (!(xlist(i) > 0)) {
      throw InputError(
          source, sprintf("specimen %i has the x value %g, whose %s is not defined", i + 1,
                          xlist(i), lcode == Transform::ln ? "natural logarithm" : "logarithm"))
          .concerning(Input::x);
    }
  }
  if (lcode == Transform::ln) return xlist.array().log();
  return xlist.array().log10();
}

}  // namespace tarvolin
