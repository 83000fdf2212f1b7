#pragma once
// The largest eigenvalues of a symmetric matrix, largest first, with unit
// eigenvectors: Q' A Q = T by Householder reflectors, the eigenvectors of
// the tridiagonal T by relatively robust representations (LAPACK's
// dsytrd and dstemr, as dsyevr takes them), then Q applied to them a block
// of reflectors at a time.
//
// symmetric: n x n, its lower triangle read; taken by reference and given
//            back empty: the reflectors are kept packed (half its size)
//            while the eigenvectors are found, so that no more than one
//            and a half matrices of its size are ever held.
// wanted:    how many, from 0 to n.
// Throws std::runtime_error when the eigenvalues are not found.
//
// Example:
//   Eigen::MatrixXd c = x.transpose() * x;
//   LargestEigen e = largesteigen(c, 2);   // e.values(0) >= e.values(1); c is empty

#include <Eigen/Core>

namespace tarvolin {

struct LargestEigen {
  Eigen::VectorXd values;   // wanted, decreasing
  Eigen::MatrixXd vectors;  // n x wanted
};

LargestEigen largesteigen(Eigen::MatrixXd& symmetric, Eigen::Index wanted);

}  // namespace tarvolin
