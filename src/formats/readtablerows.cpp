#include "formats/readtablerows.h"

#include <unordered_map>

#include "core/errors.h"
#include "core/quotedtext.h"
#include "core/readtextfile.h"
#include "core/texthelpers.h"
#include "formats/delimitedtext.h"
#include "formats/hasrownames.h"
#include "formats/mixedlineends.h"

namespace tarvolin::detail {
namespace {

// The index of the value column among the header's names (the IDs' column
// aside), or an InputError listing the names.
size_t columnIndex(const std::vector<std::string>& names, const std::string& column,
                   const std::string& path, long line) {
  const std::string_view wanted = trimmed(column);
  size_t caseless = 0;
  size_t caselessCount = 0;
  for (size_t i = 1; i < names.size(); ++i) {
    if (names[i] == wanted) return i;
    if (sameIgnoringCase(names[i], wanted)) {
      caseless = i;
      ++caselessCount;
    }
  }
  if (caselessCount == 1) return caseless;
  std::string available;
  for (size_t i = 1; i < names.size(); ++i) {
    available += (available.empty() ? "\"" : ", \"") + names[i] + "\"";
  }
  throw InputError(path, line,
                   "the table has no column \"" + column + "\"" +
                       (caselessCount > 1 ? " (several match it ignoring letter case)" : "") +
                       (available.empty() ? "; it has no column after the specimen IDs"
                                          : "; its columns are " + available));
}

TableRows rowsof(const std::string& text, const std::string& path, const std::string& column,
                 const TableFieldCheck& check, bool repeats) {
  TableRows rows;
  rows.column.delimiter = tabledelimiter(text);
  DelimitedText table(text, rows.column.delimiter, path);
  if (!table.nextLine()) throw InputError(path, "the table is empty; it needs a header row");
  std::vector<std::string> names;
  // R's row names hold the IDs, under no name of their own.
  if (hasrownames(text, rows.column.delimiter, path)) names.emplace_back();
  for (DelimitedText::Field field; table.nextField(field);) {
    names.push_back(std::string(trimmed(field.value())));
  }
  // A name given twice leaves it open which column is meant.
  std::unordered_map<std::string_view, size_t> columnOf;
  for (size_t i = 0; i < names.size(); ++i) {
    if (names[i].empty()) continue;
    const auto [first, isNew] = columnOf.emplace(names[i], i);
    if (!isNew) {
      throw InputError(path, table.line(),
                       "the header names " + quotedtext(names[i]) + " twice (columns " +
                           std::to_string(first->second + 1) + " and " + std::to_string(i + 1) +
                           "); each column needs a name of its own");
    }
  }
  const size_t index = columnIndex(names, column, path, table.line());
  rows.column.name = names[index];

  std::unordered_map<std::string, long> lineOfId;
  while (table.nextLine()) {
    const long line = table.line();
    DelimitedText::Field field;
    table.nextField(field);
    std::string id = field.value();
    if (id.empty()) throw InputError(path, line, "the specimen ID (the first field) is empty");
    const auto [earlier, added] = lineOfId.emplace(id, line);
    if (!added && !repeats) {
      throw InputError(path, line,
                       "specimen " + quotedtext(id) + " is on line " +
                           std::to_string(earlier->second) + " and line " + std::to_string(line) +
                           "; each specimen needs one row");
    }
    for (size_t f = 1; f <= index; ++f) {
      if (!table.nextField(field)) {
        throw InputError(path, line,
                         "specimen " + quotedtext(id) + ": the row has " +
                             std::to_string(table.fieldsRead()) + " fields, but the column \"" +
                             rows.column.name + "\" is field " + std::to_string(index + 1));
      }
    }
    check(rows.column, field.text, line, id);
    rows.column.texts.emplace_back(field.text);
    rows.ids.push_back(std::move(id));
    rows.lines.push_back(line);
  }
  return rows;
}

}  // namespace

TableRows readtablerows(const std::string& path, const std::string& column,
                        const TableFieldCheck& check, bool repeats) {
  std::string text;
  std::string reason;
  if (!readtextfile(path, text, reason)) throw InputError(path, "cannot be read: " + reason);
  try {
    return rowsof(text, path, column, check, repeats);
  } catch (const InputError& e) {
    // Two rows read as one where the file mixes line ends: the message
    // says why.
    const std::string note = mixedlineends(text);
    if (note.empty()) throw;
    InputError noted(e.file(), e.line(), e.message() + "; " + note);
    noted.concerning(e.input());
    throw noted;
  }
}

}  // namespace tarvolin::detail
