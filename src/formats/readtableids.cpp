#include "formats/readtableids.h"

#include "core/errors.h"
#include "formats/delimitedtext.h"
#include "formats/readtablerows.h"

namespace tarvolin {

TableIdRows readtableids(const std::string& path, const std::string& column, bool numbers) {
  detail::TableRows rows = detail::readtablerows(
      path, column, [](auto&&...) {}, /*repeats=*/true);
  if (rows.ids.empty()) {
    throw InputError(path, "the table has no rows below its header; it needs a row per specimen");
  }
  TableIdRows read;
  read.column = std::move(rows.column.name);
  read.ids = std::move(rows.ids);
  read.lines = std::move(rows.lines);
  read.values = std::move(rows.column.texts);
  if (numbers) {
    // As readcovariate takes them: a semicolon table may write a decimal comma.
    const bool decimalComma = rows.column.delimiter == ';';
    for (size_t r = 0; r < read.values.size(); ++r) {
      if (detail::tablecoordinate(read.values[r], decimalComma, {}).kind != Coordinate::number) {
        read.notNumbers.push_back(r);
      }
    }
  }
  return read;
}

}  // namespace tarvolin
