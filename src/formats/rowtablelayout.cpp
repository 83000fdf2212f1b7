#include "formats/rowtablelayout.h"

#include <utility>

#include "core/errors.h"
#include "core/texthelpers.h"
#include "formats/delimitedtext.h"
#include "formats/hasrownames.h"
#include "formats/tablecolumns.h"

namespace tarvolin {
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

}  // namespace

RowTableLayout rowtablelayout(std::string_view text, char delimiter, const std::string& fname,
                              const ReadOptions& options) {
  const bool decimalComma = delimiter == ';';
  DelimitedText firstRow(text, delimiter, fname);
  if (!firstRow.nextLine()) throw InputError(fname, "the file holds no rows");
  const long firstLine = firstRow.line();
  std::vector<Field> first;
  for (Field field; firstRow.nextField(field);) first.push_back(field);
  bool header = false;
  for (size_t i = 1; i < first.size(); ++i) {
    header = header || detail::tablecoordinate(first[i].text, decimalComma, options).kind ==
                           Coordinate::notANumber;
  }
  const bool rowNames = header && detail::hasrownames(text, delimiter, fname);
  const long fields = static_cast<long>(first.size()) + (rowNames ? 1 : 0);

  const int dimsHint = options.dims == 2 || options.dims == 3 ? options.dims : 3;
  int dims = dimsHint;
  bool idColumn = true;
  bool sizeColumn = false;
  bool bareAxes = false;
  std::vector<Eigen::Index> place;  // empty: the coordinates are in the file's order
  if (header) {
    std::vector<std::string> names;
    if (rowNames) names.emplace_back();
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
  return {dims,     header,           idColumn,  sizeColumn, bareAxes,
          rowNames, std::move(place), firstLine, fields,     columns};
}

}  // namespace tarvolin
