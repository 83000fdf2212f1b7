#include "numerics/slidegpa.h"

#include <cmath>
#include <random>
#include <stdexcept>

#include "core/onallcores.h"
#include "numerics/centsize3Da.h"
#include "numerics/slidestep.h"
#include "tests/numerics/geometrytesting.h"
#include "tests/numerics/slidetesting.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using Eigen::Index;
using testing::assert_near;

// N specimens of the shape of slidingShape, each changed a little, turned,
// moved and scaled.
struct Sample {
  std::vector<Eigen::MatrixXd> configs;
  Sliders sliders;
};

Sample sampleOf(int dims, Index n, unsigned seed) {
  std::mt19937 engine(seed);
  std::normal_distribution<double> normal(0.0, 1.0);
  Sample sample;
  const Eigen::MatrixXd base = testing::slidingShape(dims, dims == 2 ? 9 : 6, sample.sliders, seed);
  for (Index s = 0; s < n; ++s) {
    const Eigen::MatrixXd turn = dims == 3 ? Eigen::MatrixXd(testing::randomRotation(engine))
                                           : Eigen::MatrixXd(testing::randomRotation2D(engine));
    sample.configs.push_back((testing::perturbed(base, engine, 0.06) * turn *
                              (1 + 0.3 * std::abs(normal(engine))))
                                 .rowwise() +
                             Eigen::RowVectorXd::Constant(dims, normal(engine)));
  }
  return sample;
}

Eigen::MatrixXd rowsOf(const std::vector<Eigen::MatrixXd>& configs) {
  const Index k = configs[0].rows(), d = configs[0].cols();
  Eigen::MatrixXd data(static_cast<Index>(configs.size()), d * k + 1);
  for (Index i = 0; i < data.rows(); ++i) {
    for (Index j = 0; j < k; ++j) {
      for (Index c = 0; c < d; ++c) data(i, j * d + c) = configs[static_cast<size_t>(i)](j, c);
    }
    data(i, d * k) = centsize3Da(configs[static_cast<size_t>(i)]);
  }
  return data;
}

struct FitCase {
  int dims;
  SlideCriterion criterion;
  int maxRounds;
  bool project;
  SlideOrder order = SlideOrder::reference;
};

// The fit against its steps written out with dense matrices, in either
// order: the same rounds, the same specimens and mean shape, on one core and
// on two; the size column untouched. The refit order converges where the
// default one needs not.
TEST(SlideGpa, FollowsItsStepsInOrder) {
  const SlideOrder refit = SlideOrder::refit;
  const FitCase cases[] = {{2, SlideCriterion::bendingEnergy, 9, false},
                           {2, SlideCriterion::procrustesDistance, 9, true},
                           {3, SlideCriterion::bendingEnergy, 9, false},
                           {3, SlideCriterion::bendingEnergy, 1, true},
                           {3, SlideCriterion::procrustesDistance, 9, false},
                           {2, SlideCriterion::bendingEnergy, 30, false, refit},
                           {2, SlideCriterion::procrustesDistance, 30, true, refit},
                           {3, SlideCriterion::bendingEnergy, 30, false, refit},
                           {3, SlideCriterion::bendingEnergy, 1, true, refit}};
  for (const FitCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.dims << "D, criterion " << static_cast<int>(c.criterion)
                                    << ", " << c.maxRounds << " rounds, project " << c.project);
    const Sample sample = sampleOf(c.dims, 7, static_cast<unsigned>(c.dims * 10 + c.maxRounds));
    Sliding slide;
    slide.sliders = sample.sliders;
    slide.criterion = c.criterion;
    slide.maxRounds = c.maxRounds;
    slide.project = c.project;
    slide.order = c.order;

    Eigen::MatrixXd expectedMean;
    int expectedRounds = 0;
    double expectedChange = 0;
    const std::vector<Eigen::MatrixXd> expected =
        c.order == refit
            ? testing::denseRefitFit(sample.configs, slide, expectedMean, expectedRounds,
                                     expectedChange)
            : testing::denseSlideFit(sample.configs, slide, expectedMean, expectedRounds);
    // Told of every specimen as it slides (on one core, in turn; on two,
    // those the calling thread slid), and of every round as it ends.
    const Index n = static_cast<Index>(sample.configs.size());
    const auto hook = [&](std::vector<SlideProgress>& told) {
      return [&told, &c, n](const SlideProgress& p) {
        EXPECT_EQ(p.maxRounds, c.maxRounds);
        EXPECT_EQ(p.specimens, n);
        EXPECT_GE(p.change.value_or(0.0), 0.0);
        told.push_back(p);
      };
    };
    std::vector<SlideProgress> told, toldTwo;
    const Eigen::MatrixXd data = rowsOf(sample.configs);
    Eigen::MatrixXd one = data, two = data, mean, meanTwo, unslid, unslidTwo;
    GpaReport fit;
    {
      LaneCount lanes(1);
      fit = slidegpa(one, mean, c.dims, slide, hook(told), &unslid, {});
    }
    {
      LaneCount lanes(2);
      slidegpa(two, meanTwo, c.dims, slide, hook(toldTwo), &unslidTwo, {});
    }
    ASSERT_EQ(told.size(), static_cast<size_t>(fit.rounds * n));
    for (size_t t = 0; t < told.size(); ++t) {
      const long slid = static_cast<long>(t) % n + 1;
      EXPECT_EQ(told[t].round, static_cast<int>(t) / n + 1);
      EXPECT_EQ(told[t].slid, slid);
      EXPECT_EQ(told[t].change.has_value(), slid == n);
    }
    EXPECT_EQ(*told.back().change, fit.lastChange);
    for (size_t t = 1; t < toldTwo.size(); ++t) {
      if (toldTwo[t].round == toldTwo[t - 1].round) {
        EXPECT_GT(toldTwo[t].slid, toldTwo[t - 1].slid);
      }
    }
    // Before sliding: the fixed landmarks where the slid specimen's are,
    // every point where the specimen as given has it, moved, scaled and
    // turned (its distances in one ratio to the given ones).
    ASSERT_EQ(unslid.rows(), n);
    ASSERT_EQ(unslid.cols(), one.cols() - 1);
    EXPECT_EQ(unslid, unslidTwo);
    std::vector<bool> slides(static_cast<size_t>(sample.configs[0].rows()), false);
    for (const CurveSlider& s : slide.sliders.curve) slides[static_cast<size_t>(s.point)] = true;
    for (const int p : slide.sliders.surface) slides[static_cast<size_t>(p)] = true;
    for (Index i = 0; i < n; ++i) {
      const Eigen::MatrixXd& given = sample.configs[static_cast<size_t>(i)];
      const auto ratio = [&](Index j) {
        return (unslid(i, Eigen::seqN(j * c.dims, c.dims)) - unslid(i, Eigen::seqN(0, c.dims)))
                   .norm() /
               (given.row(j) - given.row(0)).norm();
      };
      for (Index j = 0; j < given.rows(); ++j) {
        const auto at = Eigen::seqN(j * c.dims, c.dims);
        if (!slides[static_cast<size_t>(j)]) {
          EXPECT_EQ(unslid(i, at), one(i, at)) << i << " " << j;
        }
        if (!c.project && j > 1) {
          EXPECT_NEAR(ratio(j) / ratio(1), 1.0, 1e-9) << i << " " << j;
        }
      }
    }
    EXPECT_TRUE(fit.slid);
    EXPECT_FALSE(fit.asDefined);
    EXPECT_EQ(fit.order, c.order);
    EXPECT_EQ(fit.rounds, expectedRounds);
    EXPECT_EQ(fit.converged, fit.lastChange <= slide.tolerance);
    if (c.order == refit) {
      EXPECT_NEAR(fit.lastChange, expectedChange, 1e-9);
      EXPECT_EQ(fit.converged, c.maxRounds > 1);
    }
    EXPECT_TRUE(assert_near(one.leftCols(one.cols() - 1),
                            rowsOf(expected).leftCols(one.cols() - 1), 1e-10));
    EXPECT_TRUE(assert_near(mean, expectedMean, 1e-10));
    EXPECT_EQ(one.col(one.cols() - 1), data.col(data.cols() - 1));
    EXPECT_EQ(one, two);
    EXPECT_EQ(mean, meanTwo);
  }
}

