#include "numerics/superimposedataset.h"

#include "geometrytesting.h"
#include "landmarks/vertxy2D.h"
#include "landmarks/vertxy3D.h"
#include "landmarks/xyfromvert2.h"
#include "landmarks/xyzfromvert3.h"
#include "numerics/centsize3Da.h"
#include "numerics/getpproc2D.h"
#include "numerics/getpproc3.h"
#include "numerics/gparounds.h"
#include "numerics/partialprocrustes2D.h"
#include "numerics/partialprocrustes3a.h"
#include "numerics/procrustesfit.h"
#include "numerics/standardsize.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::assert_near;

// Specimens whose landmark 1 moves along X with size, turned and moved at random.
Eigen::MatrixXd allometricDataSet(std::mt19937& engine, const Eigen::VectorXd& sizes) {
  const Eigen::MatrixXd base = testing::randomConfiguration(engine, 6);
  std::normal_distribution<double> noise(0.0, 0.01);
  Eigen::MatrixXd data(sizes.size(), 19);
  for (Eigen::Index i = 0; i < sizes.size(); ++i) {
    Eigen::MatrixXd shape = base;
    shape(0, 0) += 0.5 * sizes(i);
    for (Eigen::Index j = 0; j < shape.size(); ++j) shape(j) += noise(engine);
    shape = sizes(i) * shape * testing::randomRotation(engine);
    for (Eigen::Index j = 0; j < 6; ++j) data.block(i, 3 * j, 1, 3) = shape.row(j);
    data(i, 18) = sizes(i);
  }
  return data;
}

// Largest slope of any coordinate column on x.
double largestSlope(const Eigen::MatrixXd& data, const Eigen::VectorXd& x) {
  return standardsize(data, x, 0.0).tvect.col(0).cwiseAbs().maxCoeff();
}

TEST(Superimposedataset, CarriesTheSizeColumnAndAgreesWithItsStack) {
  std::mt19937 engine(16);
  const Eigen::VectorXd sizes = Eigen::VectorXd::LinSpaced(12, 1.0, 3.0);
  const Eigen::MatrixXd data = allometricDataSet(engine, sizes);
  const SuperimposedDataSet s = superimposedataset(data, testing::noNotes());
  EXPECT_EQ(s.data.col(18), data.col(18));
  EXPECT_EQ(vertxy3D(s.data), s.stack);
  EXPECT_NEAR(centsize3Da(s.mean), 1.0, 1e-14);
}

TEST(StandardizedThenSuperimposed, RemovesTheShapeChangeThatFollowsSize) {
  std::mt19937 engine(17);
  const Eigen::VectorXd sizes = Eigen::VectorXd::LinSpaced(20, 1.0, 3.0);
  const SuperimposedDataSet loaded =
      superimposedataset(allometricDataSet(engine, sizes), testing::noNotes());
  const SuperimposedDataSet standardized =
      superimposedataset(standardsize(loaded.data, sizes, 1.0).y, testing::noNotes());

  EXPECT_GT(largestSlope(loaded.data, sizes), 0.01);
  EXPECT_LT(largestSlope(standardized.data, sizes), 1e-3 * largestSlope(loaded.data, sizes));
  EXPECT_EQ(standardized.data.col(18), loaded.data.col(18));
}

TEST(Superimposedataset, FlatDataAreFittedIn2DWithTheSizeColumnCarried) {
  Eigen::MatrixXd data = Eigen::MatrixXd::Random(7, 11);
  data.col(10) = Eigen::VectorXd::LinSpaced(7, 1.0, 2.0);
  EXPECT_EQ(xyfromvert2(vertxy2D(data), data.col(10)), data);

  const Superimposition2D fitted = getpproc2D(vertxy2D(data), testing::noNotes());
  const SuperimposedDataSet s = superimposedataset(data, testing::noNotes(), 2);
  EXPECT_EQ(s.data, xyfromvert2(fitted.sdata, data.col(10)));
  EXPECT_EQ(s.mean, fitted.reference);
  EXPECT_TRUE(s.stack.empty());

  const SuperimposedDataSet standardized =
      superimposedataset(standardsize(s.data, data.col(10), 1.5).y, testing::noNotes(), 2);
  EXPECT_EQ(standardized.data.cols(), 11);
  EXPECT_EQ(standardized.data.col(10), data.col(10));
  EXPECT_NEAR(centsize3Da(standardized.mean), 1.0, 1e-14);
}

