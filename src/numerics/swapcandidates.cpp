#include "numerics/swapcandidates.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <tuple>

namespace tarvolin {
namespace {

// Landmarks b taken at once: the k x k product whole would take 800 MB for
// a surface of 10,000 semilandmarks, two blocks of 64 columns take 10 MB.
constexpr Eigen::Index kBlock = 64;

struct Candidate {
  double change;
  int a;
  int b;
  // The lesser change first; on a tie the pair that comes first.
  bool operator<(const Candidate& other) const {
    return std::tie(change, a, b) < std::tie(other.change, other.a, other.b);
  }
};

}  // namespace

std::vector<std::array<int, 2>> swapcandidates(const Eigen::Ref<const Eigen::MatrixXd>& fitted,
                                               const Eigen::Ref<const Eigen::MatrixXd>& reference,
                                               int count) {
  if (fitted.rows() != reference.rows() || fitted.cols() != reference.cols()) {
    throw std::invalid_argument(
        "swapcandidates: the configuration and the reference must have the same size");
  }
  std::vector<std::array<int, 2>> pairs;
  if (count <= 0) return pairs;
  const Eigen::Index k = fitted.rows();
  // x_a . m_a for every landmark.
  const Eigen::VectorXd own = fitted.cwiseProduct(reference).rowwise().sum();

  // The best `count` so far, in order.
  std::vector<Candidate> best;
  const auto landmarks = static_cast<size_t>(k);
  best.reserve(std::min(static_cast<size_t>(count), landmarks * (landmarks - 1) / 2) + 1);
  Eigen::MatrixXd toB;    // (a, j): x_a . m_b, for b = first + j
  Eigen::MatrixXd fromB;  // (a, j): m_a . x_b
  for (Eigen::Index first = 1; first < k; first += kBlock) {
    const Eigen::Index width = std::min(kBlock, k - first);
    toB.noalias() = fitted * reference.middleRows(first, width).transpose();
    fromB.noalias() = reference * fitted.middleRows(first, width).transpose();
    for (Eigen::Index j = 0; j < width; ++j) {
      const Eigen::Index b = first + j;
      for (Eigen::Index a = 0; a < b; ++a) {
        double change = 2.0 * (own(a) + own(b) - toB(a, j) - fromB(a, j));
        // A change that is not a number ranks last.
        if (std::isnan(change)) change = std::numeric_limits<double>::infinity();
        const Candidate candidate{change, static_cast<int>(a), static_cast<int>(b)};
        if (static_cast<int>(best.size()) == count && !(candidate < best.back())) continue;
        best.insert(std::upper_bound(best.begin(), best.end(), candidate), candidate);
        if (static_cast<int>(best.size()) > count) best.pop_back();
      }
    }
  }
  pairs.reserve(best.size());
  for (const Candidate& candidate : best) pairs.push_back({candidate.a, candidate.b});
  return pairs;
}

}  // namespace tarvolin
