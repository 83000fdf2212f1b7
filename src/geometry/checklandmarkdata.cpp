#include "checklandmarkdata.h"

#include <algorithm>
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
  // A few specimens at a time are copied out, column by column, so that the
  // column-major data are read a cache line at a time.
  constexpr Eigen::Index kBlock = 16;
  Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor> rows;
  Eigen::MatrixXd configuration(k, dims);
  for (Eigen::Index first = 0; first < data.rows(); first += kBlock) {
    rows.resize(std::min(kBlock, data.rows() - first), n);
    for (Eigen::Index c = 0; c < n; ++c) {
      const double* column = data.col(c).data() + first;
      for (Eigen::Index r = 0; r < rows.rows(); ++r) rows(r, c) = column[r];
    }
    for (Eigen::Index r = 0; r < rows.rows(); ++r) {
      const Eigen::Index i = first + r;
      configuration =
          Eigen::Map<const Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>>(
              rows.row(r).data(), k, dims);
      const double size = centsize3Da(configuration);
      const long line = rowsAreLines ? static_cast<long>(i + 1) : 0;
      const auto what = [&] {
        return (rowsAreLines ? "specimen " : "record ") + std::to_string(i + 1);
      };
      if (!(size > 0)) {
        throw InputError(fname, line,
                         what() +
                             " has all its landmarks at one point, so it has no size and cannot "
                             "be superimposed");
      }
      if (!std::isfinite(size)) {
        throw InputError(fname, line,
                         what() + " has coordinates so large that its size cannot be computed");
      }
      // A size column computed as centroid size times a scale factor can
      // overflow where the coordinates did not.
      if (!std::isfinite(rows(r, n - 1))) {
        throw InputError(
            fname, line,
            what() + " has a size too large to represent (is its scale factor right?)");
      }
    }
  }
}

}  // namespace tarvolin
