#include "formats/readtablecolumn.h"

#include <unordered_map>

#include "core/errors.h"

namespace tarvolin::detail {
namespace {

// The items shown, then how many more there are when `count` is larger.
std::string listed(const std::vector<std::string>& shown, size_t count) {
  std::string out;
  for (const std::string& item : shown) out += (out.empty() ? "" : ", ") + item;
  if (count > shown.size()) out += " and " + std::to_string(count - shown.size()) + " more";
  return out;
}

}  // namespace

TableColumn readtablecolumn(const std::string& path, const std::string& column,
                            const std::vector<std::string>& ids, const TableFieldCheck& check) {
  TableRows rows = readtablerows(path, column, check);
  TableColumn result;
  result.name = rows.column.name;
  result.delimiter = rows.column.delimiter;
  result.texts.resize(ids.size());

  std::unordered_map<std::string_view, size_t> wanted;
  for (size_t i = 0; i < ids.size(); ++i) wanted.emplace(ids[i], i);
  std::vector<bool> found(ids.size(), false);
  std::vector<std::string> extra;
  size_t extraCount = 0;
  for (size_t r = 0; r < rows.ids.size(); ++r) {
    const auto wantedAt = wanted.find(rows.ids[r]);
    if (wantedAt == wanted.end()) {
      if (extra.size() < 10) {
        extra.push_back("\"" + rows.ids[r] + "\" (line " + std::to_string(rows.lines[r]) + ")");
      }
      ++extraCount;
      continue;
    }
    result.texts[wantedAt->second] = std::move(rows.column.texts[r]);
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
