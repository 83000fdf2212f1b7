#pragma once
// Whether a matrix holds numbers that are not finite: NaN (a missing value,
// or the result of an undefined operation) and infinities (an overflow).
//
// One pass over the numbers while all are finite, on every core for a large
// matrix, which is read from memory twice as fast that way; a second pass
// tells NaN from infinity only where some number is not finite.
//
// Example:
//   const NonFinite bad = nonfinite(set.coords);
//   if (bad.inf) ...   // some coordinate overflowed
//   if (bad.any()) ... // some coordinate is NaN or infinite

#include <Eigen/Core>

namespace tarvolin {

struct NonFinite {
  bool nan = false;
  bool inf = false;
  bool any() const { return nan || inf; }
};

NonFinite nonfinite(const Eigen::Ref<const Eigen::MatrixXd>& values);

}  // namespace tarvolin
