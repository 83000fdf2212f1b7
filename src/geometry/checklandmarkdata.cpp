#include "checklandmarkdata.h"

#include <cmath>

#include "centsize3Da.h"
#include "platform/errors.h"

namespace tarvolin {

void checklandmarkdata(const Eigen::MatrixXd& data, const std::string& fname, bool rowsAreLines) {
  const Eigen::Index n = data.cols();
  if (n < 4 || (n - 1) % 3 != 0) {
    throw InputError(
        fname, rowsAreLines ? 1 : 0,
        "has " + std::to_string(n) +
            " numbers per specimen; a landmark data set has 3k + 1: X, Y and Z of each "
            "of k landmarks, then the centroid size");
  }
  const Eigen::Index k = (n - 1) / 3;
  Eigen::MatrixXd configuration(k, 3);
  for (Eigen::Index i = 0; i < data.rows(); ++i) {
    for (Eigen::Index j = 0; j < k; ++j) configuration.row(j) = data.block(i, 3 * j, 1, 3);
    const double size = centsize3Da(configuration);
    const std::string what = (rowsAreLines ? "specimen " : "record ") + std::to_string(i + 1);
    const long line = rowsAreLines ? static_cast<long>(i + 1) : 0;
    if (!(size > 0)) {
      throw InputError(fname, line,
                       what +
                           " has all its landmarks at one point, so it has no size and cannot be "
                           "superimposed");
    }
    if (!std::isfinite(size)) {
      throw InputError(fname, line,
                       what + " has coordinates so large that its size cannot be computed");
    }
  }
}

}  // namespace tarvolin
