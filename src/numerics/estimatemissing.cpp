#include "numerics/estimatemissing.h"

#include <Eigen/LU>
#include <Eigen/QR>
#include <Eigen/SVD>
#include <cmath>
#include <map>
#include <stdexcept>
#include <utility>
#include <vector>

#include "core/errors.h"
#include "numerics/centsize3Da.h"
#include "numerics/getpproc2D.h"
#include "numerics/getpproc3.h"
#include "numerics/missingcells.h"

namespace tarvolin {
namespace {

using Index = Eigen::Index;
using missingcells::counted;
using missingcells::specimenName;

// Specimens missing the same landmarks share one spline system, so it is
// set up and factored once for all of them.
struct Pattern {
  std::vector<Index> present;
  std::vector<Index> missing;
  std::vector<Index> specimens;
  Eigen::MatrixXd estimates;  // missing x (d * specimens), specimen s in columns d s ...
};

// The spline's kernel of a squared distance: r in 3D, r^2 log r^2 in 2D.
double kernel(double squaredDistance, int dims) {
  if (dims == 3) return std::sqrt(squaredDistance);
  return squaredDistance > 0 ? squaredDistance * std::log(squaredDistance) : 0.0;
}

template <int D>
Eigen::MatrixXd meanShape(const LandmarkSet& set, const std::vector<Index>& complete,
                          const TextSink& notes) {
  const Index k = set.landmarks();
  BasicConfigStack<D> stack(k, static_cast<Index>(complete.size()));
  for (size_t s = 0; s < complete.size(); ++s) {
    const auto page = static_cast<Index>(s);
    for (Index j = 0; j < k; ++j) {
      for (int c = 0; c < D; ++c) stack(j, c, page) = set.coords(complete[s], j * D + c);
    }
    const double size = centsize3Da(stack.page(page));
    if (!(size > 0) || !std::isfinite(size)) {
      throw InputError(set.path, specimenName(set, complete[s]) +
                                     " has all its landmarks at one point (or coordinates too "
                                     "large for its size), so it gives no shape to the mean of "
                                     "the complete specimens");
    }
  }
  if constexpr (D == 3) {
    return getpproc3(std::move(stack), notes).reference3;
  } else {
    return getpproc2D(std::move(stack), notes).reference;
  }
}

double squaredDistance(const Eigen::MatrixXd& mean, Index a, Index b) {
  return (mean.row(a) - mean.row(b)).squaredNorm();
}

// The pairs of landmarks (a < b, in order) at one point of the mean shape,
// found once for every pattern to look up.
std::vector<std::pair<Index, Index>> coincidingPairs(const Eigen::MatrixXd& mean) {
  std::vector<std::pair<Index, Index>> pairs;
  for (Index a = 0; a < mean.rows(); ++a) {
    for (Index b = a + 1; b < mean.rows(); ++b) {
      if (squaredDistance(mean, a, b) <= 1e-20) pairs.emplace_back(a, b);
    }
  }
  return pairs;
}

// Refuses, naming the pattern's first specimen, present landmarks that do
// not pin a spline down: fewer than d + 1 of them, all on one line (plane),
// or two at one point of the mean shape (`coinciding`).
void checkPresent(const LandmarkSet& set, const Eigen::MatrixXd& mean, const Pattern& pattern,
                  const std::vector<std::pair<Index, Index>>& coinciding,
                  const std::vector<bool>& missingHere) {
  const int d = set.dims;
  const auto p = static_cast<Index>(pattern.present.size());
  const std::string who = specimenName(set, pattern.specimens.front());
  if (p < d + 1) {
    throw InputError(set.path, who + " has only " + counted(pattern.present.size(), "landmark") +
                                   " present; estimating its missing landmarks needs at least " +
                                   std::to_string(d + 1));
  }
  Eigen::MatrixXd anchors(p, d);
  for (Index i = 0; i < p; ++i) anchors.row(i) = mean.row(pattern.present[static_cast<size_t>(i)]);
  anchors.rowwise() -= anchors.colwise().mean();
  const Eigen::VectorXd spread = Eigen::JacobiSVD<Eigen::MatrixXd>(anchors).singularValues();
  // The mean shape has centroid size 1, so its own scale sets the tolerance.
  if (!(spread(d - 1) > 1e-9 * spread(0))) {
    throw InputError(set.path, who + ": its present landmarks lie " +
                                   (d == 2 ? "on one line" : "in one plane") +
                                   " in the mean shape, so they cannot place its missing ones");
  }
  for (const auto& [a, b] : coinciding) {
    if (!missingHere[static_cast<size_t>(a)] && !missingHere[static_cast<size_t>(b)]) {
      throw InputError(set.path, who + ": its present landmarks " + std::to_string(a + 1) +
                                     " and " + std::to_string(b + 1) +
                                     " are at one point in the mean shape, so no spline can be "
                                     "fitted through them");
    }
  }
}

// The spline's basis at `points` of the mean shape: the kernel to each
// present landmark, then 1 and the coordinates (the affine part).
Eigen::MatrixXd basisAt(const Eigen::MatrixXd& mean, const std::vector<Index>& points,
                        const std::vector<Index>& present, int d) {
  const auto p = static_cast<Index>(present.size());
  Eigen::MatrixXd basis(static_cast<Index>(points.size()), p + d + 1);
  for (Index r = 0; r < basis.rows(); ++r) {
    const Index at = points[static_cast<size_t>(r)];
    for (Index i = 0; i < p; ++i) {
      basis(r, i) = kernel(squaredDistance(mean, at, present[static_cast<size_t>(i)]), d);
    }
    basis(r, p) = 1.0;
    basis.block(r, p + 1, 1, d) = mean.row(at);
  }
  return basis;
}

// The bordered system of the spline through `points` of the mean shape.
Eigen::MatrixXd splineSystem(const Eigen::MatrixXd& mean, const std::vector<Index>& points, int d) {
  const auto p = static_cast<Index>(points.size());
  Eigen::MatrixXd system = Eigen::MatrixXd::Zero(p + d + 1, p + d + 1);
  system.topRows(p) = basisAt(mean, points, points, d);
  system.bottomLeftCorner(d + 1, p) = system.topRightCorner(p, d + 1).transpose();
  return system;
}

// The present coordinates of the pattern's specimens: p x (d * specimens).
Eigen::MatrixXd presentCoordinates(const LandmarkSet& set, const Pattern& pattern) {
  const int d = set.dims;
  const auto p = static_cast<Index>(pattern.present.size());
  const auto g = static_cast<Index>(pattern.specimens.size());
  Eigen::MatrixXd targets(p, d * g);
  for (Index s = 0; s < g; ++s) {
    const Index specimen = pattern.specimens[static_cast<size_t>(s)];
    for (Index i = 0; i < p; ++i) {
      const Index j = pattern.present[static_cast<size_t>(i)];
      for (int c = 0; c < d; ++c) targets(i, d * s + c) = set.coords(specimen, j * d + c);
    }
  }
  return targets;
}

// The spline of the mean shape through all its landmarks, factored once.
// A pattern's spline through its present landmarks P is the full one with
// the weights of its missing landmarks J held at zero; with G the inverse of
// the full system (symmetric, as the system is) its values at J are
//   -G(J,J)^-1 G(J,P) S_P,
// so each pattern needs only the columns of G at J, not a system of its own.
class MeanSpline {
 public:
  MeanSpline(const Eigen::MatrixXd& mean, int d) {
    std::vector<Index> all(static_cast<size_t>(mean.rows()));
    for (Index j = 0; j < mean.rows(); ++j) all[static_cast<size_t>(j)] = j;
    lu_.compute(splineSystem(mean, all, d));
    // Two landmarks at one point of the mean shape leave the full system
    // singular even where no pattern has both present: each pattern then
    // gets its own system.
    usable_ = lu_.rcond() > 1e-12;
  }

