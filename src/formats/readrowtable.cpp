#include "formats/readrowtable.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <numeric>
#include <vector>

#include "core/errors.h"
#include "core/lineendof.h"
#include "core/plaindecimal.h"
#include "core/quotedtext.h"
#include "core/withoutbom.h"
#include "formats/tablecolumns.h"

namespace tarvolin {
namespace detail {
namespace {

bool isLineEnd(char c) { return c == '\n' || c == '\r'; }

}  // namespace

char tabledelimiter(std::string_view text) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = start;
    while (end < text.size() && !isLineEnd(text[end])) ++end;
    const std::string_view line = text.substr(start, end - start);
    if (line.find_first_not_of(" \t") != std::string_view::npos) {
      bool inQuotes = false;
      bool semicolon = false;
      for (char c : line) {
        if (c == '"') {
          inQuotes = !inQuotes;
        } else if (!inQuotes && c == '\t') {
          return '\t';
        } else if (!inQuotes && c == ';') {
          semicolon = true;
        }
      }
      return semicolon ? ';' : ',';
    }
    start = end + 1;
  }
  return ',';
}

DelimitedText::DelimitedText(std::string_view text, char delimiter, const std::string& fname)
    : text_(withoutbom(text, fname)),
      fname_(fname),
      delimiter_(delimiter),
      lineEnd_(lineendof(text_)) {}

std::string DelimitedText::Field::value() const {
  if (!doubledQuotes) return std::string(text);
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    out += text[i];
    if (text[i] == '"') ++i;
  }
  return out;
}

void DelimitedText::moveToNextLine() {
  const size_t n = text_.size();
  while (pos_ < n && text_[pos_] != lineEnd_) ++pos_;
  if (pos_ < n) ++pos_;
}

bool DelimitedText::nextLine() {
  if (line_ > 0) moveToNextLine();
  const size_t n = text_.size();
  while (pos_ < n) {
    ++line_;
    size_t p = pos_;
    while (p < n && (text_[p] == '\t' || isBlank(text_[p]))) ++p;
    if (p < n && text_[p] != lineEnd_) {
      moreFields_ = true;
      fieldsRead_ = 0;
      return true;
    }
    pos_ = p;
    moveToNextLine();
  }
  moreFields_ = false;
  return false;
}

char DelimitedText::peek() const {
  size_t p = pos_;
  while (p < text_.size() && isBlank(text_[p])) ++p;
  return p < text_.size() && text_[p] != lineEnd_ ? text_[p] : '\0';
}

bool DelimitedText::nextField(Field& field) {
  if (!moreFields_) return false;
  ++fieldsRead_;
  const char* s = text_.data();
  const size_t n = text_.size();
  size_t p = pos_;
  while (p < n && isBlank(s[p])) ++p;
  field.doubledQuotes = false;
  if (p < n && s[p] == '"') {
    const size_t start = ++p;
    while (true) {
      while (p < n && s[p] != '"' && s[p] != lineEnd_) ++p;
      if (p == n || s[p] != '"') {
        throw InputError(fname_, line_,
                         "field " + std::to_string(fieldsRead_) +
                             " opens a quote that does not close on its line");
      }
      if (p + 1 < n && s[p + 1] == '"') {
        field.doubledQuotes = true;
        p += 2;
        continue;
      }
      break;
    }
    field.text = text_.substr(start, p - start);
    ++p;
    while (p < n && isBlank(s[p])) ++p;
    if (p < n && s[p] != delimiter_ && s[p] != lineEnd_) {
      throw InputError(fname_, line_,
                       "field " + std::to_string(fieldsRead_) +
                           " has text after its closing quote; a quote inside quotes is "
                           "written twice (\"\")");
    }
  } else {
    const size_t start = p;
    const char delimiter = delimiter_;
    const char lineEnd = lineEnd_;
    while (p < n && s[p] != delimiter && s[p] != lineEnd) ++p;
    size_t end = p;
    while (end > start && isBlank(s[end - 1])) --end;
    field.text = text_.substr(start, end - start);
  }
  moreFields_ = p < n && s[p] == delimiter_;
  pos_ = moreFields_ ? p + 1 : p;
  return true;
}

