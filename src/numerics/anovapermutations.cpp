#include "numerics/anovapermutations.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include "core/onallcores.h"

namespace tarvolin {
namespace {

// Shuffles whose F are worked out together, as one matrix product. How
// Eigen sums a row of a product depends on the row's place in it, so the
// batches are cut the same way whatever the number of cores.
constexpr int kBatch = 16;

using Index = Eigen::Index;

// The shuffles of 0 ... n - 1, one after another, made as they are needed:
// none is kept once used (100,000 shuffles of 8,000 specimens would take
// 3.2 GB).
class Shuffles {
 public:
  Shuffles(Index n, std::uint64_t seed) : n_(n), random_(seed) {}

  // Writes the next shuffle into order[0 ... n - 1].
  void next(std::uint32_t* order) {
    for (Index i = 0; i < n_; ++i) order[i] = static_cast<std::uint32_t>(i);
    for (Index i = n_ - 1; i > 0; --i) {
      // Uniform on 0 ... i: draws below 2^64 mod (i + 1) are thrown away.
      const auto bound = static_cast<std::uint64_t>(i + 1);
      const std::uint64_t threshold = (0 - bound) % bound;
      std::uint64_t draw = random_();
      while (draw < threshold) draw = random_();
      std::swap(order[i], order[draw % bound]);
    }
  }

 private:
  Index n_;
  std::mt19937_64 random_;
};

// The F of one term for each shuffle in [first, last), with the residuals
// `e` of the model of the terms before it permuted among the specimens.
//   q:  the orthonormal basis of the whole design, N x q (column 0 the
//       intercept's), nested: its first j columns span the first j of the
//       design;
//   cr: q^T y for the reduced model's columns (the fitted values' part);
// With y* = fitted + P e, q^T y* = [cr; 0] + q^T P e, and
// |y*|^2 = |cr|^2 + |e|^2 + 2 <cr, (q^T P e) of the reduced columns>, so
// each shuffle costs one product of the permuted basis with e. The
// intercept's column is left out: e sums to zero down every column.
void permutedF(const Eigen::MatrixXd& q, const Eigen::MatrixXd& cr, const Eigen::MatrixXd& e,
               const TermColumns& term, int residualDf, const std::uint32_t* orders, int first,
               int last, double* fOut) {
  const Index n = q.rows();
  const Index width = q.cols() - 1;
  const Index reduced = term.first;  // columns of the reduced model, the intercept's included
  const double eNorm = e.squaredNorm();
  const double crNorm = cr.squaredNorm();
  const double termDf = static_cast<double>(term.last - term.first);
  Eigen::MatrixXd w(n, kBatch * width);
  for (int start = first; start < last; start += kBatch) {
    const int count = std::min(kBatch, last - start);
    for (int b = 0; b < count; ++b) {
      const std::uint32_t* order = orders + static_cast<size_t>(start + b) * static_cast<size_t>(n);
      // Row order[i] of w is row i of the basis: w^T e sums q_i e_order[i].
      for (Index i = 0; i < n; ++i) {
        w.block(order[i], b * width, 1, width) = q.block(i, 1, 1, width);
      }
    }
    const Eigen::MatrixXd products =
        w.leftCols(count * width).transpose() * e;  // (count width) x p
    for (int b = 0; b < count; ++b) {
      const auto pe = products.middleRows(b * width, width);  // basis columns 1 ... q - 1
      double all = 0;
      double termSs = 0;
      double cross = 0;
      for (Index c = 1; c <= width; ++c) {
        double ss = 0;
        if (c < reduced) {
          const auto row = cr.row(c) + pe.row(c - 1);
          ss = row.squaredNorm();
          cross += cr.row(c).dot(pe.row(c - 1));
        } else {
          ss = pe.row(c - 1).squaredNorm();
        }
        all += ss;
        if (c >= term.first && c < term.last) termSs += ss;
      }
      const double total = crNorm + eNorm + 2 * cross;
      const double rss = std::max(total - all - cr.row(0).squaredNorm(), 0.0);
      fOut[start + b - first] = (termSs / termDf) / (rss / residualDf);
    }
  }
}

}  // namespace

void permutationtest(const AnovaModel& model, const AnovaSums& sums, const TermColumns& term,
                     int permutations, std::uint64_t seed, AnovaTerm& row) {
  const Eigen::MatrixXd& q = model.q;
  const Index n = q.rows();
  const int residualDf = sums.table.residualDf;
  // The reduced model's fit and residuals.
  const Eigen::MatrixXd cr = sums.c.topRows(term.first);
  const Eigen::MatrixXd e = sums.centred - q.leftCols(term.first) * cr;

  // Shuffles are made a few hundred at a time and shared out over the
  // cores; each F depends on its shuffle only.
  constexpr int kChunk = 256;
  std::vector<std::uint32_t> orders(static_cast<size_t>(n) *
                                    static_cast<size_t>(std::min(kChunk, permutations)));
  std::vector<double> f(static_cast<size_t>(permutations));
  Shuffles shuffles(n, seed);
  for (int start = 0; start < permutations; start += kChunk) {
    const int count = std::min(kChunk, permutations - start);
    for (int b = 0; b < count; ++b) {
      shuffles.next(orders.data() + static_cast<size_t>(b) * static_cast<size_t>(n));
    }
    double* chunkF = f.data() + start;
    // Batches from the start of each half of the chunk, handed out whole to
    // the lanes: the same F, to the last bit, on any number of cores.
    const int half = count / 2;
    std::vector<std::pair<int, int>> batches;
    for (const auto& [from, to] : {std::pair{0, half}, std::pair{half, count}}) {
      for (int b = from; b < to; b += kBatch) batches.emplace_back(b, std::min(b + kBatch, to));
    }
    onallcores(count > 1, [&](int lane, int lanes) {
      for (size_t i = static_cast<size_t>(lane); i < batches.size();
           i += static_cast<size_t>(lanes)) {
        const auto [first, last] = batches[i];
        permutedF(q, cr, e, term, residualDf, orders.data(), first, last, chunkF + first);
      }
    });
  }

  // Ties within rounding count as at least the observed: F is a ratio of
  // mean squares, near 1 where x explains nothing, so 1e-9 of F or of 1,
  // whichever is larger, is rounding.
  const double atLeast = row.f - 1e-9 * std::max(row.f, 1.0);
  int count = 1;
  std::vector<double> logs{std::log(row.f)};
  for (double value : f) {
    if (value >= atLeast) ++count;
    if (value > 0 && std::isfinite(value)) logs.push_back(std::log(value));
  }
  row.p = static_cast<double>(count) / (permutations + 1);
  double mean = 0;
  for (double l : logs) mean += l;
  mean /= static_cast<double>(logs.size());
  double squares = 0;
  for (double l : logs) squares += (l - mean) * (l - mean);
  const double sd = logs.size() > 1 ? std::sqrt(squares / static_cast<double>(logs.size() - 1)) : 0;
  row.z = sd > 0 ? (std::log(row.f) - mean) / sd : std::numeric_limits<double>::quiet_NaN();
}

}  // namespace tarvolin
