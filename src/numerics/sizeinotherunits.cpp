#include "numerics/sizeinotherunits.h"

#include <cmath>

namespace tarvolin {

bool sizeinotherunits(double ratio) {
  if (!(ratio > 0) || !std::isfinite(ratio)) return false;
  const double apart = ratio >= 1 ? ratio : 1 / ratio;
  if (apart >= 2) return true;
  // The factors all lie beyond 2 today; the rule stays whole should a factor
  // nearer 1 join them.
  for (const double factor : kUnitFactors) {
    if (std::abs(apart - factor) <= kUnitTolerance * factor) return true;
  }
  return false;
}

}  // namespace tarvolin
