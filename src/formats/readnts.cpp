#include "formats/readnts.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <optional>
#include <vector>

#include "core/errors.h"
#include "core/lineendof.h"
#include "core/str2num.h"
#include "core/withoutbom.h"
#include "formats/readcoordinate.h"
#include "formats/textscan.h"
#include "landmarks/rowblocks.h"

namespace tarvolin {
namespace {

using textscan::quoted;
using textscan::wholeNumber;

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Hands out the whitespace-separated tokens of a text, passing over the
// comment lines (first non-blank character " or ', the latter as 3D
// digitizing programs write the header of their .dta files) and counting
// lines from 1.
// Lines end in the text's own line end (lineendof); the other of CR and LF
// is a blank, so a stray CR cannot end a comment early.
struct Tokens {
  std::string_view text;
  char lineEnd = '\n';
  size_t pos = 0;
  long line = 1;
  bool atLineStart = true;

  // Moves to the start of the next token; false at the end of the text.
  bool skip() {
    while (pos < text.size()) {
      const char c = text[pos];
      if (c == lineEnd) {
        ++pos;
        ++line;
        atLineStart = true;
      } else if (isSpace(c)) {
        ++pos;
      } else if ((c == '"' || c == '\'') && atLineStart) {
        while (pos < text.size() && text[pos] != lineEnd) ++pos;
      } else {
        atLineStart = false;
        return true;
      }
    }
    return false;
  }
  // The token at pos, which it moves past.
  std::string_view token() {
    const size_t start = pos;
    while (pos < text.size() && !isSpace(text[pos])) ++pos;
    return text.substr(start, pos - start);
  }
};

class NtsReader {
 public:
  NtsReader(std::string_view text, const std::string& fname, const ReadOptions& options)
      : fname_(fname), options_(options) {
    text = withoutbom(text, fname);
    tokens_.text = text;
    tokens_.lineEnd = lineendof(text);
  }

  LandmarkSet read() {
    readParameterLine();
    const int dims = dimension();
    const uint64_t available = tokens_.text.size();
    if (rows_ > available || columns_ > available || rows_ > available / columns_ ||
        rows_ * columns_ + (rowLabels_ ? rows_ : 0) + (columnLabels_ ? columns_ : 0) > available) {
      fail(parameterLine_, "the parameter line declares " + std::to_string(rows_) + " x " +
                               std::to_string(columns_) +
                               " numbers, more than the file's text can hold");
    }
    if (rowLabels_) readRowLabels();
    for (uint64_t i = 0; columnLabels_ && i < columns_; ++i) {
      if (!tokens_.skip()) refuseShortLabels("column", i, columns_);
      lastLine_ = tokens_.line;
      tokens_.token();
    }
    // Straight into the set's matrix, column-major as it is: no copy of a
    // row-major one after.
    LandmarkSet set;
    set.coords.resize(static_cast<Eigen::Index>(rows_), static_cast<Eigen::Index>(columns_));
    uint64_t index = 0;
    RowBlocks rows(set.coords);
    for (Eigen::Index r = 0; r < set.coords.rows(); ++r) {
      for (Eigen::Index c = 0; c < set.coords.cols(); ++c, ++index) {
        if (!tokens_.skip()) refuseShortMatrix(index);
        rows(r, c) = coordinate(index);
      }
    }
    rows.finish();
    if (tokens_.skip()) {
      fail(tokens_.line, quoted(tokens_.token()) + " stands after the " + std::to_string(rows_) +
                             " x " + std::to_string(columns_) +
                             " matrix the parameter line declares, which is complete");
    }
    set.dims = dims;
    set.ids = ids();
    set.path = fname_;
    finishlandmarkset(set);
    return set;
  }

 private:
  void readParameterLine() {
    if (!tokens_.skip()) fail(0, "the file holds no parameter line (1 N P 0 ...)");
    parameterLine_ = tokens_.line;
    std::vector<std::string_view> fields;
    do {
      fields.push_back(tokens_.token());
    } while (tokens_.skip() && tokens_.line == parameterLine_);
    lastLine_ = parameterLine_;
    if (fields.size() < 4) {
      fail(parameterLine_, "the parameter line holds " + textscan::plural(fields.size(), "value") +
                               "; it needs at least four: 1 N P M (type, rows, columns, "
                               "missing-value flag)");
    }
    if (wholeNumber(fields[0]) != uint64_t{1}) {
      fail(parameterLine_, "the matrix type is " + quoted(fields[0]) +
                               "; only rectangular matrices (type 1) hold landmark data");
    }
    rows_ = count(fields[1], "rows", rowLabels_);
    columns_ = count(fields[2], "columns", columnLabels_);
    const std::optional<uint64_t> flag = wholeNumber(fields[3]);
    if (!flag || *flag > 1) {
      fail(parameterLine_,
           "the missing-value flag is " + quoted(fields[3]) + "; it must be 0 or 1");
    }
    size_t next = 4;
    if (*flag == 1) {
      double code = 0;
      if (next == fields.size() || parseNumber(fields[next], code) != fields[next].size() ||
          !std::isfinite(code)) {
        fail(parameterLine_, "the missing-value flag is 1 but no missing-value code follows it");
      }
      code_ = code;
      ++next;
    }
    for (; next < fields.size(); ++next) {
      const std::string_view field = fields[next];
      const bool dimField = field.size() == 5 && (field[0] == 'D' || field[0] == 'd') &&
                            (field[1] == 'I' || field[1] == 'i') &&
                            (field[2] == 'M' || field[2] == 'm') && field[3] == '=' &&
                            (field[4] == '2' || field[4] == '3');
      if (!dimField) {
        fail(parameterLine_, quoted(field) + " on the parameter line is neither DIM=2 nor DIM=3");
      }
      fileDims_ = field[4] - '0';
    }
    if (rows_ == 0) fail(parameterLine_, "the parameter line declares no rows: no specimens");
    if (columns_ == 0) fail(parameterLine_, "the parameter line declares no columns: no landmarks");
  }

