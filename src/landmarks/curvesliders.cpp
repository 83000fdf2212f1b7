#include <numeric>
#include <stdexcept>
#include <string>

#include "landmarks/sliders.h"

namespace tarvolin {

Sliders curvesliders(const std::vector<int>& curves, int k) {
  long points = 0;
  for (const int m : curves) {
    if (m < 0) throw std::invalid_argument("curvesliders: a curve of " + std::to_string(m) + " points");
    points += m;
  }
  if (points > k) {
    throw std::invalid_argument("curvesliders: curves of " + std::to_string(points) +
                                " points in a configuration of " + std::to_string(k));
  }
  Sliders sliders;
  int start = k - static_cast<int>(points);
  for (const int m : curves) {
    for (int p = start + 1; p < start + m - 1; ++p) sliders.curve.push_back({p - 1, p, p + 1});
    start += m;
  }
  return sliders;
}

}  // namespace tarvolin
