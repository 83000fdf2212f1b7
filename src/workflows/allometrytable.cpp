#include "workflows/allometrytable.h"

#include <algorithm>
#include <vector>

namespace tarvolin {

std::string allometrytable(const ProcrustesAnova& anova) {
  const std::vector<std::vector<std::string>> rows = allometrycells(anova);
  std::vector<size_t> width(rows.front().size(), 0);
  for (const auto& row : rows) {
    for (size_t c = 0; c < row.size(); ++c) width[c] = std::max(width[c], row[c].size());
  }
  std::string text;
  for (const auto& row : rows) {
    std::string line = row[0] + std::string(width[0] - row[0].size(), ' ');
    for (size_t c = 1; c < row.size(); ++c) {
      line += std::string(width[c] - row[c].size() + 2, ' ') + row[c];
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    text += line + "\n";
  }
  return text;
}

}  // namespace tarvolin
