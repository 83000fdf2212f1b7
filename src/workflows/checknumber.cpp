#include <cmath>

#include "core/sprintf.h"
#include "workflows/checkreportparts.h"

namespace tarvolin {

std::string checknumber(double value, int digits) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Inf" : "-Inf";
  // A size of 41260 reads better so than as 4.126e+04; a number past the
  // digits of a double keeps its exponent.
  if (std::abs(value) >= std::pow(10.0, digits) && std::abs(value) < 1e15) {
    return sprintf("%.0f", value);
  }
  return sprintf("%." + std::to_string(digits) + "g", value);
}

}  // namespace tarvolin
