#pragma once
// The numbers of one line of text.
//
// Numbers are decimal (optionally signed, with a fraction and an exponent:
// 12, -0.5, +3, 1.2e-3) and are separated by blanks, tabs, commas, or any
// run of them; carriage returns and line feeds count as blanks. They are read
// as in the C locale whatever locale the program runs in: the point is the
// only decimal separator, and a comma always separates two numbers.
//
// str2num(line) returns the line's numbers as a row, or an empty row when the
// line holds none or holds anything that is not a number.
//
// scannumbers(line, store) hands the line's numbers one by one to
// store(value) (or appends them to a vector) and reports the first thing
// that stopped it: nothing, text that is not a number, or a number that is
// not finite (inf, nan, or too large for a double).
//
// Example:
//   str2num("1, 2\t3e2 \r\n")  -> [1 2 300]
//   str2num("1 2 abc")         -> []

#include <Eigen/Core>
#include <cmath>
#include <string_view>
#include <vector>

namespace tarvolin {

struct NumberScan {
  enum class Stop { end, notANumber, notFinite };
  Stop stop = Stop::end;
  size_t offset = 0;       // where the offending text starts
  std::string_view token;  // the offending text, up to the next separator
  bool ok() const { return stop == Stop::end; }
};

// True for the characters that separate numbers: blank, tab, comma, CR, LF, VT, FF.
inline bool isNumberSeparator(char c) {
  return c == ' ' || c == '\t' || c == ',' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Reads one number at the start of `text` (an optional + or - sign, then a
// decimal number, or the words inf, infinity and nan, which callers refuse
// as not finite). Returns the count of characters read, 0 when `text` does
// not start with a number. Plain decimals, the bulk of any data file, take
// plaindecimal's fast path, to the same value and length.
size_t parseNumber(std::string_view text, double& value);

template <typename Store>
NumberScan scannumbers(std::string_view line, Store&& store) {
  const size_t n = line.size();
  size_t i = 0;
  while (true) {
    while (i < n && isNumberSeparator(line[i])) ++i;
    if (i == n) return {};
    double value = 0;
    const size_t end = i + parseNumber(line.substr(i), value);
    if (end == i || (end < n && !isNumberSeparator(line[end]))) {
      size_t tokenEnd = end;
      while (tokenEnd < n && !isNumberSeparator(line[tokenEnd])) ++tokenEnd;
      return {NumberScan::Stop::notANumber, i, line.substr(i, tokenEnd - i)};
    }
    if (!std::isfinite(value)) return {NumberScan::Stop::notFinite, i, line.substr(i, end - i)};
    store(value);
    i = end;
  }
}

inline NumberScan scannumbers(std::string_view line, std::vector<double>& out) {
  return scannumbers(line, [&out](double value) { out.push_back(value); });
}

Eigen::RowVectorXd str2num(std::string_view line);

}  // namespace tarvolin
