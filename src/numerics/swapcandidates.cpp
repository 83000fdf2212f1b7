#include "numerics/swapcandidates.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace tarvolin {

std::vector<std::array<int, 2>> swapcandidates(const Eigen::Ref<const Eigen::MatrixXd>& fitted,
                                               const Eigen::Ref<const Eigen::MatrixXd>& reference,
                                               int count) {
  if (fitted.rows() != reference.rows() || fitted.cols() != reference.cols()) {
    throw std::invalid_argument(
        "swapcandidates: the configuration and the reference must have the same size");
  }
  const auto k = static_cast<int>(fitted.rows());
  const Eigen::MatrixXd cross = fitted * reference.transpose();

  struct Candidate {
    double change;
    std::array<int, 2> pair;
  };
  // The best `count` so far, least change first; a pair replaces one only
  // when strictly better, so the earlier pair keeps its place on a tie.
  std::vector<Candidate> best;
  if (count > 0) best.reserve(static_cast<size_t>(count) + 1);
  for (int a = 0; a < k; ++a) {
    for (int b = a + 1; b < k; ++b) {
      double change = 2.0 * (cross(a, a) + cross(b, b) - cross(a, b) - cross(b, a));
      if (std::isnan(change)) change = std::numeric_limits<double>::infinity();
      const bool full = static_cast<int>(best.size()) == count;
      if (count <= 0 || (full && !(change < best.back().change))) continue;
      auto at = best.end();
      while (at != best.begin() && change < (at - 1)->change) --at;
      best.insert(at, Candidate{change, {a, b}});
      if (static_cast<int>(best.size()) > count) best.pop_back();
    }
  }
  std::vector<std::array<int, 2>> pairs;
  pairs.reserve(best.size());
  for (const Candidate& candidate : best) pairs.push_back(candidate.pair);
  return pairs;
}

}  // namespace tarvolin
