#pragma once
// The regression score of each specimen: its shape projected onto the
// direction in which shape changes with x, so that allometry can be drawn
// as one number against x.
//
// y: N x p superimposed coordinates; x: the x-variable as regressed, N
// values. b is the p-vector of the slopes of every coordinate on x (least
// squares, one coordinate at a time); the score of specimen i is
// (y_i - mean y) . b / |b|. `line` holds the least-squares line of the
// scores on x: slope first, then intercept.
//
// Example:
//   RegressionScore s = regressionscore(DATA.leftCols(3 * k), FXLIST);
//   plot(FXLIST, s.score); plot the line s.line(0) * x + s.line(1)

#include <Eigen/Core>

namespace tarvolin {

struct RegressionScore {
  Eigen::VectorXd score;
  Eigen::Vector2d line = Eigen::Vector2d::Zero();
};

RegressionScore regressionscore(const Eigen::Ref<const Eigen::MatrixXd>& y,
                                const Eigen::Ref<const Eigen::VectorXd>& x);

}  // namespace tarvolin
