#pragma once
// The median of a list of numbers: the middle value, or the mean of the two
// middle values for an even count. NaN for an empty list.
//
// Example:
//   median([1; 2; 3; 10])  -> 2.5

#include <Eigen/Core>

namespace tarvolin {

double median(const Eigen::Ref<const Eigen::VectorXd>& values);

}  // namespace tarvolin
