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
  std::unordered_set<std::string_view> files;
  for (const TableIds& table : tables) {
    // x and the groups are often two columns of one table.
    if (!files.insert(table.file).second) continue;
    TableMismatch mismatch;
    mismatch.file = table.file;
    std::unordered_set<std::string_view> rows;
    for (const std::string& id : table.ids) {
      if (rows.insert(id).second && !uses.contains(id)) mismatch.tableOnly.push_back(id);
    }
    std::unordered_set<std::string_view> listed;
    for (const std::string& id : ids) {
      if (!rows.contains(id) && listed.insert(id).second) mismatch.missingFromTable.push_back(id);
    }
    found.tables.push_back(std::move(mismatch));
  }
  return found;
}

}  // namespace tarvolin
