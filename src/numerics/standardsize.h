#pragma once
// Regression standardization: for every column i but the last,
// y(j,i) = data(j,i) - b_i (t(j) - tfixed), with b_i the least-squares slope
// of column i on t.
//
// data:   m x n, one row per specimen (a landmark data set: coordinates, then
//         the size column); taken by value and standardized in its own memory,
//         so pass it with std::move where it is no longer needed.
// t:      the x-variable, m values, t(j) belonging to row j.
// tfixed: the standard value, on the scale of t.
// Returns y, m x n: every specimen moved along each column's regression line
// from its own x value to tfixed (the line's value at tfixed plus the
// specimen's residual); the last column is copied unchanged. And tvect,
// (n - 1) x 2: slope and intercept of each column's line against t - tfixed
// (so the intercept is the line's value at tfixed).
// Throws InputError when t does not hold one value per row, when all its
// values are equal (no line can be fitted), or when tfixed lies so far
// outside them that t - tfixed or the result cannot be computed (rounding
// makes t - tfixed the same for every specimen, or a value overflows); that
// message names tfixed and the range of t.
//
// Example:
//   t = (1, 2, 3), tfixed = 2, a column (10, 12, 17) and a last column:
//   that column of y is (13.5, 12, 13.5); its row of tvect is (3.5, 13).

#include <Eigen/Core>

#include "core/errors.h"

namespace tarvolin {

struct Standardized {
  Eigen::MatrixXd y;
  Eigen::MatrixXd tvect;
};

// The error of a standard value so far outside x (t) that the standardized
// coordinates cannot be computed: the regressions' shared words for it.
InputError standardvaluetoofar(double tfixed, const Eigen::Ref<const Eigen::VectorXd>& t);

Standardized standardsize(Eigen::MatrixXd data, const Eigen::Ref<const Eigen::VectorXd>& t,
                          double tfixed);

}  // namespace tarvolin
