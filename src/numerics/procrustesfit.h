#pragma once
// The Procrustes fits written once for D = 2 and D = 3 coordinates:
// svdrot2 / svdrot2D, partialprocrustes3a / partialprocrustes2D and
// getpproc3 / getpproc2D are these templates, so flat data is superimposed
// by the same steps as 3D data, with a rotation that keeps to the plane.
// Internal to the geometry layer: callers use the named routines.
//
// caller: the routine's name, for the messages of std::invalid_argument.

#include <Eigen/Core>
#include <Eigen/LU>
#include <Eigen/SVD>
#include <algorithm>
#include <array>
#include <cmath>
#include <condition_variable>
#include <exception>
#include <limits>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/console.h"
#include "core/ontwocores.h"
#include "landmarks/configstack.h"
#include "numerics/centsize3Da.h"
#include "numerics/gparounds.h"

namespace tarvolin::procrustesfit {

template <int D>
using Square = Eigen::Matrix<double, D, D>;

inline std::invalid_argument notMatching(const char* caller, int dims) {
  return std::invalid_argument(std::string(caller) + ": reference and subject must both be k x " +
                               std::to_string(dims) + " with the same k");
}

// The proper rotation R minimising |subject * R - reference|^2, from the
// D x D cross-product a = subject^T * reference; a matrix of NaN where a is
// not finite.
template <int D>
Square<D> rotationOf(const Square<D>& a) {
  if (!a.allFinite()) return Square<D>::Constant(std::numeric_limits<double>::quiet_NaN());

  Eigen::JacobiSVD<Square<D>> svd(a, Eigen::ComputeFullU | Eigen::ComputeFullV);
  Square<D> u = svd.matrixU();
  const Square<D>& v = svd.matrixV();
  // Singular values come in decreasing order: the last column of U belongs
  // to the smallest one, the cheapest to turn the other way.
  if (u.determinant() * v.determinant() < 0) u.col(D - 1) = -u.col(D - 1);
  return u * v.transpose();
}

// The proper rotation R minimising |subject * R - reference|^2 (k x D each).
template <int D>
Square<D> bestRotation(const Eigen::Ref<const Eigen::MatrixXd>& reference,
                       const Eigen::Ref<const Eigen::MatrixXd>& subject, const char* caller) {
  if (reference.cols() != D || subject.cols() != D || reference.rows() != subject.rows()) {
    throw notMatching(caller, D);
  }
  return rotationOf<D>(subject.transpose() * reference);
}

// The self-check of a rotation: R^T R must have 1 at (0, 0), to five
// decimals. It has not where the fit met input that is not finite.
template <int D>
void checkRotation(const Square<D>& roto) {
  const Square<D> temp = roto.transpose() * roto;
  if (std::round(temp(0, 0) * 100000.0) / 100000.0 != 1.0) {
    console().echo("stemp", "Error in rotation");
    console().echo("roto", Eigen::MatrixXd(roto));
    console().echo("temp", Eigen::MatrixXd(temp));
  }
}

// A k x D configuration as the addresses of its D columns, each k values
// one after another: a page of a stack, a matrix, a block of whole columns.
template <int D, class Scalar = double>
using Columns = std::array<Scalar*, D>;

template <int D, class Matrix>
Columns<D> columnsOf(Matrix&& x) {
  Columns<D> columns;
  for (int d = 0; d < D; ++d) columns[d] = x.col(d).data();
  return columns;
}

template <int D, class Matrix>
Columns<D, const double> constColumnsOf(const Matrix& x) {
  Columns<D, const double> columns;
  for (int d = 0; d < D; ++d) columns[d] = x.col(d).data();
  return columns;
}

// The fit works on kLanes landmarks at a time, as one short vector per
// coordinate, so the loops need no help from the compiler to vectorize.
inline constexpr int kLanes = 2;
using Lanes = Eigen::Array<double, kLanes, 1>;

inline Lanes loadLanes(const double* at) { return Eigen::Map<const Lanes>(at); }
inline void storeLanes(double* at, const Lanes& values) { Eigen::Map<Lanes>{at} = values; }

// What fitting one configuration did: the fitted configuration is
// (s - centre) * rotation / size.
template <int D>
struct FitStep {
  std::array<double, D> centre{};
  Square<D> rotation = Square<D>::Zero();
  double size = 1;
};

// Writes (s - centre) * rotation / size over the k x D configuration
// `subject`, and adds it into `sum` where given: the last pass of a fit, and
// the same arithmetic to the last bit when a fit is done again from the
// configuration it began with.
template <int D>
void applyFit(const FitStep<D>& step, const Columns<D>& subject, Eigen::Index k,
              const Columns<D>* sum) {
  using Index = Eigen::Index;
  const Index whole = k - k % kLanes;
  const std::array<double, D>& c = step.centre;
  const Square<D> m = step.rotation / step.size;
  for (Index j = 0; j < whole; j += kLanes) {
    std::array<Lanes, D> x;
    for (int d = 0; d < D; ++d) x[d] = loadLanes(subject[d] + j) - c[d];
    for (int col = 0; col < D; ++col) {
      Lanes y = x[0] * m(0, col);
      for (int row = 1; row < D; ++row) y += x[row] * m(row, col);
      storeLanes(subject[col] + j, y);
      if (sum) storeLanes((*sum)[col] + j, loadLanes((*sum)[col] + j) + y);
    }
  }
  for (Index j = whole; j < k; ++j) {
    std::array<double, D> x;
    for (int d = 0; d < D; ++d) x[d] = subject[d][j] - c[d];
    for (int col = 0; col < D; ++col) {
      double y = x[0] * m(0, col);
      for (int row = 1; row < D; ++row) y += x[row] * m(row, col);
      subject[col][j] = y;
      if (sum) (*sum)[col][j] += y;
    }
  }
}

// Fits the k x D configuration `subject` onto `reference` in place: centre,
// scale to centroid size 1, turn by the best proper rotation, with the
// console self-check of the rotation; where `sum` is given, adds the fitted
// configuration into it. Where `step` is given, what the fit did is put
// there, and its rotation is left for the caller to check in its own order
// (a fit on another thread must not write to the console). Three passes
// over the subject, no allocation:
//   1. the centroid c, from the column sums;
//   2. from the centred coordinates x = s - c, the centroid size squared
//      sum(x^2) and the cross-product x^T * reference (never from raw sums:
//      far from the origin sum(s^2) - k |c|^2 loses every digit);
//   3. the fitted s = x * (R / size), written over s and added into `sum`.
// A configuration of no landmarks is left as it is.
//
// Example: fitColumns<3>(constColumnsOf<3>(mean), columnsOf<3>(page), k, nullptr);
template <int D>
void fitColumns(const Columns<D, const double>& reference, const Columns<D>& subject,
                Eigen::Index k, const Columns<D>* sum, FitStep<D>* step = nullptr) {
  if (k == 0) return;
  using Index = Eigen::Index;
  const Index whole = k - k % kLanes;

  // 1. The centroid.
  std::array<double, D> c;
  for (int d = 0; d < D; ++d) {
    c[d] = Eigen::Map<const Eigen::VectorXd>(subject[d], k).sum() / static_cast<double>(k);
  }

  // 2. The centred sums.
  std::array<Lanes, D> squares;
  std::array<std::array<Lanes, D>, D> cross;
  for (int a = 0; a < D; ++a) {
    squares[a].setZero();
    for (int b = 0; b < D; ++b) cross[a][b].setZero();
  }
  for (Index j = 0; j < whole; j += kLanes) {
    std::array<Lanes, D> x;
    std::array<Lanes, D> r;
    for (int d = 0; d < D; ++d) {
      x[d] = loadLanes(subject[d] + j) - c[d];
      r[d] = loadLanes(reference[d] + j);
    }
    for (int a = 0; a < D; ++a) {
      squares[a] += x[a] * x[a];
      for (int b = 0; b < D; ++b) cross[a][b] += x[a] * r[b];
    }
  }
  double sizeSquared = 0;
  Square<D> a;
  for (int row = 0; row < D; ++row) {
    sizeSquared += squares[row].sum();
    for (int col = 0; col < D; ++col) a(row, col) = cross[row][col].sum();
  }
  for (Index j = whole; j < k; ++j) {
    std::array<double, D> x;
    for (int d = 0; d < D; ++d) x[d] = subject[d][j] - c[d];
    for (int row = 0; row < D; ++row) {
      sizeSquared += x[row] * x[row];
      for (int col = 0; col < D; ++col) a(row, col) += x[row] * reference[col][j];
    }
  }
  const double size = std::sqrt(sizeSquared);

  // The rotation of the scaled subject, checked.
  const FitStep<D> done{c, rotationOf<D>(a / size), size};
  if (!step) checkRotation<D>(done.rotation);

  // 3. The fitted subject, and the running sum.
  applyFit<D>(done, subject, k, sum);
  if (step) *step = done;
}

// Centres `subject` (k x D), scales it to centroid size 1 and turns it onto
// `reference`, in place, with the console self-check of the rotation.
template <int D>
void fitOnto(const Eigen::Ref<const Eigen::MatrixXd>& reference,
             Eigen::Ref<Eigen::MatrixXd> subject, const char* caller) {
  if (subject.cols() != D || reference.rows() != subject.rows() || reference.cols() != D) {
    throw notMatching(caller, D);
  }
  fitColumns<D>(constColumnsOf<D>(reference), columnsOf<D>(subject), subject.rows(), nullptr);
}

inline void centre(Eigen::MatrixXd& x) {
  const Eigen::RowVectorXd centroid = x.colwise().mean();
  x.rowwise() -= centroid;
}

// The specimens of a stack, visited in place, in order.
template <int D>
class StackPages {
 public:
  static constexpr bool kTwoCores = false;
  explicit StackPages(BasicConfigStack<D>& stack) : stack_(stack) {}
  Eigen::Index count() const { return stack_.specimens(); }
  Eigen::Index landmarks() const { return stack_.landmarks(); }
  // Calls visit(page) for every specimen; `changes` says whether it writes.
  template <class Visit>
  void visit(Visit&& visit, bool /*changes*/) {
    for (Eigen::Index i = 0; i < count(); ++i) visit(stack_.page(i));
  }
  // Calls work(i, page) and then add(i, page) for every specimen i, in
  // order.
  template <class Work, class Add>
  void visitInOrder(Work&& work, Add&& add, bool /*changes*/) {
    for (Eigen::Index i = 0; i < count(); ++i) {
      auto page = stack_.page(i);
      work(i, page);
      add(i, page);
    }
  }