// The data set is superimposed in its own memory a block of specimens at a
// time; it must come out exactly as getpproc3 / getpproc2D fit its stack:
// one specimen, a block and one more, several blocks, data far from the
// origin, and flat specimens paired with their half-turns (whose sum has no
// shape, so the first reference is a specimen's).
TEST(Superimposedataset, InPlaceFitEqualsTheStackFitExactly) {
  struct Case {
    Eigen::Index specimens, landmarks;
    int dims;
    double offset;
    bool halfTurns;
  };
  for (const Case& c :
       {Case{1, 5, 3, 0, false}, Case{9, 7, 3, 0, false}, Case{150, 3, 3, 1e3, false},
        Case{130, 41, 2, 0, false}, Case{10, 6, 2, 0, true}}) {
    SCOPED_TRACE(::testing::Message() << c.specimens << " x " << c.landmarks << " x " << c.dims);
    Eigen::MatrixXd data =
        Eigen::MatrixXd::Random(c.specimens, c.dims * c.landmarks + 1).array() + c.offset;
    if (c.halfTurns) {
      for (Eigen::Index i = 1; i < c.specimens; i += 2) data.row(i) = -data.row(i - 1);
    }
    data.col(c.dims * c.landmarks).setLinSpaced(1.0, 2.0);
    const SuperimposedDataSet s =
        superimposedataset(data, testing::noNotes(), c.dims, /*withStack=*/false);
    EXPECT_TRUE(s.stack.empty());
    EXPECT_EQ(s.fit.rounds, 3);
    EXPECT_TRUE(s.fit.asDefined);
    EXPECT_FALSE(s.fit.converged);
    if (c.dims == 3) {
      const Superimposition fitted = getpproc3(vertxy3D(data), testing::noNotes());
      EXPECT_EQ(s.data, xyzfromvert3(fitted.sdata, data.col(3 * c.landmarks)));
      EXPECT_EQ(s.mean, fitted.reference3);
    } else {
      const Superimposition2D fitted = getpproc2D(vertxy2D(data), testing::noNotes());
      EXPECT_EQ(s.data, xyfromvert2(fitted.sdata, data.col(2 * c.landmarks)));
      EXPECT_EQ(s.mean, fitted.reference);
    }
  }
}

// A data set of several blocks is written back only every third round and
// in the last; a converging fit that stops between must still leave every
// specimen as its last round fitted it, exactly as the fit of the stack.
TEST(Superimposedataset, ConvergingInPlaceFitEqualsTheStackFitExactly) {
  struct Case {
    double tolerance;
    int maxRounds;
  };
  std::mt19937 engine(5);
  std::normal_distribution<double> noise(0.0, 0.3);
  const Eigen::MatrixXd base = testing::randomConfiguration(engine, 5);
  Eigen::MatrixXd data(150, 16);
  for (Eigen::Index i = 0; i < data.rows(); ++i) {
    Eigen::MatrixXd x = base;
    for (Eigen::Index j = 0; j < x.size(); ++j) x(j) += noise(engine);
    x *= testing::randomRotation(engine);
    for (Eigen::Index j = 0; j < 5; ++j) data.block(i, 3 * j, 1, 3) = x.row(j);
    data(i, 15) = 1.0;
  }
  for (const Case& c :
       {Case{0.5, 100}, Case{1e-3, 100}, Case{1e-12, 100}, Case{0, 4}, Case{0, 5}, Case{0, 7}}) {
    SCOPED_TRACE(::testing::Message()
                 << "tolerance " << c.tolerance << ", " << c.maxRounds << " rounds at most");
    const GpaRounds rounds{.converge = true, .tolerance = c.tolerance, .maxRounds = c.maxRounds};
    const SuperimposedDataSet s = superimposedataset(data, testing::noNotes(), 3, false, rounds);
    ConfigStack stack = vertxy3D(data);
    Eigen::MatrixXd mean;
    const GpaReport fit =
        procrustesfit::superimpose<3>(stack, mean, "getpproc3", testing::noNotes(), rounds);
    EXPECT_EQ(s.fit.rounds, fit.rounds);
    EXPECT_EQ(s.fit.lastChange, fit.lastChange);
    EXPECT_EQ(s.mean, mean);
    EXPECT_EQ(s.data, xyzfromvert3(stack, data.col(15)));
  }
}

