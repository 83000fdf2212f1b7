#include "core/alignedcolumns.h"
#include "workflows/checkreportparts.h"

namespace tarvolin {

void checktable(CheckReport& report, const std::vector<std::string>& shownIds) {
  // Numbers stand to the right of their column, words to the left.
  std::vector<std::vector<std::string>> cells{
      {"rank", "ID", "distance", "outlier", "farthest landmark", "size", "finding"}};
  for (const Eigen::Index i : report.check.byRank) {
    const SpecimenCheck& s = report.check.specimens[static_cast<size_t>(i)];
    cells.push_back({std::to_string(s.rank), shownIds[static_cast<size_t>(i)],
                     checknumber(s.distance, 4), s.outlier ? "yes" : "no",
                     std::to_string(s.farthestLandmark), checknumber(s.size, 4),
                     report.specimenFinding[static_cast<size_t>(i)]});
  }
  std::vector<std::string> lines =
      alignedcolumns(cells, {true, false, true, false, true, true, false});
  report.tableHeader = std::move(lines.front());
  report.tableRows.assign(std::make_move_iterator(lines.begin() + 1),
                          std::make_move_iterator(lines.end()));
}

}  // namespace tarvolin