 private:
  BasicConfigStack<D>& stack_;
};

// The specimens of a data set, N x (D k + 1) with one specimen per row and
// the size column last, visited in order: a few at a time are copied into
// the pages of a small stack, column by column so that the column-major
// rows are read a cache line at a time, and copied back where they change.
// The pages are those of a stack, so a fit over them does the very same
// arithmetic as over the data set's stack, without a second copy of the
// data set in memory.
//
// visitInOrder works on two blocks at once, one on each of two cores where
// the data set has more than one block: a large data set is read from
// memory twice as fast by two cores as by one. Only the work on a page runs
// on either core; what is added up is added in the specimens' order, one
// specimen after the other, so the sums and every later number are the same
// to the last bit however many cores there are.
template <int D>
class RowPages {
 public:
  static constexpr bool kTwoCores = true;
  explicit RowPages(Eigen::MatrixXd& rows) : rows_(rows), landmarks_(rows.cols() / D) {
    // Blocks of some 2 MB, and at least 16 specimens: each column gives a
    // block whole cache lines, and a long row's many pages of memory are
    // visited once a block rather than once a specimen.
    const Eigen::Index pageBytes = std::max<Eigen::Index>(1, landmarks_ * D * 8);
    block_ = std::clamp<Eigen::Index>((Eigen::Index{1} << 21) / pageBytes, 16, 64);
    block_ = std::min(block_, std::max<Eigen::Index>(1, rows.rows()));
  }
  Eigen::Index count() const { return rows_.rows(); }
  Eigen::Index landmarks() const { return landmarks_; }
  template <class Visit>
  void visit(Visit&& visit, bool changes) {
    for (Eigen::Index first = 0; first < count(); first += block_) {
      const Eigen::Index n = std::min(block_, count() - first);
      BasicConfigStack<D>& pages = pagesOf(0);
      gather(pages, first, n);
      for (Eigen::Index b = 0; b < n; ++b) visit(pages.page(b));
      if (changes) scatter(pages, first, n);
    }
  }
  // Calls work(i, page) for every specimen i, on either core, and add(i,
  // page) for every specimen in order, one at a time.
  template <class Work, class Add>
  void visitInOrder(Work&& work, Add&& add, bool changes) {
    const Eigen::Index blocks = (count() + block_ - 1) / block_;
    InOrder turns;
    ontwocores(blocks > 1, [&](int lane, int lanes) {
      turns.run([&] {
        BasicConfigStack<D>& pages = pagesOf(lane);
        for (Eigen::Index block = lane; block < blocks; block += lanes) {
          const Eigen::Index first = block * block_;
          const Eigen::Index n = std::min(block_, count() - first);
          gather(pages, first, n);
          for (Eigen::Index b = 0; b < n; ++b) work(first + b, pages.page(b));
          if (changes) scatter(pages, first, n);
          if (!turns.waitFor(block)) return;
          for (Eigen::Index b = 0; b < n; ++b) add(first + b, pages.page(b));
          turns.done(block + 1);
        }
      });
    });
    turns.rethrow();
  }

