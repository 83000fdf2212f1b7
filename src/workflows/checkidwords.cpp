#include <filesystem>

#include "core/sprintf.h"
#include "workflows/checkreportparts.h"

namespace tarvolin {
namespace {

// "3 and 17", "3, 17 and 20": the rows (from 1) of the specimens called `id`.
std::string rowsOf(const std::string& id, const std::vector<std::string>& ids) {
  std::vector<size_t> rows;
  for (size_t i = 0; i < ids.size(); ++i) {
    if (ids[i] == id) rows.push_back(i + 1);
  }
  std::string text;
  for (size_t r = 0; r < rows.size(); ++r) {
    text += (r == 0 ? "" : r + 1 == rows.size() ? " and " : ", ") + std::to_string(rows[r]);
  }
  return text;
}

std::string fileName(const std::string& path) {
  const std::string name = std::filesystem::path(path).filename().string();
  return name.empty() ? path : name;
}

}  // namespace

std::vector<std::string> checkidwords(const IdFindings& found,
                                      const std::vector<std::string>& ids) {
  std::vector<std::string> words;
  for (const std::string& id : found.duplicates) {
    size_t uses = 0;
    for (const std::string& other : ids) uses += other == id;
    words.push_back(sprintf("%s is the ID of %i specimens (rows %s)", id, uses, rowsOf(id, ids)));
  }
  for (const TableMismatch& table : found.tables) {
    const std::string file = fileName(table.file);
    for (const std::string& id : table.tableOnly) {
      words.push_back(sprintf("%s has a row in %s but no specimen", id, file));
    }
    for (const std::string& id : table.missingFromTable) {
      words.push_back(sprintf("%s has no row in %s", id, file));
    }
  }
  return words;
}

}  // namespace tarvolin