// Specimen i of a data set (N x (dims k + 1)) as a k x dims configuration.
Eigen::MatrixXd specimenOf(const Eigen::MatrixXd& data, Eigen::Index i, int dims) {
  const Eigen::Index k = (data.cols() - 1) / dims;
  Eigen::MatrixXd x(k, dims);
  for (Eigen::Index j = 0; j < k; ++j) {
    for (int d = 0; d < dims; ++d) x(j, d) = data(i, dims * j + d);
  }
  return x;
}

// A converging fit runs until the mean shape changes by at most the
// tolerance; its mean is then a fixed point: fitting every specimen onto it
// once more and averaging gives it back. The default fit stays the three
// rounds of getpproc3 / getpproc2D, exactly; a fit that runs out of rounds
// says so.
TEST(Superimposedataset, RoundsConvergeToAFixedPointOrStopAsAsked) {
  struct Case {
    int dims;
    Eigen::Index specimens, landmarks;
    GpaRounds rounds;
    bool converged;
  };
  const GpaRounds converge{.converge = true, .tolerance = 1e-10, .maxRounds = 1000};
  const GpaRounds tooFew{.converge = true, .tolerance = 0, .maxRounds = 2};
  std::mt19937 engine(23);
  std::normal_distribution<double> noise(0.0, 0.2);
  for (const Case& c : {Case{3, 30, 8, converge, true}, Case{2, 25, 12, converge, true},
                        Case{3, 1, 4, converge, true}, Case{3, 20, 6, tooFew, false},
                        Case{3, 20, 6, GpaRounds{}, false}, Case{2, 15, 5, GpaRounds{}, false}}) {
    SCOPED_TRACE(::testing::Message() << c.specimens << " x " << c.landmarks << " x " << c.dims
                                      << (c.rounds.converge ? " converging" : " default"));
    // Noisy copies of one shape, each turned, scaled and moved.
    Eigen::MatrixXd base = testing::randomConfiguration(engine, c.landmarks).leftCols(c.dims);
    Eigen::MatrixXd data(c.specimens, c.dims * c.landmarks + 1);
    for (Eigen::Index i = 0; i < c.specimens; ++i) {
      Eigen::MatrixXd x = base;
      for (Eigen::Index j = 0; j < x.size(); ++j) x(j) += noise(engine);
      x = (c.dims == 3 ? x * testing::randomRotation(engine)
                       : Eigen::MatrixXd(x * testing::randomRotation2D(engine))) *
              (1.0 + static_cast<double>(i)) +
          Eigen::MatrixXd::Constant(c.landmarks, c.dims, 5.0);
      for (Eigen::Index j = 0; j < c.landmarks; ++j) {
        data.block(i, c.dims * j, 1, c.dims) = x.row(j);
      }
      data(i, c.dims * c.landmarks) = 1.0 + static_cast<double>(i);
    }

    const SuperimposedDataSet s =
        superimposedataset(data, testing::noNotes(), c.dims, true, c.rounds);
    EXPECT_EQ(s.fit.asDefined, !c.rounds.converge);
    EXPECT_EQ(s.fit.converged, c.converged);
    EXPECT_NEAR(centsize3Da(s.mean), 1.0, 1e-14);
    EXPECT_EQ(s.data.col(c.dims * c.landmarks), data.col(c.dims * c.landmarks));
    if (!c.rounds.converge) {
      EXPECT_EQ(s.fit.rounds, 3);
      EXPECT_EQ(s.mean, c.dims == 3 ? getpproc3(vertxy3D(data), testing::noNotes()).reference3
                                    : getpproc2D(vertxy2D(data), testing::noNotes()).reference);
      continue;
    }
    if (!c.converged) {
      EXPECT_EQ(s.fit.rounds, c.rounds.maxRounds);
      EXPECT_GT(s.fit.lastChange, c.rounds.tolerance);
      continue;
    }
    EXPECT_GE(s.fit.rounds, 1);
    EXPECT_LE(s.fit.lastChange, c.rounds.tolerance);
    Eigen::MatrixXd again = Eigen::MatrixXd::Zero(c.landmarks, c.dims);
    for (Eigen::Index i = 0; i < c.specimens; ++i) {
      const Eigen::MatrixXd x = specimenOf(s.data, i, c.dims);
      again += c.dims == 3 ? partialprocrustes3a(s.mean, x, testing::noNotes())
                           : partialprocrustes2D(s.mean, x, testing::noNotes());
    }
    again /= centsize3Da(again);
    EXPECT_LE((again - s.mean).cwiseAbs().maxCoeff(), 1e-9);
  }
}

