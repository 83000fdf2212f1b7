#include "dload.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/errors.h"
#include "platform/readnumber.h"
#include "platform/str2num.h"
#include "platform/textfilelines.h"
#include "textscan.h"

namespace tarvolin {
namespace {

using textscan::plural;
using textscan::quoted;

bool isBlank(std::string_view line) {
  for (char c : line) {
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\v' && c != '\f') return false;
  }
  return true;
}

// Hands out the lines of a text one by one, each with its line feed.
class LineCursor {
 public:
  explicit LineCursor(std::string_view text) : text_(text) {}
  std::optional<std::string_view> next() {
    if (pos_ >= text_.size()) return std::nullopt;
    const void* lf = std::memchr(text_.data() + pos_, '\n', text_.size() - pos_);
    const size_t end =
        lf ? static_cast<size_t>(static_cast<const char*>(lf) - text_.data()) + 1 : text_.size();
    const std::string_view line = text_.substr(pos_, end - pos_);
    pos_ = end;
    return line;
  }
  void rewind() { pos_ = 0; }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

// Reads the matrix from `lines` (a text in memory or a file read piece by
// piece), going over them twice.
template <typename Lines>
Eigen::MatrixXd parseLines(Lines& lines, const std::string& fname) {
  // First pass: how many lines belong to the matrix, so that the rows can be
  // stored straight into a matrix of the right size.
  long rows = 0;
  while (const std::optional<std::string_view> line = lines.next()) {
    if (rows > 0 && isBlank(*line)) break;
    ++rows;
  }
  if (rows == 0) throw InputError(fname, "the file holds no numbers");

  lines.rewind();
  // The second pass finds the same lines, unless the file changed meanwhile.
  auto nextLine = [&]() -> std::string_view {
    const std::optional<std::string_view> line = lines.next();
    if (!line) throw InputError(fname, "the file changed while it was being read");
    return *line;
  };
  auto check = [&fname](const NumberScan& scan, long lineNumber) {
    if (scan.stop == NumberScan::Stop::notANumber) {
      throw InputError(fname, lineNumber, quoted(scan.token) + " is not a number");
    }
    if (scan.stop == NumberScan::Stop::notFinite) {
      // "too large for a number" for 1e400, "not a finite number" for inf.
      throw InputError(fname, lineNumber,
                       quoted(scan.token) + " " + readnumber(scan.token).problemText());
    }
  };

  std::vector<double> first;
  check(scannumbers(nextLine(), first), 1);
  if (first.empty()) throw InputError(fname, 1, "the first line holds no numbers");
  const auto columns = static_cast<Eigen::Index>(first.size());

  Eigen::MatrixXd x(rows, columns);
  x.row(0) = Eigen::Map<const Eigen::RowVectorXd>(first.data(), columns);
  // Lines are read into a block of a few rows, which goes into the
  // column-major matrix a cache line per column: written one number at a
  // time, every number of a long line would land on a line of its own.
  constexpr long kBlock = 8;
  Eigen::Matrix<double, kBlock, Eigen::Dynamic, Eigen::RowMajor> block(kBlock, columns);
  for (long r0 = 1; r0 < rows; r0 += kBlock) {
    const long count = std::min(kBlock, rows - r0);
    for (long b = 0; b < count; ++b) {
      double* row = block.row(b).data();
      Eigen::Index found = 0;
      check(scannumbers(nextLine(),
                        [&](double value) {
                          if (found < columns) row[found] = value;
                          ++found;
                        }),
            r0 + b + 1);
      if (found != columns) {
        throw InputError(fname, r0 + b + 1,
                         "has " + plural(static_cast<size_t>(found), "number") +
                             " but line 1 has " + std::to_string(columns) +
                             "; every line must hold as many numbers as the first");
      }
    }
    x.middleRows(r0, count) = block.topRows(count);
  }
  return x;
}

}  // namespace

Eigen::MatrixXd parsenumericmatrix(std::string_view text, const std::string& fname) {
  LineCursor lines(text);
  return parseLines(lines, fname);
}

Eigen::MatrixXd dload(const std::string& fname, std::string* openError) {
  // The file is read through one small buffer, never whole: a large data set
  // then costs its matrix in memory and not its text as well.
  TextFileLines lines;
  std::string reason;
  if (!lines.open(fname, reason)) {
    if (openError) *openError = reason;
    return Eigen::MatrixXd::Constant(1, 1, -1.0);
  }
  return parseLines(lines, fname);
}

}  // namespace tarvolin
