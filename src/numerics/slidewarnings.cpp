#include "numerics/slidewarnings.h"

#include <set>

#include "core/sprintf.h"
#include "numerics/slidestrays.h"

namespace tarvolin {

std::vector<std::string> slidewarnings(const GpaReport& report, const std::vector<std::string>& ids,
                                       std::size_t most) {
  std::vector<std::string> lines;
  std::set<long> beyond;
  std::size_t more = 0;
  for (const SlideStray& s : report.strays) {
    if (lines.size() >= most) {
      ++more;
      beyond.insert(s.row);
      continue;
    }
    const auto row = static_cast<std::size_t>(s.row);
    const std::string who = row < ids.size() ? ids[row] : sprintf("specimen %d", s.row + 1);
    const std::string what = sprintf("%s: semilandmark %d slid ", who, s.point + 1);
    switch (s.kind) {
      case StrayKind::offCurve:
        lines.push_back(what + sprintf("%.2g centroid sizes off its curve", s.distance));
        break;
      case StrayKind::pastBefore:
        lines.push_back(
            what + sprintf("past landmark %d, the point before it on its curve", s.neighbour + 1));
        break;
      case StrayKind::pastAfter:
        lines.push_back(
            what + sprintf("past landmark %d, the point after it on its curve", s.neighbour + 1));
        break;
      case StrayKind::overSurface:
        lines.push_back(what + sprintf("%.2g centroid sizes over its surface, farther than %g "
                                       "times the mean spacing of its points (%.2g)",
                                       s.distance, kSurfaceReach, s.spacing));
        break;
    }
  }
  if (more > 0) {
    lines.push_back(sprintf("and %d more semilandmark%s slid astray in %d specimen%s", more,
                            more == 1 ? "" : "s", beyond.size(), beyond.size() == 1 ? "" : "s"));
  }
  return lines;
}

}  // namespace tarvolin
