#include <unordered_map>
#include <unordered_set>

#include "workflows/checkreportparts.h"

namespace tarvolin {

IdFindings checkids(const std::vector<std::string>& ids, const std::vector<TableIds>& tables) {
  IdFindings found;
  std::unordered_map<std::string_view, int> uses;
  for (const std::string& id : ids) {
    if (++uses[id] == 2) found.duplicates.push_back(id);
  }
  std::unordered_map<std::string_view, size_t> files;
  for (const TableIds& table : tables) {
    // x and the groups are often two columns of one table: its rows count
    // once, the values of each column that are not numbers all.
    if (const auto seen = files.find(table.file); seen != files.end()) {
      std::vector<TableValue>& values = found.tables[seen->second].notNumbers;
      values.insert(values.end(), table.notNumbers.begin(), table.notNumbers.end());
      continue;
    }
    files.emplace(table.file, found.tables.size());
    TableMismatch mismatch;
    mismatch.file = table.file;
    mismatch.notNumbers = table.notNumbers;
    std::unordered_map<std::string_view, size_t> rows;  // the repeat of each ID, once it has one
    std::unordered_map<std::string_view, long> firstLine;
    for (size_t r = 0; r < table.ids.size(); ++r) {
      const std::string& id = table.ids[r];
      const long line = r < table.lines.size() ? table.lines[r] : 0;
      const auto [first, added] = firstLine.emplace(id, line);
      if (added) {
        if (!uses.contains(id)) mismatch.tableOnly.push_back(id);
        continue;
      }
      const auto [repeat, isNew] = rows.emplace(id, mismatch.repeats.size());
      if (isNew) mismatch.repeats.push_back({id, {first->second}});
      mismatch.repeats[repeat->second].lines.push_back(line);
    }
    std::unordered_set<std::string_view> listed;
    for (const std::string& id : ids) {
      if (!firstLine.contains(id) && listed.insert(id).second) {
        mismatch.missingFromTable.push_back(id);
      }
    }
    found.tables.push_back(std::move(mismatch));
  }
  return found;
}

}  // namespace tarvolin
