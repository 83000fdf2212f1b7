#include "core/alignedcolumns.h"

#include <algorithm>

namespace tarvolin {

std::vector<std::string> alignedcolumns(const std::vector<std::vector<std::string>>& rows,
                                        const std::vector<bool>& right) {
  std::vector<size_t> width;
  for (const auto& row : rows) {
    width.resize(std::max(width.size(), row.size()), 0);
    for (size_t c = 0; c < row.size(); ++c) width[c] = std::max(width[c], row[c].size());
  }
  std::vector<std::string> lines;
  lines.reserve(rows.size());
  for (const auto& row : rows) {
    std::string line;
    for (size_t c = 0; c < row.size(); ++c) {
      const std::string pad(width[c] - row[c].size(), ' ');
      const bool toRight = c < right.size() && right[c];
      line += (c == 0 ? "" : "  ") + (toRight ? pad + row[c] : row[c] + pad);
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace tarvolin
