#pragma once
// The x-variable on the scale the regression uses.
//
// xlist: the raw values, one per specimen.
// lcode: 0 keeps them, 1 takes natural logarithms, 2 base-10 logarithms.
// source: where the values came from, named in errors (a file name, or
//         empty).
// Returns the transformed values. A zero or negative value under a logarithm
// is an InputError naming the first such specimen (its 1-based number).
//
// Example:
//   transformx([1; 10; 100], 2, "")  -> [0; 1; 2]

#include <Eigen/Core>
#include <string>

namespace tarvolin {

enum class Transform : int { none = 0, ln = 1, log10 = 2 };

Eigen::VectorXd transformx(const Eigen::Ref<const Eigen::VectorXd>& xlist, Transform lcode,
                           const std::string& source);

}  // namespace tarvolin
