#include "formats/readrowtable.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "core/errors.h"
#include "core/lineendof.h"
#include "core/quotedtext.h"
#include "core/texthelpers.h"
#include "formats/refuseduplicateids.h"
#include "formats/rowtablelayout.h"

namespace tarvolin {
namespace {

using detail::DelimitedText;
using Field = DelimitedText::Field;

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

}  // namespace

LandmarkSet readrowtable(std::string_view text, const std::string& fname,
                         const ReadOptions& options) {
  const char delimiter = detail::tabledelimiter(text);
  const bool decimalComma = delimiter == ';';

  const RowTableLayout layout = rowtablelayout(text, delimiter, fname, options);
  const long firstLine = layout.firstLine;
  const long fields = layout.fields;
  const bool header = layout.header;
  const bool idColumn = layout.idColumn;
  const bool sizeColumn = layout.sizeColumn;
  const long columns = layout.columns;
  const std::string countSource =
      layout.rowNames
          ? "the row names and the header's " + std::to_string(fields - 1) + " names make "
      : header ? "the header has "
               : "the first row (line " + std::to_string(firstLine) + ") has ";
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
  // Rows of one landmark each are refused whatever the caller allows.
  if (!options.repeatedIds || layout.bareAxes)
    refuseduplicateids(ids, lines, layout.bareAxes, fname);

  LandmarkSet set;
  set.dims = layout.dims;
  set.path = fname;
  if (!layout.place.empty()) {
    set.coords.resize(n, columns);
    for (Eigen::Index c = 0; c < columns; ++c) {
      set.coords.col(layout.place[static_cast<size_t>(c)]) = coords.col(c).head(n);
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
