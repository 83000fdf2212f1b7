#include "numerics/slidedirections.h"

#include <Eigen/Eigenvalues>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "numerics/slidestep.h"

namespace tarvolin {
namespace {

using Eigen::Index;

constexpr int kNeighbours = 4;

// The nearest neighbours of point `s` among all points, nearest first.
std::vector<Index> nearest(const Eigen::MatrixXd& config, Index s) {
  const Index p = config.rows();
  std::vector<std::pair<double, Index>> best;
  best.reserve(kNeighbours + 1);
  for (Index j = 0; j < p; ++j) {
    if (j == s) continue;
    const double r2 = (config.row(j) - config.row(s)).squaredNorm();
    if (best.size() == kNeighbours && !(r2 < best.back().first)) continue;
    best.emplace(std::upper_bound(best.begin(), best.end(), std::make_pair(r2, j)), r2, j);
    if (best.size() > kNeighbours) best.pop_back();
  }
  std::vector<Index> found;
  for (const auto& [r2, j] : best) found.push_back(j);
  return found;
}

}  // namespace

SlideDirections slidedirections(const Eigen::MatrixXd& config, const Sliders& sliders) {
  const Index d = config.cols();
  SlideDirections result;
  const Index count =
      static_cast<Index>(sliders.curve.size()) + 2 * static_cast<Index>(sliders.surface.size());
  result.unit.resize(count, d);
  result.point.reserve(static_cast<size_t>(count));
  Index row = 0;
  for (const CurveSlider& s : sliders.curve) {
    const Eigen::RowVectorXd along = config.row(s.after) - config.row(s.before);
    const double length = along.norm();
    if (!(length > 0) || !std::isfinite(length)) {
      throw SlideError("semilandmark " + std::to_string(s.point + 1) +
                       " has no direction to slide in: landmarks " +
                       std::to_string(s.before + 1) + " and " + std::to_string(s.after + 1) +
                       ", before and after it, lie at one place");
    }
    result.unit.row(row++) = along / length;
    result.point.push_back(s.point);
  }
  for (const int s : sliders.surface) {
    const std::vector<Index> neighbours = nearest(config, s);
    Eigen::MatrixXd set(static_cast<Index>(neighbours.size()) + 1, d);
    set.row(0) = config.row(s);
    for (size_t j = 0; j < neighbours.size(); ++j) {
      set.row(static_cast<Index>(j) + 1) = config.row(neighbours[j]);
    }
    set.rowwise() -= set.colwise().mean();
    const Eigen::MatrixXd scatter = set.transpose() * set;
    const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> axes(scatter);
    // Eigenvalues come in increasing order: the last two columns.
    for (Index a = 0; a < 2; ++a) {
      result.unit.row(row++) = axes.eigenvectors().col(d - 1 - a).transpose();
      result.point.push_back(s);
    }
  }
  return result;
}

}  // namespace tarvolin
