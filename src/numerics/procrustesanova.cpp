#include "numerics/procrustesanova.h"

#include <Eigen/QR>
#include <algorithm>
#include <cmath>
#include <future>
#include <limits>
#include <random>

#include "core/errors.h"

namespace tarvolin {
namespace {

using Index = Eigen::Index;

// The columns [first, last) of the design that belong to one term.
struct TermColumns {
  const char* name;
  Index first, last;
};

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
  constexpr int kBatch = 16;
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

ProcrustesAnova procrustesanova(const Eigen::Ref<const Eigen::MatrixXd>& y,
                                const AnovaDesign& design, int permutations, std::uint64_t seed) {
  const Index n = y.rows();
  if (design.x.size() != n) {
    throw InputError("the x-variable has " + std::to_string(design.x.size()) + " values for " +
                     std::to_string(n) + " specimens; it needs one value per specimen")
        .concerning(Input::x);
  }
  if (permutations < 0 || permutations > 100000) {
    throw InputError("the number of permutations must lie between 0 and 100000, not " +
                     std::to_string(permutations))
        .concerning(Input::option);
  }
  // One specimen (or none) is the model's matter: it has more parameters.
  if (n >= 2 && (design.x.array() == design.x(0)).all()) {
    throw InputError("every specimen has the same x value; shape cannot be regressed on it")
        .concerning(Input::x);
  }
  const bool grouped = !design.groupOf.empty();
  const int groups = grouped ? static_cast<int>(design.groupNames.size()) : 1;
  if (grouped) {
    if (static_cast<Index>(design.groupOf.size()) != n) {
      throw InputError("the groups name " + std::to_string(design.groupOf.size()) +
                       " specimens for " + std::to_string(n) + "; every specimen needs a group")
          .concerning(Input::groups);
    }
    std::vector<int> sizes(static_cast<size_t>(groups), 0);
    for (int g : design.groupOf) ++sizes.at(static_cast<size_t>(g));
    for (int g = 0; g < groups; ++g) {
      if (sizes[static_cast<size_t>(g)] < 2) {
        throw InputError("group \"" + design.groupNames[static_cast<size_t>(g)] + "\" has " +
                         (sizes[static_cast<size_t>(g)] == 1 ? "one specimen" : "no specimen") +
                         "; every group needs two or more")
            .concerning(Input::groups);
      }
    }
  }

  // The design: intercept, size, the group indicators, size times each.
  std::vector<TermColumns> terms{{"size", 1, 2}};
  Index columns = 2;
  if (groups > 1) {
    terms.push_back({"group", columns, columns + groups - 1});
    columns += groups - 1;
    if (design.interaction) {
      terms.push_back({"size:group", columns, columns + groups - 1});
      columns += groups - 1;
    }
  }
  if (n - columns < 1) {
    throw InputError("the model has " + std::to_string(columns) + " parameters for " +
                     std::to_string(n) + (n == 1 ? " specimen" : " specimens") +
                     "; it needs at least " + std::to_string(columns + 1) + " specimens")
        .concerning(Input::data);
  }
  Eigen::MatrixXd x = Eigen::MatrixXd::Zero(n, columns);
  x.col(0).setOnes();
  x.col(1) = design.x;
  for (Index i = 0; i < n; ++i) {
    const int g = grouped ? design.groupOf[static_cast<size_t>(i)] : 0;
    if (g == 0) continue;
    x(i, 1 + g) = 1;
    if (design.interaction) x(i, groups + g) = design.x(i);
  }

  const Eigen::HouseholderQR<Eigen::MatrixXd> qr(x);
  const Eigen::MatrixXd r = qr.matrixQR().topRows(columns).triangularView<Eigen::Upper>();
  for (Index c = 0; c < columns; ++c) {
    if (!(std::abs(r(c, c)) > 1e-10 * x.col(c).norm())) {
      throw InputError(
          "the model's terms are not independent: the groups or x do not allow size and group "
          "to be told apart (is x the same within a group?)")
          .concerning(Input::groups);
    }
  }
  const Eigen::MatrixXd q = qr.householderQ() * Eigen::MatrixXd::Identity(n, columns);

  // Centred, so that no sum carries the mean shape along; every model has
  // the intercept, so no SS changes.
  const Eigen::MatrixXd centred = y.rowwise() - y.colwise().mean();
  const Eigen::MatrixXd c = q.transpose() * centred;
  ProcrustesAnova result;
  result.permutations = permutations;
  result.seed = seed;
  result.totalDf = static_cast<int>(n - 1);
  result.totalSs = centred.squaredNorm();
  result.residualDf = static_cast<int>(n - columns);
  result.residualSs = (centred - q * c).squaredNorm();
  result.residualMs = result.residualSs / result.residualDf;

  // Shuffles are made a few hundred at a time and shared by the two cores;
  // every term gets the same ones, from the same seed.
  constexpr int kChunk = 256;
  std::vector<std::uint32_t> orders(static_cast<size_t>(n) *
                                    static_cast<size_t>(std::min(kChunk, permutations)));
  for (const TermColumns& term : terms) {
    AnovaTerm row;
    row.term = term.name;
    row.df = static_cast<int>(term.last - term.first);
    row.ss = c.middleRows(term.first, term.last - term.first).squaredNorm();
    row.ms = row.ss / row.df;
    row.rsq = result.totalSs > 0 ? row.ss / result.totalSs : 0;
    row.f = row.ms / result.residualMs;

    // The reduced model's fit and residuals.
    const Eigen::MatrixXd cr = c.topRows(term.first);
    const Eigen::MatrixXd e = centred - q.leftCols(term.first) * cr;
    std::vector<double> f(static_cast<size_t>(permutations));
    Shuffles shuffles(n, seed);
    for (int start = 0; start < permutations; start += kChunk) {
      const int count = std::min(kChunk, permutations - start);
      for (int b = 0; b < count; ++b) {
        shuffles.next(orders.data() + static_cast<size_t>(b) * static_cast<size_t>(n));
      }
      // Half the chunk on another core; each F depends on its shuffle only.
      const int half = count / 2;
      double* chunkF = f.data() + start;
      auto other = std::async(std::launch::async, [&] {
        permutedF(q, cr, e, term, result.residualDf, orders.data(), half, count, chunkF + half);
      });
      permutedF(q, cr, e, term, result.residualDf, orders.data(), 0, half, chunkF);
      other.get();
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
    const double sd =
        logs.size() > 1 ? std::sqrt(squares / static_cast<double>(logs.size() - 1)) : 0;
    row.z = sd > 0 ? (std::log(row.f) - mean) / sd : std::numeric_limits<double>::quiet_NaN();
    result.terms.push_back(row);
  }
  return result;
}

}  // namespace tarvolin
