#include "numerics/missinglandmarkslist.h"

#include "numerics/missingcells.h"

namespace tarvolin {

std::string missinglandmarkslist(const LandmarkSet& set, size_t limit) {
  using namespace missingcells;
  std::string text;
  size_t listed = 0;
  size_t more = 0;
  for (Eigen::Index i = 0; i < set.specimens(); ++i) {
    if (listed == limit) {
      more += isComplete(set, i) ? 0 : 1;
      continue;
    }
    const std::vector<Eigen::Index> missing = missingOf(set, i);
    if (missing.empty()) continue;
    if (listed > 0) text += '\n';
    text += specimenName(set, i) + ": " + landmarkList(missing);
    ++listed;
  }
  if (more > 0) text += "\n... and " + counted(more, "more specimen");
  return text;
}

}  // namespace tarvolin
