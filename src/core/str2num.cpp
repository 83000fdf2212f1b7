// The number reader is our own, not std::from_chars: parseNumber reads "%g"
// text at 531 MB/s against 390 MB/s (bench/libraries_bench.cpp,
// BM_ReadNumber_*, medians of five interleaved runs).
#include "core/str2num.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

#include "core/clocalescope.h"
#include "core/plaindecimal.h"

namespace tarvolin {

size_t parseNumber(std::string_view text, double& value) {
  if (const size_t length = plaindecimal(text, '.', value)) return length;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  const char* start = first;
  // from_chars takes a minus sign but no plus sign.
  if (start != last && *start == '+') {
    ++start;
    if (start != last && *start == '-') return 0;
  }
  auto [ptr, ec] = std::from_chars(start, last, value, std::chars_format::general);
  if (ec == std::errc::invalid_argument) return 0;
  if (ec == std::errc::result_out_of_range) {
    // Underflow to zero is harmless; overflow is not a finite number. strtod
    // gives both, but reads the locale's decimal separator, so it reads in
    // the C locale: under a decimal comma "1.5e400" would be a finite 1.
    const CLocaleScope cNumbers;
    value = std::strtod(std::string(start, ptr).c_str(), nullptr);
  }
  return static_cast<size_t>(ptr - first);
}

Eigen::RowVectorXd str2num(std::string_view line) {
  std::vector<double> values;
  if (!scannumbers(line, values).ok()) return Eigen::RowVectorXd();
  return Eigen::Map<const Eigen::RowVectorXd>(values.data(),
                                              static_cast<Eigen::Index>(values.size()));
}

}  // namespace tarvolin
