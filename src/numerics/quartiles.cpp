#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "numerics/checkdata.h"

namespace tarvolin {

std::array<double, 3> quartiles(const Eigen::Ref<const Eigen::VectorXd>& values) {
  std::vector<double> sorted;
  sorted.reserve(static_cast<size_t>(values.size()));
  // A NaN has no place in an order: sorting with one would give no order at all.
  for (const double v : values) {
    if (!std::isnan(v)) sorted.push_back(v);
  }
  constexpr double nan = std::numeric_limits<double>::quiet_NaN();
  if (sorted.empty()) return {nan, nan, nan};
  std::sort(sorted.begin(), sorted.end());

  const auto last = static_cast<double>(sorted.size() - 1);
  std::array<double, 3> q{};
  for (int i = 0; i < 3; ++i) {
    const double position = last * (i + 1) / 4.0;  // from 0: 1 + (N - 1) p counted from 1
    const double below = std::floor(position);
    const auto lo = static_cast<size_t>(below);
    const size_t hi = std::min(lo + 1, sorted.size() - 1);
    const double low = sorted[lo];
    const double high = sorted[hi];
    // Equal neighbours give themselves, also where they are infinite.
    q[static_cast<size_t>(i)] = low == high ? low : low + (position - below) * (high - low);
  }
  return q;
}

}  // namespace tarvolin