TEST(Gpareporttext, SaysWhatTheFitDid) {
  struct Case {
    GpaReport report;
    const char* text;
    GpaReportFor reader = GpaReportFor::commandLine;
  };
  const auto slid = [](int rounds, double change, bool converged, SlideCriterion criterion,
                       SlideOrder order) {
    return GpaReport{rounds, change, converged, false, true, criterion, order};
  };
  const SlideCriterion be = SlideCriterion::bendingEnergy;
  const SlideOrder standard = SlideOrder::reference, refit = SlideOrder::refit;
  for (const Case& c :
       {Case{GpaReport{3, 1.234e-5, false, true}, "3 rounds, as the standardization is defined"},
        Case{GpaReport{9, 3.2e-11, true, false}, "converged in 9 rounds, last change 3.2e-11"},
        Case{GpaReport{1, 0.0, true, false}, "converged in 1 round, last change 0"},
        Case{GpaReport{1000, 4.1234e-7, false, false},
             "did not converge in 1000 rounds, last change 4.1e-07"},
        Case{slid(4, 3.2e-5, true, be, standard),
             "semilandmarks slid by bending energy, default order, converged in 4 rounds, last "
             "change 3.2e-05"},
        Case{slid(5, 2e-6, true, SlideCriterion::procrustesDistance, refit),
             "semilandmarks slid by Procrustes distance, refit order, converged in 5 rounds, "
             "last change 2e-06"},
        Case{slid(9, 0.0141, false, be, standard),
             "semilandmarks slid by bending energy, default order, did not converge in 9 rounds "
             "(last change 0.014): the result of the last round is kept, as in the field's "
             "reference analysis, its semilandmarks not yet at rest; this order seldom settles "
             "with more --slide-rounds (the specimens drift in size): a larger --slide-tolerance "
             "would accept it, --slide-order refit converges"},
        Case{slid(1, 0.5, false, be, refit),
             "semilandmarks slid by bending energy, refit order, did not converge in 1 round "
             "(last change 0.5): the result of the last round is kept, its semilandmarks not yet "
             "at rest; more --slide-rounds or a larger --slide-tolerance would let it settle"},
        Case{slid(9, 0.0141, false, be, standard),
             "semilandmarks slid by bending energy, default order, did not converge in 9 rounds "
             "(last change 0.014): the result of the last round is kept, as in the field's "
             "reference analysis, its semilandmarks not yet at rest; choose the refit order, "
             "which converges, to let them settle",
             GpaReportFor::window},
        Case{slid(9, 0.0141, false, be, refit),
             "semilandmarks slid by bending energy, refit order, did not converge in 9 rounds "
             "(last change 0.014): the result of the last round is kept, its semilandmarks not "
             "yet at rest; more rounds (the command line's --slide-rounds) would let them settle",
             GpaReportFor::window}}) {
    EXPECT_EQ(gpareporttext(c.report, c.reader), c.text);
  }
  EXPECT_EQ(slideroundtext({.round = 3, .maxRounds = 9, .slid = 40, .specimens = 40, .change = 0.012345}),
            "sliding: round 3 of at most 9, change 0.0123");
  EXPECT_EQ(slideroundtext({.round = 1, .maxRounds = 9, .slid = 12, .specimens = 40}),
            "sliding: round 1 of at most 9, 12 of 40 specimens slid");
  EXPECT_EQ(slideroundtext({.round = 1, .maxRounds = 9, .slid = 12, .specimens = 40},
                           GpaReportFor::window),
            "Sliding: round 1 of at most 9, 12 of 40 specimens slid ...");
}

}  // namespace
}  // namespace tarvolin
