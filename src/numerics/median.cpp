#include "numerics/median.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace tarvolin {

double median(const Eigen::Ref<const Eigen::VectorXd>& values) {
  const auto n = static_cast<size_t>(values.size());
  if (n == 0) return std::numeric_limits<double>::quiet_NaN();
  std::vector<double> sorted(values.data(), values.data() + n);
  std::sort(sorted.begin(), sorted.end());
  return n % 2 == 1 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2.0;
}

}  // namespace tarvolin
