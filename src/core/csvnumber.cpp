#include <charconv>
#include <cmath>

#include "core/csvtext.h"

namespace tarvolin {

std::string csvnumber(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Inf" : "-Inf";
  char digits[32];
  return std::string(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

}  // namespace tarvolin
