#include "numerics/standardizegroups.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <utility>

#include "core/errors.h"
#include "core/sprintf.h"

namespace tarvolin {

Standardized standardizegroups(Eigen::MatrixXd data, const Eigen::Ref<const Eigen::VectorXd>& t,
                               double tfixed, const std::vector<int>& groupOf,
                               const std::vector<std::string>& names) {
  const Eigen::Index m = data.rows();
  const Eigen::Index n = data.cols();
  if (t.size() != m) {
    throw InputError("the x-variable has " + std::to_string(t.size()) + " values for " +
                     std::to_string(m) + " specimens; it needs one value per specimen")
        .concerning(Input::x);
  }
  if (groupOf.size() != static_cast<size_t>(m)) {
    throw InputError("the groups give " + std::to_string(groupOf.size()) + " labels for " +
                     std::to_string(m) + " specimens; each specimen needs a group")
        .concerning(Input::groups);
  }
  const auto groups = static_cast<Eigen::Index>(names.size());
  for (const int g : groupOf) {
    if (g < 0 || g >= groups) {
      throw std::out_of_range("standardizegroups: group index " + std::to_string(g) +
                              " outside the " + std::to_string(groups) + " groups");
    }
  }
  // One group: the pooled slope is the common one, and so is every bit of
  // the result.
  if (groups <= 1) return standardsize(std::move(data), t, tfixed);

  Eigen::VectorXd count = Eigen::VectorXd::Zero(groups);
  for (const int g : groupOf) count(g) += 1;
  for (Eigen::Index g = 0; g < groups; ++g) {
    if (count(g) == 1) {
      throw InputError("group \"" + names[static_cast<size_t>(g)] +
                       "\" has one specimen; a within-group slope needs two or more")
          .concerning(Input::groups);
    }
  }
  if (n < 2) return {std::move(data), Eigen::MatrixXd()};

  // Asked of t, as standardsize does: with tfixed far away, t - tfixed can
  // lose the spread that t has, which calls for another message.
  const auto groupOfRow = [&](Eigen::Index j) { return groupOf[static_cast<size_t>(j)]; };
  const auto variesWithinGroups = [&](const auto& values) {
    Eigen::VectorXd first(groups);
    std::vector<bool> seen(static_cast<size_t>(groups), false);
    std::vector<bool> varies(static_cast<size_t>(groups), false);
    for (Eigen::Index j = 0; j < m; ++j) {
      const auto g = static_cast<size_t>(groupOfRow(j));
      if (!seen[g]) {
        seen[g] = true;
        first(static_cast<Eigen::Index>(g)) = values(j);
      } else if (values(j) != first(static_cast<Eigen::Index>(g))) {
        varies[g] = true;
      }
    }
    return std::make_pair(varies, first);
  };
  const std::vector<bool> tVaries = variesWithinGroups(t).first;
  if (std::find(tVaries.begin(), tVaries.end(), true) == tVaries.end()) {
    throw InputError("x does not vary within any group; no pooled slope can be fitted")
        .concerning(Input::groups);
  }
  const auto tooFarOutside = [&] { return standardvaluetoofar(tfixed, t); };

  const Eigen::VectorXd x = t.array() - tfixed;
  // Each group's mean of x; a group whose x values are all equal has that
  // value as its mean exactly, so that it adds nothing to the sums below.
  const auto [xVaries, xFirst] = variesWithinGroups(x);
  Eigen::VectorXd xGroupMean = Eigen::VectorXd::Zero(groups);
  for (Eigen::Index j = 0; j < m; ++j) xGroupMean(groupOfRow(j)) += x(j);
  for (Eigen::Index g = 0; g < groups; ++g) {
    xGroupMean(g) = xVaries[static_cast<size_t>(g)] ? xGroupMean(g) / count(g) : xFirst(g);
  }
  Eigen::VectorXd xCentred(m);
  Eigen::VectorXd xCentredSum = Eigen::VectorXd::Zero(groups);
  for (Eigen::Index j = 0; j < m; ++j) {
    xCentred(j) = x(j) - xGroupMean(groupOfRow(j));
    xCentredSum(groupOfRow(j)) += xCentred(j);
  }
  const double sxx = xCentred.squaredNorm();
  if (!(sxx > 0) || !std::isfinite(sxx) || !x.allFinite()) throw tooFarOutside();

  const auto coordinates = data.leftCols(n - 1);
  // The groups' means of every column, column by column so that both
  // matrices are read in the order they are stored.
  Eigen::MatrixXd groupMeans = Eigen::MatrixXd::Zero(groups, n - 1);
  for (Eigen::Index i = 0; i < n - 1; ++i) {
    for (Eigen::Index j = 0; j < m; ++j) groupMeans(groupOfRow(j), i) += coordinates(j, i);
  }
  for (Eigen::Index g = 0; g < groups; ++g) {
    if (count(g) > 0) groupMeans.row(g) /= count(g);
  }
  // sum_j xc_j (y_ji - ybar_gi) without a centred copy of the data: the
  // second term corrects for the rounding in each group's sum of xc.
  const Eigen::RowVectorXd slopes =
      (xCentred.transpose() * coordinates - xCentredSum.transpose() * groupMeans) / sxx;

  const Eigen::RowVectorXd columnMeans = coordinates.colwise().mean();
  Eigen::MatrixXd tvect(n - 1, 2);
  tvect.col(0) = slopes.transpose();
  tvect.col(1) = (columnMeans - slopes * x.mean()).transpose();

  // As in standardsize: a specimen moves by x_j b_i, which overflows when
  // the standard value lies far enough outside x.
  const double largestMove = x.cwiseAbs().maxCoeff() * slopes.cwiseAbs().maxCoeff();
  if (slopes.allFinite() && columnMeans.allFinite() &&
      (!(largestMove <= std::numeric_limits<double>::max() / 4) || !tvect.allFinite())) {
    throw tooFarOutside();
  }
  data.leftCols(n - 1).noalias() -= x * slopes;
  return {std::move(data), std::move(tvect)};
}

}  // namespace tarvolin
