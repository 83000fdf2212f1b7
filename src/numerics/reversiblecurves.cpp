#include "numerics/reversiblecurves.h"

#include <cstddef>

namespace tarvolin {

std::vector<std::vector<int>> reversiblecurves(const Sliders& sliders) {
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
    std::vector<int> points = {curve[first].before};
    for (size_t s = first; s <= last; ++s) points.push_back(curve[s].point);
    points.push_back(curve[last].after);
    curves.push_back(std::move(points));
    first = last + 1;
  }
  return curves;
}

}  // namespace tarvolin
