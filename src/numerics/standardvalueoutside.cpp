#include "numerics/standardvalueoutside.h"

#include "core/readnumber.h"
#include "core/sprintf.h"

namespace tarvolin {

std::optional<std::string> standardvalueoutside(std::string_view typed, double value,
                                                const Eigen::Ref<const Eigen::VectorXd>& fx,
                                                Transform lcode) {
  if (fx.size() == 0) return std::nullopt;
  const std::string low = sprintf("%4.4f", fx.minCoeff());
  const std::string high = sprintf("%4.4f", fx.maxCoeff());
  // Outside both the range and the range as shown: a value typed from the
  // boxes is inside.
  const bool below = value < fx.minCoeff() && value < readnumber(low).value.value_or(value);
  const bool above = value > fx.maxCoeff() && value > readnumber(high).value.value_or(value);
  if (!below && !above) return std::nullopt;
  const char* scale = lcode == Transform::ln ? "ln x" : lcode == Transform::log10 ? "log10 x" : "x";
  return "the standard value " + std::string(typed) + " lies outside " + scale + ", " + low +
         " to " + high + ": the result is an extrapolation";
}

}  // namespace tarvolin
