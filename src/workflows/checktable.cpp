#include <algorithm>
#include <array>

#include "workflows/checkreportparts.h"

namespace tarvolin {

void checktable(CheckReport& report) {
  constexpr size_t kColumns = 7;
  // Numbers stand to the right of their column, words to the left; the
  // finding comes last and is never padded.
  constexpr std::array<bool, kColumns> kRight = {true, false, true, false, true, true, false};
  std::vector<std::array<std::string, kColumns>> cells;
  cells.push_back({"rank", "ID", "distance", "outlier", "farthest landmark", "size", "finding"});
  for (const Eigen::Index i : report.check.byRank) {
    const SpecimenCheck& s = report.check.specimens[static_cast<size_t>(i)];
    cells.push_back({std::to_string(s.rank), report.ids[static_cast<size_t>(i)],
                     checknumber(s.distance, 4), s.outlier ? "yes" : "no",
                     std::to_string(s.farthestLandmark), checknumber(s.size, 4),
                     report.specimenFinding[static_cast<size_t>(i)]});
  }
  std::array<size_t, kColumns> width{};
  for (const auto& row : cells) {
    for (size_t c = 0; c < kColumns; ++c) width[c] = std::max(width[c], row[c].size());
  }
  std::vector<std::string> lines;
  for (const auto& row : cells) {
    std::string line;
    for (size_t c = 0; c < kColumns; ++c) {
      const std::string pad(c + 1 == kColumns ? 0 : width[c] - row[c].size(), ' ');
      line += (c == 0 ? "" : "  ") + (kRight[c] ? pad + row[c] : row[c] + pad);
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    lines.push_back(std::move(line));
  }
  report.tableHeader = lines.front();
  report.tableRows.assign(lines.begin() + 1, lines.end());
}

}  // namespace tarvolin
