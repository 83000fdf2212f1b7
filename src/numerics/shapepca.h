#pragma once
// The principal components of shape: the axes along which a set of
// superimposed (or standardized) configurations varies most.
//
// data: N x (v + extra) rows, one specimen a row; the first `variables`
//       columns (v = d k: X1 Y1 [Z1] ... Xk Yk [Zk]) are analysed, the rest
//       (the size column) are not read. Taken by value and used as working
//       memory: pass it with std::move where it is no longer needed, so that
//       a large data set is never held twice; the scores are left in its
//       memory.
//
// By definition:
// - the covariance of the coordinates about their column means (`mean`),
//   divisor N - 1;
// - its eigenvalues in decreasing order, each with a unit eigenvector whose
//   element of largest magnitude is positive (the first such on a tie), so
//   that results are the same from run to run and machine to machine;
// - totalVariance: the trace of the covariance (the sum of all eigenvalues);
//   proportion = eigenvalue / totalVariance;
// - scores: the centred coordinates times each eigenvector.
// Components whose eigenvalue exceeds the rounding of the first (N v times
// the machine epsilon times it: what the sums of N v products leave of a
// zero) are reported, at most N - 1, at most `dimensions` when above 0 (the
// dimensions of shape space, shapespacedimensions: superimposed data vary
// in no more, whatever rounding leaves in the others), and at most
// `components` when that is above 0.
//
// No matrix larger than min(N, v) squared is formed: the v x v covariance
// when N >= v, else the N x N cross-product of the centred rows (whose
// eigenvectors give the covariance's through the data). `route` forces one
// of the two, for tests.
//
// Throws std::invalid_argument when `variables` is not between 1 and the
// columns of data, for N < 2, or for a value that is not finite among the
// coordinates analysed (naming the specimen's row, from 1).
//
// Example:
//   ShapePca p = shapepca(session.data(), 3 * k);
//   p.eigenvalues(0) / p.totalVariance   // PC1's proportion
//   p.scores()(j, 0)                     // specimen j's score on PC1
//   p.shapeat(0, p.scores().col(0).maxCoeff())  // the shape at PC1's largest score

#include <Eigen/Core>

namespace tarvolin {

enum class PcaRoute { automatic, covariance, crossproduct };

struct ShapePca {
  Eigen::RowVectorXd mean;      // 1 x v: the column means (the mean shape)
  Eigen::VectorXd eigenvalues;  // m reported, decreasing
  Eigen::MatrixXd vectors;      // v x m, unit columns, signs as above
  double totalVariance = 0;
  Eigen::Index specimens = 0;  // N
  // The scores live in the first m columns of the data's memory (N rows).
  Eigen::MatrixXd scoreMemory;

  Eigen::Index components() const { return eigenvalues.size(); }
  Eigen::Index variables() const { return mean.size(); }
  auto scores() const { return scoreMemory.topLeftCorner(specimens, components()); }
  // eigenvalue / totalVariance, and their running sum.
  Eigen::VectorXd proportions() const;
  Eigen::VectorXd cumulative() const;
  // Specimens of one and the same shape leave only the rounding of their
  // coordinates, whose "components" are noise: true when the total
  // variance is below 1e-20 of the mean's squared length.
  bool onlyrounding() const { return !(totalVariance > 1e-20 * mean.squaredNorm()); }
  // mean + score x eigenvector of `component` (from 0): a shape in the
  // data's own layout (1 x v).
  Eigen::RowVectorXd shapeat(Eigen::Index component, double score) const;
};

ShapePca shapepca(Eigen::MatrixXd data, Eigen::Index variables, Eigen::Index components = 0,
                  PcaRoute route = PcaRoute::automatic, Eigen::Index dimensions = 0);

// The smallest eigenvalue, relative to the first, that is more than the
// rounding of a PCA of N specimens and v variables.
double pcaroundingfloor(Eigen::Index specimens, Eigen::Index variables);

}  // namespace tarvolin
