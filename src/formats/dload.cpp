#include "formats/dload.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "core/errors.h"
#include "core/lineendof.h"
#include "core/readnumber.h"
#include "core/str2num.h"
#include "core/textfilelines.h"
#include "core/withoutbom.h"
#include "formats/textscan.h"

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

// Hands out the lines of a text one by one, each with its line end (the
// text's own: see lineendof).
class LineCursor {
 public:
  explicit LineCursor(std::string_view text) : text_(text), lineEnd_(lineendof(text)) {}
  std::optional<std::string_view> next() {
    if (pos_ >= text_.size()) return std::nullopt;
    const void* lf = std::memchr(text_.data() + pos_, lineEnd_, text_.size() - pos_);
    const size_t end =
        lf ? static_cast<size_t>(static_cast<const char*>(lf) - text_.data()) + 1 : text_.size();
    const std::string_view line = text_.substr(pos_, end - pos_);
    pos_ = end;
    return line;
  }
  size_t sizeHint() const { return text_.size(); }

 private:
  std::string_view text_;
  char lineEnd_;
  size_t pos_ = 0;
};

// A column-major matrix whose rows arrive a block at a time, in one pass
// over a text of unknown length: each column has room for `capacity` rows,
// grown where it lies when more come, and finish() closes the gaps in place.
// The matrix is never held twice: growing and the final trim reallocate one
// block of memory, which keeps its place where it can.
class GrowingRows {
 public:
  GrowingRows(Eigen::Index columns, Eigen::Index capacity)
      : columns_(columns), capacity_(std::max<Eigen::Index>(capacity, 1)) {
    store_.resize(1, capacity_ * columns_);
  }

  // Appends the first `count` rows of `block`.
  template <typename Block>
  void append(const Block& block, Eigen::Index count) {
    if (rows_ + count > capacity_) grow(std::max(2 * capacity_, rows_ + count));
    double* data = store_.data();
    for (Eigen::Index c = 0; c < columns_; ++c) {
      double* column = data + c * capacity_ + rows_;
      for (Eigen::Index b = 0; b < count; ++b) column[b] = block(b, c);
    }
    rows_ += count;
  }

  Eigen::MatrixXd finish() {
    double* data = store_.data();
    for (Eigen::Index c = 1; c < columns_; ++c) {
      std::memmove(data + c * rows_, data + c * capacity_,
                   static_cast<size_t>(rows_) * sizeof(double));
    }
    // A one-row matrix changes its number of columns in place; reshaped to
    // the same number of values, it keeps them.
    store_.conservativeResize(1, rows_ * columns_);
    store_.resize(rows_, columns_);
    return std::move(store_);
  }

 private:
  void grow(Eigen::Index capacity) {
    store_.conservativeResize(1, capacity * columns_);
    double* data = store_.data();
    for (Eigen::Index c = columns_ - 1; c > 0; --c) {
      std::memmove(data + c * capacity, data + c * capacity_,
                   static_cast<size_t>(rows_) * sizeof(double));
    }
    capacity_ = capacity;
  }

  Eigen::Index columns_;
  Eigen::Index capacity_;
  Eigen::Index rows_ = 0;
  Eigen::MatrixXd store_;
};

// Reads the matrix from `lines` (a text in memory or a file read piece by
// piece) in one pass: its lines up to the first blank one after the first.
// The lines after that blank one are only counted, for `notice`.
template <typename Lines>
Eigen::MatrixXd parseLines(Lines& lines, const std::string& fname, std::string* notice) {
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

  std::optional<std::string_view> firstLine = lines.next();
  if (!firstLine) throw InputError(fname, "the file holds no numbers");
  firstLine = withoutbom(*firstLine, fname);
  std::vector<double> first;
  check(scannumbers(*firstLine, first), 1);
  if (first.empty()) throw InputError(fname, 1, "the first line holds no numbers");
  const auto columns = static_cast<Eigen::Index>(first.size());

  // Room for as many rows as lines as long as the first fit in the text,
  // and a tenth more: a file read to its end seldom needs to grow.
  const size_t lineLength = std::max<size_t>(firstLine->size(), 1);
  const auto expected = static_cast<Eigen::Index>(lines.sizeHint() / lineLength);
  GrowingRows matrix(columns, expected + expected / 10 + 16);

  // Lines are read into a block of a few rows, which goes into the
  // column-major matrix a cache line per column: written one number at a
  // time, every number of a long line would land on a line of its own.
  constexpr long kBlock = 16;
  Eigen::Matrix<double, kBlock, Eigen::Dynamic, Eigen::RowMajor> block(kBlock, columns);
  block.row(0) = Eigen::Map<const Eigen::RowVectorXd>(first.data(), columns);
  long inBlock = 1;
  long lineNumber = 1;
  while (const std::optional<std::string_view> line = lines.next()) {
    ++lineNumber;
    if (isBlank(*line)) {
      const long blank = lineNumber;
      long unread = 0;
      while (const std::optional<std::string_view> after = lines.next()) {
        if (!isBlank(*after)) ++unread;
      }
      if (notice && unread > 0) *notice = blanklinenotice(blank, unread);
      break;
    }
    double* row = block.row(inBlock).data();
    Eigen::Index found = 0;
    check(scannumbers(*line,
                      [&](double value) {
                        if (found < columns) row[found] = value;
                        ++found;
                      }),
          lineNumber);
    if (found != columns) {
      throw InputError(fname, lineNumber,
                       "has " + plural(static_cast<size_t>(found), "number") + " but line 1 has " +
                           std::to_string(columns) +
                           "; every line must hold as many numbers as the first");
    }
    if (++inBlock == kBlock) {
      matrix.append(block, inBlock);
      inBlock = 0;
    }
  }
  matrix.append(block, inBlock);
  return matrix.finish();
}

}  // namespace

std::string blanklinenotice(long blankLine, long unread) {
  return "line " + std::to_string(blankLine) + " is blank: " +
         (unread == 1 ? std::string("the line after it was not read")
                      : "the " + std::to_string(unread) + " lines after it were not read");
}

Eigen::MatrixXd parsenumericmatrix(std::string_view text, const std::string& fname,
                                   std::string* notice) {
  LineCursor lines(text);
  return parseLines(lines, fname, notice);
}

Eigen::MatrixXd dload(const std::string& fname, std::string* openError, std::string* notice) {
  // The file is read through one small buffer, never whole: a large data set
  // then costs its matrix in memory and not its text as well.
  TextFileLines lines;
  std::string reason;
  if (!lines.open(fname, reason)) {
    if (openError) *openError = reason;
    return Eigen::MatrixXd::Constant(1, 1, -1.0);
  }
  return parseLines(lines, fname, notice);
}

}  // namespace tarvolin
