#include "core/nonfinite.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

#include "core/onallcores.h"

namespace tarvolin {
namespace {

// Whether any of `count` numbers from `at` is not finite. Blocks of numbers
// are looked at whole, so that the loop has no early exit to keep it from
// being fast, and the scan stops at the first block with one.
bool anyNotFinite(const double* at, std::ptrdiff_t count) {
  constexpr std::ptrdiff_t kBlock = 4096;
  for (std::ptrdiff_t first = 0; first < count; first += kBlock) {
    const std::ptrdiff_t end = std::min(first + kBlock, count);
    bool bad = false;
    for (std::ptrdiff_t i = first; i < end; ++i) {
      // False for NaN as well as for infinities.
      bad |= !(std::fabs(at[i]) <= std::numeric_limits<double>::max());
    }
    if (bad) return true;
  }
  return false;
}

// A matrix this large (8 MB) is looked through on every core.
constexpr std::ptrdiff_t kEveryCoreFrom = std::ptrdiff_t{1} << 20;

bool anyNotFinite(const Eigen::Ref<const Eigen::MatrixXd>& values) {
  if (values.size() == 0) return false;
  // Column by column where the columns do not lie one after another.
  if (values.outerStride() != values.rows()) {
    for (Eigen::Index c = 0; c < values.cols(); ++c) {
      if (anyNotFinite(values.col(c).data(), values.rows())) return true;
    }
    return false;
  }
  const double* data = values.data();
  const std::ptrdiff_t count = values.size();
  std::vector<char> found(static_cast<size_t>(laneCount()), 0);
  onallcores(count >= kEveryCoreFrom, [&](int lane, int lanes) {
    const std::ptrdiff_t first = count * lane / lanes;
    const std::ptrdiff_t end = count * (lane + 1) / lanes;
    found[static_cast<size_t>(lane)] = anyNotFinite(data + first, end - first);
  });
  return std::find(found.begin(), found.end(), 1) != found.end();
}

}  // namespace

NonFinite nonfinite(const Eigen::Ref<const Eigen::MatrixXd>& values) {
  NonFinite found;
  if (!anyNotFinite(values)) return found;
  found.nan = values.hasNaN();
  found.inf = values.array().isInf().any();
  return found;
}

}  // namespace tarvolin