  // N or P, perhaps with an L for labels after it.
  uint64_t count(std::string_view field, const char* what, bool& labelled) {
    labelled = !field.empty() && (field.back() == 'L' || field.back() == 'l');
    const std::optional<uint64_t> value =
        wholeNumber(labelled ? field.substr(0, field.size() - 1) : field);
    if (!value) {
      fail(parameterLine_, "the count of " + std::string(what) + " is " + quoted(field) +
                               "; it must be a whole number, perhaps with L for labels");
    }
    return *value;
  }

  int dimension() const {
    int dims = fileDims_;
    if (dims == 0 && (options_.dims == 2 || options_.dims == 3)) dims = options_.dims;
    const std::string columns = std::to_string(columns_) + " columns";
    if (dims == 0) {
      const bool byTwo = columns_ % 2 == 0;
      const bool byThree = columns_ % 3 == 0;
      if (byTwo == byThree) {
        fail(parameterLine_, "the file does not say whether its " + columns + " hold 2D or 3D " +
                                 "landmarks (no DIM=); give the dimension with --dim 2 or --dim 3");
      }
      dims = byTwo ? 2 : 3;
    }
    if (columns_ % static_cast<uint64_t>(dims) != 0) {
      fail(parameterLine_,
           columns + " are not a whole number of " + std::to_string(dims) + "D landmarks");
    }
    return dims;
  }

  void readRowLabels() {
    labels_.reserve(rows_);
    labelLines_.reserve(rows_);
    for (uint64_t i = 0; i < rows_; ++i) {
      if (!tokens_.skip()) refuseShortLabels("row", i, rows_);
      lastLine_ = tokens_.line;
      labelLines_.push_back(tokens_.line);
      labels_.push_back(tokens_.token());
    }
  }

  // The coordinate at the tokens' position, the matrix's value `index`; NaN for a missing one.
  double coordinate(uint64_t index) {
    const std::string_view rest = tokens_.text.substr(tokens_.pos);
    double value = 0;
    const size_t length = parseNumber(rest, value);
    lastLine_ = tokens_.line;
    if (length > 0 && (length == rest.size() || isSpace(rest[length])) && std::isfinite(value)) {
      tokens_.pos += length;
      return isCode(value) ? std::numeric_limits<double>::quiet_NaN() : value;
    }
    const std::string_view token = tokens_.token();
    const Coordinate c = readcoordinate(token, options_);
    if (c.kind == Coordinate::missing) return std::numeric_limits<double>::quiet_NaN();
    if (c.kind == Coordinate::number) {
      return isCode(c.value) ? std::numeric_limits<double>::quiet_NaN() : c.value;
    }
    fail(tokens_.line,
         specimenName(index / columns_) + ": " + quoted(token) + " " + c.problemText());
  }

  bool isCode(double value) const {
    return (code_ && value == *code_) || (options_.missingCode && value == *options_.missingCode);
  }

  std::vector<std::string> ids() const {
    std::vector<std::string> ids;
    ids.reserve(rows_);
    for (uint64_t i = 0; i < rows_; ++i) {
      ids.push_back(rowLabels_ ? std::string(labels_[i]) : std::to_string(i + 1));
    }
    std::vector<size_t> order(ids.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&ids](size_t a, size_t b) { return ids[a] < ids[b]; });
    for (size_t i = 1; i < order.size() && !options_.repeatedIds; ++i) {
      if (ids[order[i - 1]] != ids[order[i]]) continue;
      fail(labelLines_[order[i]], "rows " + std::to_string(order[i - 1] + 1) + " and " +
                                      std::to_string(order[i] + 1) + " have the same label " +
                                      quoted(ids[order[i]]) +
                                      "; each specimen needs an ID of its own");
    }
    return ids;
  }

  // "specimen "a" (row 1)", or "specimen 1" when the rows have no labels.
  std::string specimenName(uint64_t row) const {
    const std::string number = std::to_string(row + 1);
    return rowLabels_ ? "specimen " + quoted(labels_[row]) + " (row " + number + ")"
                      : "specimen " + number;
  }

  [[noreturn]] void refuseShortLabels(const char* what, uint64_t found, uint64_t expected) const {
    fail(lastLine_, "the file ends after " + std::to_string(found) + " of the " +
                        std::to_string(expected) + " " + what + " labels");
  }

  [[noreturn]] void refuseShortMatrix(uint64_t found) const {
    const uint64_t row = found / columns_;
    fail(lastLine_, "the matrix ends after " + std::to_string(found) + " numbers; " +
                        std::to_string(rows_) + " x " + std::to_string(columns_) + " = " +
                        std::to_string(rows_ * columns_) + " were expected, and " +
                        specimenName(row) + " has " + std::to_string(found % columns_) +
                        " of its " + std::to_string(columns_));
  }

  [[noreturn]] void fail(long line, const std::string& message) const {
    throw InputError(fname_, line, message);
  }

  const std::string& fname_;
  const ReadOptions& options_;
  Tokens tokens_;
  long parameterLine_ = 0;
  long lastLine_ = 0;
  uint64_t rows_ = 0;
  uint64_t columns_ = 0;
  bool rowLabels_ = false;
  bool columnLabels_ = false;
  int fileDims_ = 0;
  std::optional<double> code_;
  std::vector<std::string_view> labels_;
  std::vector<long> labelLines_;
};

}  // namespace

LandmarkSet readnts(std::string_view text, const std::string& fname, const ReadOptions& options) {
  return NtsReader(text, fname, options).read();
}

}  // namespace tarvolin
