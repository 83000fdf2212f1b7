#include "numerics/reversiblecurves.h"

#include <cstddef>

namespace tarvolin {

std::vector<std::vector<int>> reversiblecurves(const Sliders& sliders,
                                               const std::vector<bool>& semilandmark) {
  const auto isSemilandmark = [&](int point) {
    return point >= 0 && static_cast<size_t>(point) < semilandmark.size() &&
           semilandmark[static_cast<size_t>(point)];
  };
  std::vector<std::vector<int>> curves;
  const std::vector<CurveSlider>& curve = sliders.curve;
  for (size_t first = 0; first < curve.size();) {
    // The run goes on while each slider slides between the one before it
    // and the next point.
    size_t last = first;
    while (last + 1 < curve.size() && curve[last + 1].before == curve[last].point &&
           curve[last].after == curve[last + 1].point) {
      ++last;
    }
    std::vector<int> points;
    if (isSemilandmark(curve[first].before)) points.push_back(curve[first].before);
    for (size_t s = first; s <= last; ++s) points.push_back(curve[s].point);
    if (isSemilandmark(curve[last].after)) points.push_back(curve[last].after);
    if (points.size() >= 2) curves.push_back(std::move(points));
    first = last + 1;
  }
  return curves;
}

}  // namespace tarvolin
