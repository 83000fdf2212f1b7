#pragma once
// The exchanges of two landmarks that bring a fitted configuration closest
// to a reference with the fit held: the pairs (a, b), a < b, of least
//   delta(a, b) = |x_b - m_a|^2 + |x_a - m_b|^2 - |x_a - m_a|^2 - |x_b - m_b|^2
//               = 2 (C_aa + C_bb - C_ab - C_ba),   C = X M^T,
// the change the exchange makes to the squared distance |X - M|^2. C comes
// from matrix products (a few columns at a time, so that thousands of
// landmarks take little memory), and every pair is ranked without a fit of
// its own; the caller fits only the best few again.
//
// fitted:    X, k x D (D = 2 or 3), the configuration as superimposed.
// reference: M, k x D, the reference it was fitted to (the mean shape).
// count:     how many pairs to return (fewer where k (k - 1) / 2 is less).
// Returns the pairs (0-based landmark numbers), the least change first;
// pairs of equal change in the order (0, 1), (0, 2), ..., (1, 2), ...; a
// change that is not a number ranks last.
// Throws std::invalid_argument when the two do not have the same size.
//
// Example:
//   swapcandidates(x, mean, 4)   // {{2, 8}, {2, 7}, {7, 8}, {0, 2}}: 3 and 9 first

#include <Eigen/Core>
#include <array>
#include <vector>

namespace tarvolin {

std::vector<std::array<int, 2>> swapcandidates(const Eigen::Ref<const Eigen::MatrixXd>& fitted,
                                               const Eigen::Ref<const Eigen::MatrixXd>& reference,
                                               int count);

}  // namespace tarvolin
