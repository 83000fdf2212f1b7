#include <filesystem>
#include <string_view>
#include <unordered_map>

#include "core/printable.h"
#include "core/quotedtext.h"
#include "core/shownid.h"
#include "core/sprintf.h"
#include "workflows/checkreportparts.h"

namespace tarvolin {
namespace {

// "3 and 17", "3, 17 and 20": rows (from 1).
template <typename Number>
std::string rowsText(const std::vector<Number>& rows) {
  std::string text;
  for (size_t r = 0; r < rows.size(); ++r) {
    text += (r == 0 ? "" : r + 1 == rows.size() ? " and " : ", ") + std::to_string(rows[r]);
  }
  return text;
}

std::string fileName(const std::string& path) {
  const std::string name = std::filesystem::path(path).filename().string();
  return printable(name.empty() ? path : name);
}

}  // namespace

std::vector<std::string> checkidwords(const IdFindings& found,
                                      const std::vector<std::string>& ids) {
  std::vector<std::string> words;
  // The rows of each repeated ID, in one pass: a file pasted twice repeats
  // every ID.
  std::unordered_map<std::string_view, std::vector<size_t>> rows;
  for (const std::string& id : found.duplicates) rows[id];
  for (size_t i = 0; i < ids.size(); ++i) {
    if (const auto at = rows.find(ids[i]); at != rows.end()) at->second.push_back(i + 1);
  }
  for (const std::string& id : found.duplicates) {
    const std::vector<size_t>& of = rows[id];
    words.push_back(
        sprintf("%s is the ID of %i specimens (rows %s)", shownid(id), of.size(), rowsText(of)));
  }
  for (const TableMismatch& table : found.tables) {
    const std::string file = fileName(table.file);
    for (const TableRepeat& repeat : table.repeats) {
      words.push_back(sprintf("%s: %s has %i rows (lines %s)", file, shownid(repeat.id),
                              repeat.lines.size(), rowsText(repeat.lines)));
    }
    for (const TableValue& v : table.notNumbers) {
      words.push_back(sprintf("%s line %i: %s's %s is %s, not a number", file, v.line,
                              shownid(v.id), printable(v.column),
                              v.value.empty() ? std::string("empty") : quotedtext(v.value)));
    }
    for (const std::string& id : table.tableOnly) {
      words.push_back(sprintf("%s has a row in %s but no specimen", shownid(id), file));
    }
    for (const std::string& id : table.missingFromTable) {
      words.push_back(sprintf("%s has no row in %s", shownid(id), file));
    }
  }
  return words;
}

}  // namespace tarvolin