 private:
  // The turns of the lanes that take the blocks by turns: a lane adds its
  // block once every block before it has been added. A lane that fails
  // stops both, and the failure is thrown once both have stopped.
  class InOrder {
   public:
    template <class Body>
    void run(const Body& body) {
      try {
        body();
      } catch (...) {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!failure_) failure_ = std::current_exception();
        stopped_ = true;
        turn_.notify_all();
      }
    }
    // Waits until `block` is the next to add; false where a lane failed.
    bool waitFor(Eigen::Index block) {
      std::unique_lock<std::mutex> lock(mutex_);
      turn_.wait(lock, [&] { return stopped_ || next_ == block; });
      return !stopped_;
    }
    void done(Eigen::Index next) {
      {
        const std::lock_guard<std::mutex> lock(mutex_);
        next_ = next;
      }
      turn_.notify_all();
    }
    void rethrow() {
      if (failure_) std::rethrow_exception(failure_);
    }

   private:
    std::mutex mutex_;
    std::condition_variable turn_;
    Eigen::Index next_ = 0;
    bool stopped_ = false;
    std::exception_ptr failure_;
  };

  // The pages of a lane, made when first needed.
  BasicConfigStack<D>& pagesOf(int lane) {
    BasicConfigStack<D>& pages = pages_[static_cast<size_t>(lane)];
    if (pages.empty()) pages = BasicConfigStack<D>(landmarks_, block_);
    return pages;
  }
  void gather(BasicConfigStack<D>& pages, Eigen::Index first, Eigen::Index n) const {
    for (Eigen::Index j = 0; j < landmarks_; ++j) {
      for (int c = 0; c < D; ++c) {
        const double* column = rows_.col(D * j + c).data() + first;
        for (Eigen::Index b = 0; b < n; ++b) pages(j, c, b) = column[b];
      }
    }
  }
  void scatter(BasicConfigStack<D>& pages, Eigen::Index first, Eigen::Index n) {
    for (Eigen::Index j = 0; j < landmarks_; ++j) {
      for (int c = 0; c < D; ++c) {
        double* column = rows_.col(D * j + c).data() + first;
        for (Eigen::Index b = 0; b < n; ++b) column[b] = pages(j, c, b);
      }
    }
  }

