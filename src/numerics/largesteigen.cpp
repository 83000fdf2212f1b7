#include "numerics/largesteigen.h"

#include <algorithm>
#include <climits>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/givebackmemory.h"
#include "numerics/lapack.h"

namespace tarvolin {
namespace {

using Eigen::Index;

// Reflectors applied at once: as LAPACK's own blocked routines take them.
constexpr int kPanel = 64;

[[noreturn]] void notfound(const char* step, int info) {
  throw std::runtime_error(std::string("largesteigen: ") + step + " failed (" +
                           std::to_string(info) + "): the eigenvalues could not be found");
}

}  // namespace

LargestEigen largesteigen(Eigen::MatrixXd& symmetric, Index wanted) {
  if (symmetric.rows() != symmetric.cols() || symmetric.rows() > INT_MAX || wanted < 0 ||
      wanted > symmetric.rows()) {
    throw std::invalid_argument("largesteigen: " + std::to_string(wanted) +
                                " eigenvalues asked of a " + std::to_string(symmetric.rows()) +
                                " x " + std::to_string(symmetric.cols()) + " matrix");
  }
  const int n = static_cast<int>(symmetric.rows());
  LargestEigen result;
  if (wanted == 0 || n == 0) {
    symmetric.resize(0, 0);
    result.vectors.resize(n, 0);
    return result;
  }

  // Q' A Q = T: the diagonal d, the off-diagonal e, the reflectors below
  // the off-diagonal of A.
  std::vector<double> d(static_cast<size_t>(n)), e(static_cast<size_t>(n)),
      tau(static_cast<size_t>(std::max(1, n - 1)));
  int info = 0, query = -1;
  double size = 0;
  dsytrd_("L", &n, symmetric.data(), &n, d.data(), e.data(), tau.data(), &size, &query, &info, 1);
  {
    int lwork = std::max(1, static_cast<int>(size));
    std::vector<double> work(static_cast<size_t>(lwork));
    dsytrd_("L", &n, symmetric.data(), &n, d.data(), e.data(), tau.data(), work.data(), &lwork,
            &info, 1);
  }
  if (info != 0) notfound("the reduction to tridiagonal form", info);
  // Reflector i (from 0) acts on rows i + 1 ... n - 1: 1 at row i + 1, then
  // the column below it, kept packed one column after another.
  std::vector<size_t> start(static_cast<size_t>(n));
  std::vector<double> packed;
  packed.reserve(static_cast<size_t>(n) * static_cast<size_t>(n) / 2);
  for (int i = 0; i + 2 < n; ++i) {
    start[static_cast<size_t>(i)] = packed.size();
    const double* below = symmetric.data() + static_cast<Index>(i) * n + i + 2;
    packed.insert(packed.end(), below, below + (n - i - 2));
  }
  symmetric.resize(0, 0);
  givebackmemory();

  // The eigenvectors of T: the `wanted` largest alone when they are few;
  // when they are many, all of them, which takes less time.
  const bool all = wanted > n / 2;
  const int il = n - static_cast<int>(wanted) + 1, iu = n;
  const double bound = 0;
  int found = 0, tryrac = 1, columns = all ? n : static_cast<int>(wanted);
  std::vector<double> values(static_cast<size_t>(n));
  result.vectors.resize(n, columns);
  std::vector<int> support(2 * static_cast<size_t>(n));
  int iworkSize = 0;
  dstemr_("V", all ? "A" : "I", &n, d.data(), e.data(), &bound, &bound, &il, &iu, &found,
          values.data(), result.vectors.data(), &n, &columns, support.data(), &tryrac, &size,
          &query, &iworkSize, &query, &info, 1, 1);
  if (info == 0) {
    int lwork = std::max(1, static_cast<int>(size)), liwork = std::max(1, iworkSize);
    std::vector<double> work(static_cast<size_t>(lwork));
    std::vector<int> iwork(static_cast<size_t>(liwork));
    dstemr_("V", all ? "A" : "I", &n, d.data(), e.data(), &bound, &bound, &il, &iu, &found,
            values.data(), result.vectors.data(), &n, &columns, support.data(), &tryrac,
            work.data(), &lwork, iwork.data(), &liwork, &info, 1, 1);
  }
  if (info != 0 || found != columns) notfound("the tridiagonal eigensolver", info);
  // Ascending as found: the largest `wanted` are the last, put first,
  // largest first, before Q is applied to them alone.
  result.values = Eigen::Map<const Eigen::VectorXd>(values.data(), found).tail(wanted).reverse();
  for (Index c = 0; c < wanted; ++c) {
    const Index from = found - 1 - c;
    if (from > c) result.vectors.col(c).swap(result.vectors.col(from));
  }
  result.vectors.conservativeResize(Eigen::NoChange, wanted);
  columns = static_cast<int>(wanted);

  // Q = H(0) H(1) ... H(n - 2) applied to the vectors, the last block of
  // reflectors first.
  const int reflectors = n - 1;
  std::vector<double> panel, triangle(static_cast<size_t>(kPanel) * kPanel),
      work(static_cast<size_t>(columns) * kPanel);
  for (int first = ((reflectors - 1) / kPanel) * kPanel; reflectors > 0 && first >= 0;
       first -= kPanel) {
    const int width = std::min(kPanel, reflectors - first);
    const int height = n - 1 - first;  // rows first + 1 ... n - 1
    panel.assign(static_cast<size_t>(height) * static_cast<size_t>(width), 0.0);
    for (int j = 0; j < width; ++j) {
      const int i = first + j;
      double* column = panel.data() + static_cast<size_t>(j) * static_cast<size_t>(height);
      column[j] = 1.0;
      if (i + 2 < n) {
        std::copy_n(packed.data() + start[static_cast<size_t>(i)], n - i - 2, column + j + 1);
      }
    }
    dlarft_("F", "C", &height, &width, panel.data(), &height, tau.data() + first, triangle.data(),
            &width, 1, 1);
    int ldwork = columns;
    dlarfb_("L", "N", "F", "C", &height, &columns, &width, panel.data(), &height, triangle.data(),
            &width, result.vectors.data() + first + 1, &n, work.data(), &ldwork, 1, 1, 1, 1);
  }

  return result;
}

}  // namespace tarvolin
