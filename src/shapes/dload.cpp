#include "dload.h"

#include <cstring>
#include <vector>

#include "platform/errors.h"
#include "platform/readtextfile.h"
#include "platform/str2num.h"

namespace tarvolin {
namespace {

bool isBlank(std::string_view line) {
  for (char c : line) {
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\v' && c != '\f') return false;
  }
  return true;
}

std::string quoted(std::string_view token) {
  constexpr size_t shown = 24;
  if (token.size() > shown) return "\"" + std::string(token.substr(0, shown)) + "...\"";
  return "\"" + std::string(token) + "\"";
}

std::string plural(size_t n, const char* word) {
  return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

}  // namespace

Eigen::MatrixXd parsenumericmatrix(std::string_view text, const std::string& fname) {
  std::vector<double> values;
  size_t columns = 0;
  long rows = 0;
  long lineNumber = 0;
  size_t start = 0;
  while (start < text.size()) {
    const char* lf =
        static_cast<const char*>(std::memchr(text.data() + start, '\n', text.size() - start));
    const size_t end = lf ? static_cast<size_t>(lf - text.data()) + 1 : text.size();
    const std::string_view line = text.substr(start, end - start);
    start = end;
    ++lineNumber;

    // A blank line after the first ends the matrix.
    if (lineNumber > 1 && isBlank(line)) break;

    const size_t before = values.size();
    NumberScan scan = scannumbers(line, values);
    if (scan.stop == NumberScan::Stop::notANumber) {
      throw InputError(fname, lineNumber, quoted(scan.token) + " is not a number");
    }
    if (scan.stop == NumberScan::Stop::notFinite) {
      throw InputError(fname, lineNumber, quoted(scan.token) + " is not a finite number");
    }
    const size_t count = values.size() - before;
    if (lineNumber == 1) {
      if (count == 0) throw InputError(fname, 1, "the first line holds no numbers");
      columns = count;
    } else if (count != columns) {
      throw InputError(fname, lineNumber,
                       "has " + plural(count, "number") + " but line 1 has " +
                           std::to_string(columns) +
                           "; every line must hold as many numbers as the first");
    }
    ++rows;
  }
  if (rows == 0) throw InputError(fname, "the file holds no numbers");

  using RowMajor = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;
  return Eigen::Map<const RowMajor>(values.data(), rows, static_cast<Eigen::Index>(columns));
}

Eigen::MatrixXd dload(const std::string& fname, std::string* openError) {
  std::string text;
  std::string reason;
  if (!readtextfile(fname, text, reason)) {
    if (openError) *openError = reason;
    return Eigen::MatrixXd::Constant(1, 1, -1.0);
  }
  return parsenumericmatrix(text, fname);
}

}  // namespace tarvolin
