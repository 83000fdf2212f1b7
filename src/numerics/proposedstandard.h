#pragma once
// The standard value the window proposes for an x-variable: its minimum as
// "%4.4f" writes it, read back as a number (so 1.23456 gives 1.2346).
//
// fxlist: the x-variable on the regression's scale, at least one value.
//
// Example:
//   proposedstandard([2.71828; 3.5])  -> 2.7183

#include <Eigen/Core>

namespace tarvolin {

double proposedstandard(const Eigen::Ref<const Eigen::VectorXd>& fxlist);

}  // namespace tarvolin
