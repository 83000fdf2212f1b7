#include <cmath>
#include <limits>

#include "core/errors.h"
#include "core/nonfinite.h"
#include "core/quotedtext.h"
#include "landmarks/landmarkset.h"

namespace tarvolin {

void finishlandmarkset(LandmarkSet& set) {
  const Eigen::Index n = set.specimens();
  const Eigen::Index k = set.landmarks();
  const int d = set.dims;

  // A landmark with any coordinate not measured is missing as a whole. The
  // coordinates are stored column by column, so the loops go down columns.
  Eigen::Array<bool, Eigen::Dynamic, Eigen::Dynamic> missing =
      Eigen::Array<bool, Eigen::Dynamic, Eigen::Dynamic>::Constant(n, k, false);
  // The landmarks are looked through only where some coordinate is NaN.
  bool anyMissing = false;
  const bool anyNaN = nonfinite(set.coords).nan;
  for (Eigen::Index j = 0; anyNaN && j < k; ++j) {
    for (int c = 0; c < d; ++c) {
      const auto column = set.coords.col(j * d + c).array();
      if (!column.isNaN().any()) continue;
      anyMissing = true;
      missing.col(j) = missing.col(j) || column.isNaN();
    }
  }
  if (anyMissing) {
    for (Eigen::Index j = 0; j < k; ++j) {
      for (int c = 0; c < d; ++c) {
        set.coords.col(j * d + c) = missing.col(j).select(std::numeric_limits<double>::quiet_NaN(),
                                                          set.coords.col(j * d + c));
      }
    }
  }
  if (anyMissing) {
    set.missing = std::move(missing);
  } else {
    set.missing.resize(0, 0);
  }
  if (set.sizeGiven) return;

  // The centroid size: the root of the summed squared distances of the
  // landmarks from their centroid, summed column by column.
  Eigen::VectorXd sum = Eigen::VectorXd::Zero(n);
  for (int c = 0; c < d; ++c) {
    Eigen::VectorXd mean = Eigen::VectorXd::Zero(n);
    for (Eigen::Index j = 0; j < k; ++j) mean += set.coords.col(j * d + c);
    mean /= static_cast<double>(k);
    for (Eigen::Index j = 0; j < k; ++j) {
      sum += (set.coords.col(j * d + c) - mean).cwiseAbs2();
    }
  }
  set.size = sum.cwiseSqrt();
  for (Eigen::Index i = 0; i < n; ++i) {
    // A specimen with a missing landmark has NaN in its sum already.
    set.size(i) *= set.scaleOf(i);
    if (std::isinf(set.size(i))) {
      const auto at = static_cast<size_t>(i);
      const std::string id = at < set.ids.size() ? set.ids[at] : std::to_string(i + 1);
      throw InputError(set.path, "specimen " + quotedtext(id) +
                                     " has coordinates so large (or a scale so large) that its "
                                     "size cannot be computed");
    }
  }
}

}  // namespace tarvolin
