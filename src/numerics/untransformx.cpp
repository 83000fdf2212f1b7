#include "numerics/untransformx.h"

#include <cmath>

namespace tarvolin {

double untransformx(double value, Transform lcode) {
  switch (lcode) {
    case Transform::none:
      return value;
    case Transform::ln:
      return std::exp(value);
    default:
      return std::pow(10.0, value);
  }
}

}  // namespace tarvolin