  Eigen::MatrixXd& rows_;
  Eigen::Index landmarks_;
  Eigen::Index block_ = 1;
  std::array<BasicConfigStack<D>, 2> pages_;
};

// The first reference: the sum of the raw configurations, centred and scaled
// to size 1, or, where that sum has no size, the first specimen that has one,
// centred and scaled to size 1.
template <int D, class Pages>
Eigen::MatrixXd startReference(Pages& data) {
  const Eigen::Index count = data.count();
  // One pass over the specimens: each page is measured and summed while in
  // cache.
  Eigen::MatrixXd reference = Eigen::MatrixXd::Zero(data.landmarks(), D);
  double magnitude = 0;
  std::vector<double> norms(static_cast<size_t>(count));
  data.visitInOrder(
      [&](Eigen::Index i, const auto& page) { norms[static_cast<size_t>(i)] = page.norm(); },
      [&](Eigen::Index i, const auto& page) {
        reference += page;
        magnitude += norms[static_cast<size_t>(i)];
      },
      false);
  centre(reference);
  const double size = centsize3Da(reference);

  // Summing the configurations and centring the sum round it by at most
  // about (count + 2) eps / 2 times the summed norms of the raw coordinates:
  // raw, location included, since far from the origin the location sets the
  // rounding. A size no larger than count eps times that may be rounding
  // alone, its shape noise; configurations that cancel out, such as flat
  // specimens each paired with its half-turn, leave exactly that. The same
  // test tells a specimen whose landmarks all coincide.
  const double tolerance = static_cast<double>(count) * std::numeric_limits<double>::epsilon();
  if (size > tolerance * magnitude) {
    reference /= size;
    return reference;
  }
  std::optional<Eigen::MatrixXd> first;
  data.visit(
      [&](const auto& page) {
        if (first) return;
        Eigen::MatrixXd x = page;
        centre(x);
        const double specimenSize = centsize3Da(x);
        if (specimenSize > tolerance * page.norm()) first = x / specimenSize;
      },
      false);
  if (first) return *first;
  // No specimen has a shape to start from either (for a stack of one, the
  // test above was this one).
  reference /= size;
  return reference;
}