namespace {

// Reads the number at s when plaindecimal reads it, with `point` or, in a
// semicolon table (point ','), with a point as well, and it ends its field;
// leaves s at the delimiter or line end after it. False, leaving s alone,
// otherwise: tablecoordinate then reads the field.
[[gnu::always_inline]] inline bool plainNumber(const char*& at, const char* end, char delimiter,
                                               char lineEnd, char point, double& value) {
  auto isBlank = [delimiter, lineEnd](char c) {
    return c == ' ' || (c == '\t' && delimiter != '\t') ||
           ((c == '\r' || c == '\n') && c != lineEnd);
  };
  const char* s = at;
  while (s < end && isBlank(*s)) ++s;
  const std::string_view rest(s, static_cast<size_t>(end - s));
  double number = 0;
  size_t length = plaindecimal(rest, point, number);
  if (point == ',' && (length == 0 || (length < rest.size() && rest[length] == '.'))) [[unlikely]] {
    length = plaindecimal(rest, '.', number);
  }
  if (length == 0) [[unlikely]] {
    return false;
  }
  s += length;
  while (s < end && isBlank(*s)) ++s;
  if (s < end && *s != delimiter && *s != lineEnd) [[unlikely]] {
    return false;
  }
  value = number;
  at = s;
  return true;
}

}  // namespace

long DelimitedText::nextPlainNumbers(double* out, std::ptrdiff_t stride, long count,
                                     bool decimalComma) {
  if (!moreFields_) return 0;
  const char* s = text_.data() + pos_;
  const char* const end = text_.data() + text_.size();
  const char point = decimalComma ? ',' : '.';
  long read = 0;
  while (read < count) {
    const char* after = s;
    if (!plainNumber(after, end, delimiter_, lineEnd_, point, *out)) break;
    ++read;
    out += stride;
    if (after < end && *after == delimiter_) {
      s = after + 1;
    } else {
      s = after;
      moreFields_ = false;
      break;
    }
  }
  pos_ = static_cast<size_t>(s - text_.data());
  fieldsRead_ += read;
  return read;
}

std::string_view DelimitedText::restOfLine() {
  const size_t start = pos_;
  while (pos_ < text_.size() && text_[pos_] != lineEnd_) ++pos_;
  moreFields_ = false;
  // The CR of a CRLF line is no part of it.
  std::string_view rest = text_.substr(start, pos_ - start);
  while (!rest.empty() && isLineEnd(rest.back())) rest.remove_suffix(1);
  return rest;
}

Coordinate tablecoordinate(std::string_view field, bool decimalComma, const ReadOptions& options) {
  if (field.empty()) return {Coordinate::missing, 0};
  if (decimalComma) {
    const size_t comma = field.find(',');
    char buffer[64];
    if (comma != std::string_view::npos && field.size() <= sizeof buffer) {
      std::memcpy(buffer, field.data(), field.size());
      buffer[comma] = '.';
      return readcoordinate(std::string_view(buffer, field.size()), options);
    }
  }
  return readcoordinate(field, options);
}

}  // namespace detail

