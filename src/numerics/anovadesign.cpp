#include "numerics/anovadesign.h"

#include <Eigen/QR>
#include <cmath>
#include <string>
#include <utility>

#include "core/errors.h"

namespace tarvolin {

using Index = Eigen::Index;

AnovaModel anovadesign(const AnovaDesign& design, Index n) {
  const bool grouped = !design.groupOf.empty();
  const int groups = grouped ? static_cast<int>(design.groupNames.size()) : 1;
  // The design: intercept, size, the group indicators, size times each.
  std::vector<TermColumns> terms{{"size", 1, 2}};
  Index columns = 2;
  if (groups > 1) {
    terms.push_back({"group", columns, columns + groups - 1});
    columns += groups - 1;
    if (design.interaction) {
      terms.push_back({"size:group", columns, columns + groups - 1});
      columns += groups - 1;
    }
  }
  if (n - columns < 1) {
    throw InputError("the model has " + std::to_string(columns) + " parameters for " +
                     std::to_string(n) + (n == 1 ? " specimen" : " specimens") +
                     "; it needs at least " + std::to_string(columns + 1) + " specimens")
        .concerning(Input::data);
  }
  Eigen::MatrixXd x = Eigen::MatrixXd::Zero(n, columns);
  x.col(0).setOnes();
  x.col(1) = design.x;
  for (Index i = 0; i < n; ++i) {
    const int g = grouped ? design.groupOf[static_cast<size_t>(i)] : 0;
    if (g == 0) continue;
    x(i, 1 + g) = 1;
    if (design.interaction) x(i, groups + g) = design.x(i);
  }

  const Eigen::HouseholderQR<Eigen::MatrixXd> qr(x);
  const Eigen::MatrixXd r = qr.matrixQR().topRows(columns).triangularView<Eigen::Upper>();
  for (Index c = 0; c < columns; ++c) {
    if (!(std::abs(r(c, c)) > 1e-10 * x.col(c).norm())) {
      throw InputError(
          "the model's terms are not independent: the groups or x do not allow size and group "
          "to be told apart (is x the same within a group?)")
          .concerning(Input::groups);
    }
  }
  return {std::move(terms), qr.householderQ() * Eigen::MatrixXd::Identity(n, columns)};
}

}  // namespace tarvolin
