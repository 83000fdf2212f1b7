#pragma once
// Formatted text, printf-style, with the format reused over a list of values.
//
// sprintf(format, values...) returns the text that C's printf would write for
// the format, applied to the values in turn; when the values outlast the
// format, the format starts again, until every value is used. Matrices give
// their elements in column order. Conversions: %d %i %u (a number that is not
// a whole number falls back to %e), %f %F %e %E %g %G, %s, %c and %%, with
// flags, width and precision. Escapes \n \t \r \\ \a \b \f \v written as two
// characters in the format are turned into their control characters. With no
// values at all the format's literal text is written once, conversions left
// out; with too few values for the last round, output stops at the first
// conversion that has no value. The text is the C locale's whatever locale
// the program runs in: a number always has a decimal point, never a comma.
//
// Example:
//   sprintf("%g ", std::vector<double>{1.5, 2e-5, 1e6})  -> "1.5 2e-05 1e+06 "
//   sprintf("%s \nhas %i specimens \nwith %i landmarks", "a.txt", 3, 10)
//       -> "a.txt \nhas 3 specimens \nwith 10 landmarks"

#include <Eigen/Core>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace tarvolin {

using FormatArg = std::variant<double, std::string>;

std::string vsprintf(std::string_view format, std::span<const FormatArg> args);

// Appends `value` as printf's "%g" writes it (6 significant digits).
void appendG(std::string& out, double value);

// Writes `value` as printf's "%g" writes it at `out`, which has room for
// kFormatGRoom characters, and returns the end of what it wrote.
inline constexpr int kFormatGRoom = 32;
char* formatG(char* out, double value);

namespace detail {

inline void appendFormatArg(std::vector<FormatArg>& out, std::string_view text) {
  out.emplace_back(std::string(text));
}
inline void appendFormatArg(std::vector<FormatArg>& out, const char* text) {
  out.emplace_back(std::string(text));
}
inline void appendFormatArg(std::vector<FormatArg>& out, const std::string& text) {
  out.emplace_back(text);
}
template <typename T>
requires std::is_arithmetic_v<T>
void appendFormatArg(std::vector<FormatArg>& out, T value) {
  out.emplace_back(static_cast<double>(value));
}
inline void appendFormatArg(std::vector<FormatArg>& out, const std::vector<double>& values) {
  for (double v : values) out.emplace_back(v);
}
template <typename Derived>
void appendFormatArg(std::vector<FormatArg>& out, const Eigen::DenseBase<Derived>& values) {
  for (Eigen::Index c = 0; c < values.cols(); ++c) {
    for (Eigen::Index r = 0; r < values.rows(); ++r) {
      out.emplace_back(static_cast<double>(values(r, c)));
    }
  }
}

}  // namespace detail

template <typename... Args>
std::string sprintf(std::string_view format, const Args&... args) {
  std::vector<FormatArg> list;
  list.reserve(sizeof...(args));
  (detail::appendFormatArg(list, args), ...);
  return vsprintf(format, list);
}

}  // namespace tarvolin
