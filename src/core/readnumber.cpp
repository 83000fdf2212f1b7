#include "core/readnumber.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "core/str2num.h"

namespace tarvolin {

NumberText readnumber(std::string_view text) {
  std::vector<double> numbers;
  const NumberScan scan = scannumbers(text, numbers);
  if (scan.stop == NumberScan::Stop::notFinite) {
    // A number written with digits that is not finite overflowed; the
    // words inf and nan were meant as such.
    const bool digits = std::any_of(scan.token.begin(), scan.token.end(), [](char c) {
      return std::isdigit(static_cast<unsigned char>(c));
    });
    return {std::nullopt, digits ? NumberText::Problem::tooLarge : NumberText::Problem::notFinite};
  }
  if (!scan.ok() || numbers.size() != 1) return {std::nullopt, NumberText::Problem::notANumber};
  return {numbers.front(), NumberText::Problem::none};
}

std::string NumberText::problemText() const {
  switch (problem) {
    case Problem::notANumber:
      return "is not a number";
    case Problem::tooLarge:
      return "is too large for a number";
    case Problem::notFinite:
      return "is not a finite number";
    default:
      return "";
  }
}

}  // namespace tarvolin