namespace {

using detail::DelimitedText;
using Field = DelimitedText::Field;

// True when the first field of every row that is not blank is a number or
// a missing coordinate (NA, empty): the rows then have no ID column.
bool firstColumnIsNumbers(std::string_view text, char delimiter, bool decimalComma,
                          const std::string& fname, const ReadOptions& options) {
  DelimitedText rows(text, delimiter, fname);
  Field field;
  while (rows.nextLine()) {
    rows.nextField(field);
    if (detail::tablecoordinate(field.text, decimalComma, options).kind == Coordinate::notANumber) {
      return false;
    }
    rows.restOfLine();
  }
  return true;
}

// memchr finds the line ends of a long text faster than std::count tests
// every character.
Eigen::Index occurrences(std::string_view text, char c) {
  Eigen::Index count = 0;
  const char* end = text.data() + text.size();
  for (const char* p = text.data(); p < end; ++count) {
    p = static_cast<const char*>(std::memchr(p, c, static_cast<size_t>(end - p)));
    if (p == nullptr) break;
    ++p;
  }
  return count;
}

std::string plural(long n, const char* word) {
  return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

}  // namespace

LandmarkSet readrowtable(std::string_view text, const std::string& fname,
                         const ReadOptions& options) {
  const char delimiter = detail::tabledelimiter(text);
  const bool decimalComma = delimiter == ';';

  DelimitedText firstRow(text, delimiter, fname);
  if (!firstRow.nextLine()) throw InputError(fname, "the file holds no rows");
  const long firstLine = firstRow.line();
  std::vector<Field> first;
  for (Field field; firstRow.nextField(field);) first.push_back(field);
  const long fields = static_cast<long>(first.size());
  bool header = false;
  for (size_t i = 1; i < first.size(); ++i) {
    header = header || detail::tablecoordinate(first[i].text, decimalComma, options).kind ==
                           Coordinate::notANumber;
  }

  const int dimsHint = options.dims == 2 || options.dims == 3 ? options.dims : 3;
  int dims = dimsHint;
  bool idColumn = true;
  bool sizeColumn = false;
  bool bareAxes = false;
  std::vector<Eigen::Index> place;  // empty: the coordinates are in the file's order
  if (header) {
    std::vector<std::string> names;
    for (const Field& field : first) names.push_back(field.value());
    const detail::TableColumns named = detail::tablecolumns(names, fname, firstLine);
    dims = named.dims;
    idColumn = named.idColumn;
    sizeColumn = named.sizeColumn;
    bareAxes = named.bareAxes;
    bool inOrder = true;
    for (size_t i = 0; i < named.place.size(); ++i) {
      inOrder = inOrder && named.place[i] == static_cast<Eigen::Index>(i);
    }
    if (!inOrder) place = named.place;
  } else {
    // Rows of numbers alone (spreadsheets in decimal-comma locales write
    // them with semicolons) are data rows, as ZOR rows are: a first column
    // is the IDs only when a field of it is not a number.
    idColumn = !firstColumnIsNumbers(text, delimiter, decimalComma, fname, options);
    const long values = fields - (idColumn ? 1 : 0);
    const std::string dimHint = options.dims == 0 ? "; give the dimension with --dim" : "";
    if (values % dims == 1) {
      sizeColumn = true;
    } else if (values % dims != 0) {
      throw InputError(fname, firstLine,
                       "the rows hold " + plural(values, "value") +
                           (idColumn ? " after the ID" : "") + ", which do not make landmarks of " +
                           std::to_string(dims) +
                           " coordinates (with or without a final size column)" + dimHint);
    }
  }
  const long values = fields - (idColumn ? 1 : 0);
  const long columns = values - (sizeColumn ? 1 : 0);
  if (columns == 0) {
    throw InputError(fname, firstLine, "the table has no coordinate columns after the ID");
  }

  const std::string countSource =
      header ? "the header has " : "the first row (line " + std::to_string(firstLine) + ") has ";
  // The rows go straight into the set's matrix, sized for every line after
  // the first row being a data row (no more than the text can hold at one
  // character per value): with no blank lines that is exact, and no copy is
  // needed at the end.
  const char lineEnd = lineendof(text);
  const Eigen::Index lineEnds = occurrences(text, lineEnd);
  const bool endsWithLineEnd = !text.empty() && text.back() == lineEnd;
  const Eigen::Index rowLines = lineEnds + (endsWithLineEnd ? 0 : 1) - (header ? 1 : 0);
  const Eigen::Index rowsRoom = static_cast<Eigen::Index>(text.size()) / columns + 1;
  Eigen::Index capacity = std::max<Eigen::Index>(1, std::min(rowLines, rowsRoom));
  Eigen::MatrixXd coords(capacity, columns);
  Eigen::VectorXd sizes(sizeColumn ? capacity : 0);
  Eigen::Index n = 0;
  std::vector<std::string> ids;
  std::vector<long> lines;
  DelimitedText rows(text, delimiter, fname);
  if (header) rows.nextLine();
  while (rows.nextLine()) {
    if (n == capacity) {
      capacity = 2 * capacity;
      coords.conservativeResize(capacity, Eigen::NoChange);
      if (sizeColumn) sizes.conservativeResize(capacity);
    }
    Field field;
    std::string id;
    if (idColumn) {
      rows.nextField(field);
      id = field.value();
      if (id.empty())
        throw InputError(fname, rows.line(), "the specimen ID (the first field) is empty");
    } else {
      id = std::to_string(n + 1);
    }
    auto fieldCountError = [&] {
      long count = rows.fieldsRead();
      while (rows.nextField(field)) ++count;
      return InputError(fname, rows.line(),
                        "specimen " + quotedtext(id) + " has " + plural(count, "field") + ", but " +
                            countSource + std::to_string(fields));
    };
    double* out = coords.data() + n;
    for (Eigen::Index c = 0; c < columns; ++c) {
      c += rows.nextPlainNumbers(out + c * capacity, capacity, columns - c, decimalComma);
      if (c == columns) break;
      if (!rows.nextField(field)) throw fieldCountError();
      const Coordinate value = detail::tablecoordinate(field.text, decimalComma, options);
      if (value.kind == Coordinate::number) {
        out[c * capacity] = value.value;
      } else if (value.kind == Coordinate::missing) {
        out[c * capacity] = std::numeric_limits<double>::quiet_NaN();
      } else {
        throw InputError(fname, rows.line(),
                         "specimen " + quotedtext(id) + ": " + quotedtext(field.text) + " (field " +
                             std::to_string(c + (idColumn ? 2 : 1)) + ") " + value.problemText());
      }
    }
    if (options.missingCode) {
      for (Eigen::Index c = 0; c < columns; ++c) {
        if (out[c * capacity] == *options.missingCode) {
          out[c * capacity] = std::numeric_limits<double>::quiet_NaN();
        }
      }
    }
    if (sizeColumn) {
      if (!rows.nextField(field)) throw fieldCountError();
      const Coordinate size = detail::tablecoordinate(field.text, decimalComma, options);
      if (size.kind != Coordinate::number) {
        throw InputError(fname, rows.line(),
                         "specimen " + quotedtext(id) + ": the size " + quotedtext(field.text) +
                             " is not a finite number; the size column must hold one");
      }
      sizes(n) = size.value;
    }
    if (rows.nextField(field)) throw fieldCountError();
    ids.push_back(std::move(id));
    lines.push_back(rows.line());
    ++n;
  }
  if (n == 0) throw InputError(fname, "the table holds no specimen rows");

  // Sorting the rows by ID brings any two rows of one specimen together.
  std::vector<size_t> order(ids.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&ids](size_t a, size_t b) { return ids[a] < ids[b]; });
  for (size_t i = 1; i < order.size(); ++i) {
    if (ids[order[i]] == ids[order[i - 1]]) {
      const long earlier = lines[order[i - 1]];
      const long later = lines[order[i]];
      if (bareAxes) {
        throw InputError(fname, later,
                         "specimen " + quotedtext(ids[order[i]]) + " is on line " +
                             std::to_string(earlier) + " and line " + std::to_string(later) +
                             ": the table has one row per landmark: reshape to one row per "
                             "specimen, with the columns x1, y1, z1, x2, ... (2D: x1, y1, x2, "
                             "...)");
      }
      throw InputError(fname, later,
                       "specimen " + quotedtext(ids[order[i]]) + " is on line " +
                           std::to_string(earlier) + " and line " + std::to_string(later) +
                           "; each specimen ID must be unique");
    }
  }

  LandmarkSet set;
  set.dims = dims;
  set.path = fname;
  if (!place.empty()) {
    set.coords.resize(n, columns);
    for (Eigen::Index c = 0; c < columns; ++c) {
      set.coords.col(place[static_cast<size_t>(c)]) = coords.col(c).head(n);
    }
  } else if (n == capacity) {
    set.coords = std::move(coords);
  } else {
    set.coords = coords.topRows(n);
  }
  if (sizeColumn) {
    set.size = sizes.head(n);
    set.sizeGiven = true;
  }
  set.ids = std::move(ids);
  finishlandmarkset(set);
  return set;
}

}  // namespace tarvolin
