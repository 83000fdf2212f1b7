#include "numerics/standardsize.h"

#include <cmath>
#include <limits>

#include "core/errors.h"
#include "core/onallcores.h"
#include "core/sprintf.h"

namespace tarvolin {

Standardized standardsize(Eigen::MatrixXd data, const Eigen::Ref<const Eigen::VectorXd>& t,
                          double tfixed) {
  const Eigen::Index m = data.rows();
  const Eigen::Index n = data.cols();
  if (t.size() != m) {
    throw InputError("the x-variable has " + std::to_string(t.size()) + " values for " +
                     std::to_string(m) + " specimens; it needs one value per specimen")
        .concerning(Input::x);
  }
  if (n < 2) return {std::move(data), Eigen::MatrixXd()};
  // Asked of t, not of t - tfixed: with tfixed far away, rounding can make
  // t - tfixed the same for specimens whose t differ, which calls for
  // another message.
  if (m == 0 || (t.array() == t(0)).all()) {
    throw InputError("every specimen has the same x value; no regression line can be fitted")
        .concerning(Input::x);
  }
  const auto tooFarOutside = [&] { return standardvaluetoofar(tfixed, t); };

  const Eigen::VectorXd x = t.array() - tfixed;
  const double xMean = x.mean();
  const Eigen::VectorXd xCentred = x.array() - xMean;
  const double sxx = xCentred.squaredNorm();
  if (!(sxx > 0) || !std::isfinite(sxx) || !x.allFinite()) throw tooFarOutside();

  const auto coordinates = data.leftCols(n - 1);
  const Eigen::RowVectorXd columnMeans = coordinates.colwise().mean();
  // sum_j xc_j (y_ji - mean_i), written so that no centred copy of the data
  // is made: the second term corrects for the rounding in sum_j xc_j.
  const Eigen::RowVectorXd slopes =
      (xCentred.transpose() * coordinates - xCentred.sum() * columnMeans) / sxx;

  Eigen::MatrixXd tvect(n - 1, 2);
  tvect.col(0) = slopes.transpose();
  tvect.col(1) = (columnMeans - slopes * xMean).transpose();

  // A specimen moves by x_j b_i, which overflows when the standard value
  // lies far enough outside x. Bounded from x and the slopes alone, so that
  // large data sets need no further pass; data that are not finite to begin
  // with are not the standard value's fault.
  const double largestMove = x.cwiseAbs().maxCoeff() * slopes.cwiseAbs().maxCoeff();
  if (slopes.allFinite() && columnMeans.allFinite() &&
      (!(largestMove <= std::numeric_limits<double>::max() / 4) || !tvect.allFinite())) {
    throw tooFarOutside();
  }
  // noalias: the product is subtracted as it is formed, with no matrix-sized
  // temporary. Every number is its own, so a large data set is moved on every
  // core, a share of the columns each.
  onallcores(data.size() >= (Eigen::Index{1} << 20), [&](int lane, int lanes) {
    const Eigen::Index first = (n - 1) * lane / lanes;
    const Eigen::Index count = (n - 1) * (lane + 1) / lanes - first;
    data.middleCols(first, count).noalias() -= x * slopes.segment(first, count);
  });
  return {std::move(data), std::move(tvect)};
}

}  // namespace tarvolin