  bool usable() const { return usable_; }

  // The values at the pattern's missing landmarks: missing x (d * specimens).
  Eigen::MatrixXd valuesAtMissing(const Pattern& pattern, const Eigen::MatrixXd& targets) const {
    const auto q = static_cast<Index>(pattern.missing.size());
    const Index n = lu_.rows();
    Eigen::MatrixXd unit = Eigen::MatrixXd::Zero(n, q);
    for (Index r = 0; r < q; ++r) unit(pattern.missing[static_cast<size_t>(r)], r) = 1.0;
    const Eigen::MatrixXd columns = lu_.solve(unit);  // G(:, J)
    Eigen::MatrixXd atMissing(q, q);
    Eigen::MatrixXd atPresent(static_cast<Index>(pattern.present.size()), q);
    for (Index r = 0; r < q; ++r) {
      atMissing.row(r) = columns.row(pattern.missing[static_cast<size_t>(r)]);
    }
    for (Index i = 0; i < atPresent.rows(); ++i) {
      atPresent.row(i) = columns.row(pattern.present[static_cast<size_t>(i)]);
    }
    return -Eigen::FullPivLU<Eigen::MatrixXd>(atMissing).solve(atPresent.transpose() * targets);
  }

 private:
  Eigen::PartialPivLU<Eigen::MatrixXd> lu_;
  bool usable_ = false;
};

void estimate(const LandmarkSet& set, const Eigen::MatrixXd& mean, const MeanSpline& spline,
              Pattern& pattern) {
  const int d = set.dims;
  const auto p = static_cast<Index>(pattern.present.size());
  const auto g = static_cast<Index>(pattern.specimens.size());
  const Eigen::MatrixXd targets = presentCoordinates(set, pattern);
  // Where most landmarks are missing, a system of the few present ones is
  // the smaller work.
  if (spline.usable() && pattern.missing.size() <= pattern.present.size()) {
    pattern.estimates = spline.valuesAtMissing(pattern, targets);
  } else {
    Eigen::MatrixXd rhs = Eigen::MatrixXd::Zero(p + d + 1, d * g);
    rhs.topRows(p) = targets;
    const Eigen::MatrixXd coefficients =
        Eigen::ColPivHouseholderQR<Eigen::MatrixXd>(splineSystem(mean, pattern.present, d))
            .solve(rhs);
    pattern.estimates = basisAt(mean, pattern.missing, pattern.present, d) * coefficients;
  }

  for (Index s = 0; s < g; ++s) {
    if (!pattern.estimates.middleCols(d * s, d).allFinite()) {
      throw InputError(set.path, specimenName(set, pattern.specimens[static_cast<size_t>(s)]) +
                                     ": its missing landmarks cannot be estimated; its "
                                     "coordinates are too large");
    }
  }
}

std::string summary(const LandmarkSet& set, const std::vector<Index>& incomplete) {
  std::string listed;
  size_t cells = 0;
  for (size_t s = 0; s < incomplete.size(); ++s) {
    const std::vector<Index> missing = missingcells::missingOf(set, incomplete[s]);
    cells += missing.size();
    if (s < missingcells::listLimit) {
      listed += (s > 0 ? "; " : "") + specimenName(set, incomplete[s]) + " " +
                missingcells::landmarkList(missing);
    }
  }
  if (incomplete.size() > missingcells::listLimit) {
    listed += "; ... and " + counted(incomplete.size() - missingcells::listLimit, "more specimen");
  }
  return "estimated " + counted(cells, "landmark") + ": " + listed;
}

}  // namespace

std::string estimatemissing(LandmarkSet& set, const TextSink& notes,
                            const EstimateProgress& progress) {
  const int d = set.dims;
  if (d != 2 && d != 3) {
    throw std::invalid_argument("estimatemissing: landmarks have 2 or 3 coordinates, not " +
                                std::to_string(d));
  }
  std::vector<Index> complete;
  std::vector<Index> incomplete;
  std::vector<Pattern> patterns;
  std::map<std::vector<Index>, size_t> patternOf;
  for (Index i = 0; i < set.specimens(); ++i) {
    std::vector<Index> missing = missingcells::missingOf(set, i);
    if (missing.empty()) {
      complete.push_back(i);
      continue;
    }
    incomplete.push_back(i);
    const auto [at, added] = patternOf.try_emplace(missing, patterns.size());
    if (added) {
      Pattern& pattern = patterns.emplace_back();
      for (Index j = 0, next = 0; j < set.landmarks(); ++j) {
        const bool absent =
            static_cast<size_t>(next) < missing.size() && missing[static_cast<size_t>(next)] == j;
        if (absent) ++next;
        (absent ? pattern.missing : pattern.present).push_back(j);
      }
    }
    patterns[at->second].specimens.push_back(i);
  }
  if (incomplete.empty()) return "";
  if (complete.empty()) {
    throw InputError(set.path,
                     "no specimen has all its landmarks, so there is no mean shape to estimate "
                     "the missing ones from; at least one complete specimen is needed");
  }

  const Eigen::MatrixXd mean =
      d == 3 ? meanShape<3>(set, complete, notes) : meanShape<2>(set, complete, notes);
  // Every check before any spline, and every spline before any write, so
  // that a refused set is left as it was.
  const std::vector<std::pair<Index, Index>> coinciding = coincidingPairs(mean);
  std::vector<bool> missingHere(static_cast<size_t>(set.landmarks()), false);
  for (const Pattern& pattern : patterns) {
    for (const Index j : pattern.missing) missingHere[static_cast<size_t>(j)] = true;
    checkPresent(set, mean, pattern, coinciding, missingHere);
    for (const Index j : pattern.missing) missingHere[static_cast<size_t>(j)] = false;
  }
  const MeanSpline spline(mean, d);
  size_t done = 0;
  for (Pattern& pattern : patterns) {
    estimate(set, mean, spline, pattern);
    done += pattern.specimens.size();
    if (progress) progress(done, incomplete.size());
  }

  std::string said = summary(set, incomplete);
  for (const Pattern& pattern : patterns) {
    for (size_t s = 0; s < pattern.specimens.size(); ++s) {
      for (size_t q = 0; q < pattern.missing.size(); ++q) {
        for (int c = 0; c < d; ++c) {
          set.coords(pattern.specimens[s], pattern.missing[q] * d + c) =
              pattern.estimates(static_cast<Index>(q), d * static_cast<Index>(s) + c);
        }
      }
    }
  }
  return said;
}

}  // namespace tarvolin
