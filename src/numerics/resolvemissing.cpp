#include "numerics/resolvemissing.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "core/errors.h"
#include "core/nonfinite.h"
#include "numerics/estimatemissing.h"
#include "numerics/missingcells.h"
#include "numerics/missinglandmarkslist.h"

namespace tarvolin {
namespace {

using Index = Eigen::Index;
using missingcells::counted;
using missingcells::listLimit;

// Given sizes are kept, so a specimen that stays needs one.
void checkGivenSizes(const LandmarkSet& set, const std::vector<bool>& stays) {
  if (!set.sizeGiven) return;
  const auto count = std::min(set.size.size(), static_cast<Index>(stays.size()));
  for (Index i = 0; i < count; ++i) {
    if (stays[static_cast<size_t>(i)] && std::isnan(set.size(i))) {
      throw InputError(set.path, missingcells::specimenName(set, i) +
                                     " has no value in the file's size column, and sizes the "
                                     "file gives are kept as given");
    }
  }
}

template <typename Vector>
Vector rowsKept(const Vector& values, const std::vector<Index>& kept) {
  Vector picked(static_cast<Index>(kept.size()));
  for (size_t r = 0; r < kept.size(); ++r) picked(static_cast<Index>(r)) = values(kept[r]);
  return picked;
}

std::string dropSpecimens(LandmarkSet& set, const std::vector<bool>& complete) {
  const Index n = set.specimens();
  std::vector<Index> kept;
  std::vector<Index> left;
  for (Index i = 0; i < n; ++i) (complete[static_cast<size_t>(i)] ? kept : left).push_back(i);
  if (kept.empty()) {
    throw InputError(set.path,
                     "every specimen has missing landmarks, so leaving out the "
                     "incomplete ones leaves no specimen");
  }
  checkGivenSizes(set, complete);

  std::string names;
  for (size_t s = 0; s < left.size() && s < listLimit; ++s) {
    names += (s > 0 ? ", " : "") + missingcells::quotedId(set, left[s]);
  }
  if (left.size() > listLimit) {
    names += ", ... and " + std::to_string(left.size() - listLimit) + " more";
  }

  Eigen::MatrixXd coords(static_cast<Index>(kept.size()), set.coords.cols());
  for (size_t r = 0; r < kept.size(); ++r) {
    coords.row(static_cast<Index>(r)) = set.coords.row(kept[r]);
  }
  set.coords = std::move(coords);
  if (set.size.size() == n) set.size = rowsKept(set.size, kept);
  if (set.scale.size() == n) set.scale = rowsKept(set.scale, kept);
  if (static_cast<Index>(set.ids.size()) == n) {
    std::vector<std::string> ids;
    ids.reserve(kept.size());
    for (const Index i : kept) ids.push_back(std::move(set.ids[static_cast<size_t>(i)]));
    set.ids = std::move(ids);
  }
  set.missing.resize(0, 0);
  return "left out " + counted(left.size(), "specimen") + " with missing landmarks (" +
         std::to_string(kept.size()) + (kept.size() == 1 ? " remains): " : " remain): ") + names;
}

std::string dropLandmarks(LandmarkSet& set) {
  const Index n = set.specimens();
  const Index k = set.landmarks();
  const int d = set.dims;
  std::vector<bool> dropped(static_cast<size_t>(k), false);
  for (Index i = 0; i < n; ++i) {
    for (Index j = 0; j < k; ++j) {
      if (missingcells::isMissing(set, i, j)) dropped[static_cast<size_t>(j)] = true;
    }
  }
  // newNumber[j]: landmark j's 1-based number once the others are left out,
  // 0 for one left out.
  std::vector<int> newNumber(static_cast<size_t>(k), 0);
  std::vector<Index> left;
  int remaining = 0;
  for (Index j = 0; j < k; ++j) {
    if (dropped[static_cast<size_t>(j)]) {
      left.push_back(j);
    } else {
      newNumber[static_cast<size_t>(j)] = ++remaining;
    }
  }
  if (remaining < 3) {
    throw InputError(set.path, "leaving out the " + counted(left.size(), "landmark") +
                                   " missing in some specimen would leave " +
                                   std::to_string(remaining) + " of " + std::to_string(k) +
                                   "; at least 3 are needed");
  }
  checkGivenSizes(set, std::vector<bool>(static_cast<size_t>(n), true));

  Eigen::MatrixXd coords(n, d * remaining);
  for (Index j = 0; j < k; ++j) {
    const int to = newNumber[static_cast<size_t>(j)];
    if (to > 0) coords.middleCols(d * (to - 1), d) = set.coords.middleCols(d * j, d);
  }
  set.coords = std::move(coords);
  if (static_cast<Index>(set.semilandmark.size()) == k) {
    std::vector<bool> semilandmark;
    for (Index j = 0; j < k; ++j) {
      if (!dropped[static_cast<size_t>(j)]) {
        semilandmark.push_back(set.semilandmark[static_cast<size_t>(j)]);
      }
    }
    set.semilandmark = std::move(semilandmark);
  }
  // Each curve keeps the points of it that remain.
  if (!set.curves.empty()) {
    Index j = k;
    for (const int points : set.curves) j -= points;
    for (int& points : set.curves) {
      const int had = points;
      for (int p = 0; p < had; ++p, ++j) {
        if (j >= 0 && dropped[static_cast<size_t>(j)]) --points;
      }
    }
    std::erase(set.curves, 0);
  }
  // A pair naming a landmark the set does not have cannot be renumbered
  // either; it goes with the pairs that lost an end.
  const auto renumbered = [&](int number) {
    return number >= 1 && number <= k ? newNumber[static_cast<size_t>(number - 1)] : 0;
  };
  std::vector<std::pair<int, int>> wireframe;
  for (const auto& [from, to] : set.wireframe) {
    if (renumbered(from) > 0 && renumbered(to) > 0) {
      wireframe.emplace_back(renumbered(from), renumbered(to));
    }
  }
  set.wireframe = std::move(wireframe);
  set.missing.resize(0, 0);

  std::string numbers = missingcells::numberList(std::vector<Index>(
      left.begin(), left.begin() + static_cast<std::ptrdiff_t>(std::min(left.size(), listLimit))));
  if (left.size() > listLimit) {
    numbers += ", ... and " + std::to_string(left.size() - listLimit) + " more";
  }
  return "left out " + counted(left.size(), "landmark") + " missing in some specimen (" +
         std::to_string(remaining) + " remain): " + numbers;
}

}  // namespace

MissingReport resolvemissing(LandmarkSet& set, MissingPolicy policy, const TextSink& notes,
                             const EstimateProgress& progress) {
  const Index n = set.specimens();
  // Column by column, as the matrices are stored: a specimen is incomplete
  // when one of its coordinates is NaN or one of its landmarks is flagged.
  std::vector<bool> complete(static_cast<size_t>(n), true);
  const bool anyNaN = nonfinite(set.coords).nan;
  for (Index c = 0; anyNaN && c < set.coords.cols(); ++c) {
    const double* column = set.coords.col(c).data();
    for (Index i = 0; i < n; ++i) {
      if (std::isnan(column[i])) complete[static_cast<size_t>(i)] = false;
    }
  }
  if (set.missing.rows() == n && set.missing.cols() == set.landmarks()) {
    for (Index j = 0; j < set.missing.cols(); ++j) {
      for (Index i = 0; i < n; ++i) {
        if (set.missing(i, j)) complete[static_cast<size_t>(i)] = false;
      }
    }
  }
  const auto incomplete = static_cast<size_t>(std::count(complete.begin(), complete.end(), false));
  if (incomplete == 0) return {};

  MissingReport report;
  switch (policy) {
    case MissingPolicy::refuse:
      throw InputError(set.path, counted(incomplete, "specimen") +
                                     (incomplete == 1 ? " has" : " have") +
                                     " missing landmarks:\n" + missinglandmarkslist(set));
    case MissingPolicy::dropSpecimens:
      report.summary = dropSpecimens(set, complete);
      break;
    case MissingPolicy::dropLandmarks:
      report.summary = dropLandmarks(set);
      break;
    case MissingPolicy::estimate:
      checkGivenSizes(set, std::vector<bool>(static_cast<size_t>(n), true));
      report.summary = estimatemissing(set, notes, progress);
      break;
  }
  finishlandmarkset(set);
  return report;
}

}  // namespace tarvolin