// A semilandmark put far off its curve, and its neighbours with it, end
// where no curve would have them: the fit names them, with the specimen's
// row, in either order; the specimens as sampled have none astray.
TEST(SlideGpa, NamesTheSemilandmarksThatEndOffTheirCurve) {
  for (const SlideOrder order : {SlideOrder::reference, SlideOrder::refit}) {
    const Sample sample = sampleOf(2, 6, 5);
    Sliding slide;
    slide.sliders = sample.sliders;
    slide.order = order;
    Eigen::MatrixXd clean = rowsOf(sample.configs), mean;
    EXPECT_TRUE(slidegpa(clean, mean, 2, slide).strays.empty());
    std::vector<Eigen::MatrixXd> configs = sample.configs;
    // Point 9, mid-curve, of the fourth specimen: across its chord by 4
    // times the chord's length.
    const Eigen::RowVectorXd chord = configs[3].row(10) - configs[3].row(8);
    configs[3].row(9) += 4 * Eigen::RowVector2d(-chord(1), chord(0));
    Eigen::MatrixXd data = rowsOf(configs);
    const GpaReport fit = slidegpa(data, mean, 2, slide);
    // The curve, pulled out of shape there, and scaled down by the point
    // far out, ends off its curve somewhere; the others' point 9, against a
    // mean with a bump there, may stray a little too.
    int found = 0;
    for (const SlideStray& s : fit.strays) {
      if (s.row == 3 && s.kind == StrayKind::offCurve) ++found;
      if (s.kind == StrayKind::offCurve) {
        EXPECT_GT(s.distance, s.spacing);
      }
    }
    EXPECT_GE(found, 1);
  }
}

// Sliders that do not fit the data are the caller's fault; a specimen that
// cannot slide is named by its row.
TEST(SlideGpa, RefusesSlidersThatDoNotFitAndNamesTheSpecimenThatCannotSlide) {
  const Sample sample = sampleOf(2, 4, 8);
  const Eigen::MatrixXd data = rowsOf(sample.configs);
  const Sliders wrong[] = {Sliders{{{0, 1, 99}}, {}}, Sliders{{{0, 1, 2}, {3, 1, 4}}, {}},
                           Sliders{{{0, 1, 0}}, {}}, Sliders{{}, {6}}};
  for (const Sliders& sliders : wrong) {
    Eigen::MatrixXd copy = data, mean;
    Sliding slide;
    slide.sliders = sliders;
    EXPECT_THROW(slidegpa(copy, mean, 2, slide), std::invalid_argument);
  }
  Eigen::MatrixXd flat = data, mean;
  flat.block(2, 0, 1, 2) = flat.block(2, 4, 1, 2);  // landmark 1 onto landmark 3
  Sliding slide;
  slide.sliders = Sliders{{{0, 1, 2}}, {}};
  try {
    slidegpa(flat, mean, 2, slide);
    FAIL() << "no error";
  } catch (const SlideError& e) {
    EXPECT_STREQ(e.what(),
                 "specimen 3: semilandmark 2 has no direction to slide in: landmarks 1 and 3, "
                 "before and after it, lie at one place");
  }
}

}  // namespace
}  // namespace tarvolin
