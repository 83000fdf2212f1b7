#include "numerics/superimposepages.h"

#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "numerics/centsize3Da.h"
#include "numerics/fitcolumns.h"
#include "numerics/rowpages.h"
#include "numerics/stackpages.h"

namespace tarvolin::procrustesfit {
namespace {

void centre(Eigen::MatrixXd& x) {
  const Eigen::RowVectorXd centroid = x.colwise().mean();
  x.rowwise() -= centroid;
}

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

}  // namespace

template <int D, class Pages>
GpaReport superimposePages(Pages& data, Eigen::MatrixXd& reference, const char* caller,
                           const TextSink& notes, const Rounds& rounds) {
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
  // Where the pages are fitted on many cores, each specimen's rotation is
  // checked, and its fit added into the sum, afterwards in the specimens'
  // order: the very same additions as a fit that adds as it goes. The data
  // set is written back only every third round and in the last: the rounds
  // between keep what each fit did, and the next round does those fits
  // again from the data as they are, to the last bit, rather than reading
  // them back from memory.
  std::vector<std::array<FitStep<D>, 3>> steps(Pages::kManyCores ? static_cast<size_t>(count) : 0);
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
    if constexpr (Pages::kManyCores) {
      const bool write = done.rounds + 1 == most || unwritten == 2;
      data.visitInOrder(
          [&](Eigen::Index i, auto page) {
            redo(i, page);
            fitColumns<D>(referenceColumns, columnsOf<D>(page), landmarks, nullptr, notes,
                          &steps[static_cast<size_t>(i)][static_cast<size_t>(unwritten)]);
          },
          [&](Eigen::Index i, const auto& page) {
            checkRotation<D>(steps[static_cast<size_t>(i)][static_cast<size_t>(unwritten)].rotation,
                             notes);
            sum += page;
          },
          write);
      unwritten = write ? 0 : unwritten + 1;
    } else {
      data.visit(
          [&](auto page) {
            fitColumns<D>(referenceColumns, columnsOf<D>(page), landmarks, &sumColumns, notes);
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
  if constexpr (Pages::kManyCores) {
    // A converging fit can stop after a round that was not written back.
    if (unwritten > 0) {
      data.visitInOrder([&](Eigen::Index i, auto page) { redo(i, page); },
                        [](Eigen::Index, const auto&) {}, true);
    }
  }
  return done;
}

template GpaReport superimposePages<2>(StackPages<2>&, Eigen::MatrixXd&, const char*,
                                       const TextSink&, const Rounds&);
template GpaReport superimposePages<3>(StackPages<3>&, Eigen::MatrixXd&, const char*,
                                       const TextSink&, const Rounds&);
template GpaReport superimposePages<2>(RowPages<2>&, Eigen::MatrixXd&, const char*, const TextSink&,
                                       const Rounds&);
template GpaReport superimposePages<3>(RowPages<3>&, Eigen::MatrixXd&, const char*, const TextSink&,
                                       const Rounds&);

}  // namespace tarvolin::procrustesfit