// How many rounds the superimposition does (GpaRounds): by default exactly
// three, as the standardization is defined; with converge, rounds go on
// until the change of the mean shape is at most `tolerance`, and at most
// maxRounds of them. The change of a round is the Frobenius norm
// |new - previous| of the difference between the new reference and the one
// the round fitted onto, both k x D, centred and of centroid size 1. What
// was done comes back as a GpaReport.
using Rounds = GpaRounds;

// Generalized Procrustes superimposition of the specimens of `data` in
// their own memory: the start reference, then rounds of fitting every
// specimen onto the reference and taking their mean, scaled to size 1, as
// the next one; exactly three by default, else as `rounds` says. The
// specimens are left as the last round fitted them, the reference is the
// mean of those fits at size 1. A converging fit whose change is not finite
// stops there, not converged. A stack of one specimen is only centred and
// scaled: no round, change 0 (converged, with converge).
// Throws std::invalid_argument for a tolerance that is negative or not a
// number, or fewer than one round allowed.
//
// Example:
//   GpaReport done = superimposePages<3>(pages, mean, "getpproc3", Rounds{.converge = true});
template <int D, class Pages>
GpaReport superimposePages(Pages& data, Eigen::MatrixXd& reference, const char* caller,
                           const Rounds& rounds = {}) {
  if (data.count() == 0 || data.landmarks() == 0) {
    throw std::invalid_argument(std::string(caller) + ": the stack holds no specimen");
  }
  if (rounds.converge && !(rounds.tolerance >= 0 && rounds.maxRounds >= 1)) {
    throw std::invalid_argument(std::string(caller) +
                                ": a converging fit needs a tolerance of at least 0 and at "
                                "least one round");
  }
  const Eigen::Index count = data.count();
  const Eigen::Index landmarks = data.landmarks();

  GpaReport done;
  done.asDefined = !rounds.converge;
  reference = startReference<D>(data);
  if (count == 1) {
    data.visit([&](auto page) { page = reference; }, true);
    if (rounds.converge) done = GpaReport{1, 0.0, true, false};
    return done;
  }

  const int most = rounds.converge ? rounds.maxRounds : 3;
  Eigen::MatrixXd sum(landmarks, D);
  Eigen::MatrixXd previous(landmarks, D);
  const Columns<D> sumColumns = columnsOf<D>(sum);
  // Where the pages are fitted on two cores, each specimen's rotation is
  // checked, and its fit added into the sum, afterwards in the specimens'
  // order: the very same additions as a fit that adds as it goes. The data
  // set is written back only every third round and in the last: the rounds
  // between keep what each fit did, and the next round does those fits
  // again from the data as they are, to the last bit, rather than reading
  // them back from memory.
  std::vector<std::array<FitStep<D>, 3>> steps(Pages::kTwoCores ? static_cast<size_t>(count) : 0);
  int unwritten = 0;
  const auto redo = [&](Eigen::Index i, auto& page) {
    for (int r = 0; r < unwritten; ++r) {
      applyFit<D>(steps[static_cast<size_t>(i)][static_cast<size_t>(r)], columnsOf<D>(page),
                  landmarks, nullptr);
    }
  };
  done.rounds = 0;
  while (done.rounds < most) {
    sum.setZero();
    previous = reference;
    const Columns<D, const double> referenceColumns = constColumnsOf<D>(previous);
    if constexpr (Pages::kTwoCores) {
      const bool write = done.rounds + 1 == most || unwritten == 2;
      data.visitInOrder(
          [&](Eigen::Index i, auto page) {
            redo(i, page);
            fitColumns<D>(referenceColumns, columnsOf<D>(page), landmarks, nullptr,
                          &steps[static_cast<size_t>(i)][static_cast<size_t>(unwritten)]);
          },
          [&](Eigen::Index i, const auto& page) {
            checkRotation<D>(
                steps[static_cast<size_t>(i)][static_cast<size_t>(unwritten)].rotation);
            sum += page;
          },
          write);
      unwritten = write ? 0 : unwritten + 1;
    } else {
      data.visit(
          [&](auto page) {
            fitColumns<D>(referenceColumns, columnsOf<D>(page), landmarks, &sumColumns);
          },
          true);
    }
    reference = sum / static_cast<double>(count);
    reference /= centsize3Da(reference);
    ++done.rounds;
    done.lastChange = (reference - previous).norm();
    if (!rounds.converge) continue;
    if (done.lastChange <= rounds.tolerance) {
      done.converged = true;
      break;
    }
    if (!std::isfinite(done.lastChange)) break;
  }
  if constexpr (Pages::kTwoCores) {
    // A converging fit can stop after a round that was not written back.
    if (unwritten > 0) {
      data.visitInOrder([&](Eigen::Index i, auto page) { redo(i, page); },
                        [](Eigen::Index, const auto&) {}, true);
    }
  }
  return done;
}

template <int D>
GpaReport superimpose(BasicConfigStack<D>& sdata, Eigen::MatrixXd& reference, const char* caller,
                      const Rounds& rounds = {}) {
  if (sdata.empty())
    throw std::invalid_argument(std::string(caller) + ": the stack holds no specimen");
  StackPages<D> pages(sdata);
  return superimposePages<D>(pages, reference, caller, rounds);
}

// The same superimposition of the specimens of a data set (N x (D k + 1),
// one specimen per row, the size column last), in the data set's memory.
template <int D>
GpaReport superimposeRows(Eigen::MatrixXd& data, Eigen::MatrixXd& reference, const char* caller,
                          const Rounds& rounds = {}) {
  RowPages<D> pages(data);
  return superimposePages<D>(pages, reference, caller, rounds);
}

}  // namespace tarvolin::procrustesfit
