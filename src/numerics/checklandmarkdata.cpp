#include "numerics/checklandmarkdata.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "core/errors.h"
#include "core/onallcores.h"
#include "core/sprintf.h"
#include "landmarks/rowblocks.h"
#include "numerics/centsize3Da.h"

namespace tarvolin {

namespace {

enum class Problem { noSize, sizeUnderflows, sizeOverflows, sizeColumn, sizeNotPositive };

// The first specimen that cannot be superimposed, or -1.
struct Fault {
  Eigen::Index specimen = -1;
  Problem problem = Problem::noSize;
};

// A few specimens at a time are copied out, column by column, so that the
// column-major data are read a cache line at a time.
constexpr Eigen::Index kBlock = 16;

// The first fault in blocks lane, lane + lanes, lane + 2 lanes, ... of `data`
// (N x (dims k + 1)).
Fault firstFault(const Eigen::MatrixXd& data, Eigen::Index k, int dims, int lane, int lanes) {
  const Eigen::Index n = data.cols();
  RowMajorRows rows;
  Eigen::MatrixXd configuration(k, dims);
  for (Eigen::Index first = lane * kBlock; first < data.rows(); first += lanes * kBlock) {
    copyRows(data, first, std::min(kBlock, data.rows() - first), rows);
    for (Eigen::Index r = 0; r < rows.rows(); ++r) {
      configuration =
          Eigen::Map<const Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>>(
              rows.row(r).data(), k, dims);
      const double size = centsize3Da(configuration);
      if (!(size > 0)) {
        // Landmarks apart whose squared distances are too small to add up.
        const bool apart = ((configuration.rowwise() - configuration.row(0)).array() != 0).any();
        return {first + r, apart ? Problem::sizeUnderflows : Problem::noSize};
      }
      if (!std::isfinite(size)) return {first + r, Problem::sizeOverflows};
      if (!std::isfinite(rows(r, n - 1))) return {first + r, Problem::sizeColumn};
      if (!(rows(r, n - 1) > 0)) return {first + r, Problem::sizeNotPositive};
    }
  }
  return {};
}

}  // namespace

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
  if (k < 2) {
    throw InputError(fname, rowsAreLines ? 1 : 0,
                     "has 1 landmark per specimen; a specimen needs at least 2 landmarks");
  }
  const Eigen::Index rows = data.rows();
  const Eigen::Index blocks = (rows + kBlock - 1) / kBlock;

  // The cores take the blocks by turns where there are several: a large
  // data set is read from memory faster. Each stops at its first fault, so
  // the earliest of theirs is the first in the file.
  std::vector<Fault> faults(static_cast<size_t>(laneCount()));
  onallcores(blocks > 1, [&](int lane, int lanes) {
    faults[static_cast<size_t>(lane)] = firstFault(data, k, dims, lane, lanes);
  });
  Fault first = faults[0];
  for (const Fault& fault : faults) {
    if (fault.specimen >= 0 && (first.specimen < 0 || fault.specimen < first.specimen)) {
      first = fault;
    }
  }
  if (first.specimen < 0) return;

  const Eigen::Index i = first.specimen;
  const long line = rowsAreLines ? static_cast<long>(i + 1) : 0;
  const std::string what = (rowsAreLines ? "specimen " : "record ") + std::to_string(i + 1);
  switch (first.problem) {
    case Problem::noSize:
      throw InputError(fname, line,
                       what +
                           " has all its landmarks at one point, so it has no size and cannot "
                           "be superimposed");
    case Problem::sizeUnderflows:
      throw InputError(fname, line,
                       what +
                           " has coordinates so small that its centroid size underflows to 0 "
                           "(below about 1e-162); give them in a larger unit");
    case Problem::sizeOverflows:
      throw InputError(fname, line,
                       what + " has coordinates so large that its size cannot be computed");
    case Problem::sizeColumn:
      // A size column computed as centroid size times a scale factor can
      // overflow where the coordinates did not.
      throw InputError(fname, line,
                       what + " has a size too large to represent (is its scale factor right?)");
    case Problem::sizeNotPositive:
      throw InputError(fname, line,
                       what + " has the size " + sprintf("%g", data(i, n - 1)) +
                           " in its last column; a size must be above 0");
  }
}

}  // namespace tarvolin
