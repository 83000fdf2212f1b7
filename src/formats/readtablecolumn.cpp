#include "formats/readtablecolumn.h"

#include <algorithm>
#include <unordered_map>

#include "core/errors.h"
#include "core/quotedtext.h"
#include "core/readtextfile.h"
#include "core/texthelpers.h"
#include "formats/readrowtable.h"

namespace tarvolin::detail {
namespace {

// The items shown, then how many more there are when `count` is larger.
std::string listed(const std::vector<std::string>& shown, size_t count) {
  std::string out;
  for (const std::string& item : shown) out += (out.empty() ? "" : ", ") + item;
  if (count > shown.size()) out += " and " + std::to_string(count - shown.size()) + " more";
  return out;
}

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
  std::vector<std::string> available;
  for (size_t i = 1; i < names.size(); ++i) available.push_back("\"" + names[i] + "\"");
  throw InputError(
      path, line,
      "the table has no column \"" + column + "\"" +
          (caselessCount > 1 ? " (several match it ignoring letter case)" : "") +
          (available.empty() ? "; it has no column after the specimen IDs"
                             : "; its columns are " + listed(available, available.size())));
}

}  // namespace

TableColumn readtablecolumn(const std::string& path, const std::string& column,
                            const std::vector<std::string>& ids, const TableFieldCheck& check) {
  std::string text;
  std::string reason;
  if (!readtextfile(path, text, reason)) throw InputError(path, "cannot be read: " + reason);
  TableColumn result;
  result.delimiter = tabledelimiter(text);
  DelimitedText table(text, result.delimiter, path);
  if (!table.nextLine()) throw InputError(path, "the table is empty; it needs a header row");
  std::vector<std::string> names;
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
  result.name = names[index];

  std::unordered_map<std::string_view, size_t> wanted;
  for (size_t i = 0; i < ids.size(); ++i) wanted.emplace(ids[i], i);
  std::unordered_map<std::string, long> lineOfId;
  std::vector<bool> found(ids.size(), false);
  result.texts.resize(ids.size());
  std::vector<std::string> extra;
  size_t extraCount = 0;
  while (table.nextLine()) {
    const long line = table.line();
    DelimitedText::Field field;
    table.nextField(field);
    const std::string id = field.value();
    if (id.empty()) throw InputError(path, line, "the specimen ID (the first field) is empty");
    const auto [earlier, added] = lineOfId.emplace(id, line);
    if (!added) {
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
                             result.name + "\" is field " + std::to_string(index + 1));
      }
    }
    check(result, field.text, line, id);
    const auto wantedAt = wanted.find(id);
    if (wantedAt == wanted.end()) {
      if (extra.size() < 10) extra.push_back("\"" + id + "\" (line " + std::to_string(line) + ")");
      ++extraCount;
      continue;
    }
    result.texts[wantedAt->second] = std::string(field.text);
    found[wantedAt->second] = true;
  }

  std::vector<std::string> absent;
  size_t absentCount = 0;
  for (size_t i = 0; i < ids.size(); ++i) {
    const size_t first = wanted.at(ids[i]);
    if (!found[first]) {
      if (absent.size() < 10) absent.push_back("\"" + ids[i] + "\"");
      ++absentCount;
    } else if (first != i) {
      result.texts[i] = result.texts[first];
    }
  }
  if (absentCount > 0) {
    throw InputError(path, std::to_string(absentCount) +
                               (absentCount == 1 ? " specimen has" : " specimens have") +
                               " no row in the table: " + listed(absent, absentCount));
  }
  if (extraCount > 0) {
    throw InputError(path,
                     std::to_string(extraCount) +
                         (extraCount == 1 ? " row names a specimen" : " rows name specimens") +
                         " not in the data set: " + listed(extra, extraCount));
  }
  return result;
}

}  // namespace tarvolin::detail
