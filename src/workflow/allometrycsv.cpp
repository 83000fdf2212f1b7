#include "allometrytable.h"

namespace tarvolin {

std::string allometrycsv(const ProcrustesAnova& anova) {
  std::vector<std::vector<std::string>> rows = allometrycells(anova);
  rows.front().front() = "term";
  std::string text;
  for (const auto& row : rows) {
    for (size_t c = 0; c < row.size(); ++c) text += (c > 0 ? "," : "") + row[c];
    text += "\n";
  }
  return text;
}

}  // namespace tarvolin
