#include "checklandmarkdata.h"

#include <cmath>
#include <stdexcept>

#include "centsize3Da.h"
#include "platform/errors.h"

namespace tarvolin {

void checklandmarkdata(const Eigen::MatrixXd& data, const std::string& fname, bool rowsAreLines,
                       int dims) {
  if (dims != 2 && dims != 3) {
    throw std::invalid_argument("checklandmarkdata: data are 2D or 3D, not " +
                                std::to_string(dims) + "D");
  }
  const Eigen::Index n = data.cols();
  if (n < dims + 1 || (n - 1) % dims != 0) {
    throw InputError(fname, rowsAreLines ? 1 : 0,
                     "has " + std::to_string(n) + " numbers per specimen; a landmark data set " +
                         (dims == 3 ? "has 3k + 1: X, Y and Z of each "
                                    : "of 2D landmarks has 2k + 1: X and Y of each ") +
                         "of k landmarks, then the centroid size");
  }
  const Eigen::Index k = (n - 1) / dims;
  Eigen::MatrixXd configuration(k, dims);
  for (Eigen::Index i = 0; i < data.rows(); ++i) {
    for (Eigen::Index j = 0; j < k; ++j) {
      configuration.row(j) = data.block(i, dims * j, 1, dims);
    }
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
    // A size column computed as centroid size times a scale factor can
    // overflow where the coordinates did not.
    if (!std::isfinite(data(i, n - 1))) {
      throw InputError(fname, line,
                       what + " has a size too large to represent (is its scale factor right?)");
    }
  }
}

}  // namespace tarvolin
