#include "numerics/getpproc3.h"

#include <Eigen/SVD>

#include "geometrytesting.h"
#include "numerics/centsize3Da.h"
#include "numerics/getpproc2D.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::assert_near;

ConfigStack randomStack(std::mt19937& engine, Eigen::Index landmarks, Eigen::Index specimens) {
  ConfigStack stack(landmarks, specimens);
  for (Eigen::Index i = 0; i < specimens; ++i) {
    stack.page(i) = testing::randomConfiguration(engine, landmarks);
  }
  return stack;
}

TEST(Getpproc3, TurnedMovedResizedCopiesComeOutIdentical) {
  std::mt19937 engine(10);
  const Eigen::MatrixXd shape = testing::randomConfiguration(engine, 9);
  ConfigStack stack(9, 6);
  for (Eigen::Index i = 0; i < 6; ++i) {
    const Eigen::RowVector3d shift(static_cast<double>(i), -3.0 * static_cast<double>(i), 10.0);
    stack.page(i) =
        ((0.5 + static_cast<double>(i)) * shape * testing::randomRotation(engine)).rowwise() +
        shift;
  }
  const Superimposition s = getpproc3(stack, testing::noNotes());
  for (Eigen::Index i = 0; i < 6; ++i) {
    EXPECT_TRUE(assert_near(s.sdata.page(i), s.reference3, 1e-12)) << "specimen " << i;
  }
}

TEST(Getpproc3, EverySpecimenAndTheConsensusAreCentredOfUnitSize) {
  std::mt19937 engine(11);
  const Superimposition s = getpproc3(randomStack(engine, 12, 15), testing::noNotes());
  EXPECT_NEAR(centsize3Da(s.reference3), 1.0, 1e-14);
  EXPECT_TRUE(assert_near(s.reference3.colwise().mean(), Eigen::RowVector3d::Zero(), 1e-15));
  for (Eigen::Index i = 0; i < 15; ++i) {
    EXPECT_NEAR(centsize3Da(s.sdata.page(i)), 1.0, 1e-14);
    EXPECT_TRUE(assert_near(s.sdata.page(i).colwise().mean(), Eigen::RowVector3d::Zero(), 1e-15));
  }
}

TEST(Getpproc3, ConsensusIsTheScaledMeanOfTheFittedSpecimens) {
  std::mt19937 engine(12);
  const Superimposition s = getpproc3(randomStack(engine, 8, 10), testing::noNotes());
  Eigen::MatrixXd mean = Eigen::MatrixXd::Zero(8, 3);
  for (Eigen::Index i = 0; i < 10; ++i) mean += s.sdata.page(i);
  mean /= 10.0;
  EXPECT_TRUE(assert_near(s.reference3, mean / centsize3Da(mean), 1e-14));
}

TEST(Getpproc3, FollowsTranslationScaleAndRotationOfTheWholeDataSet) {
  std::mt19937 engine(13);
  const ConfigStack stack = randomStack(engine, 10, 8);
  const Superimposition s = getpproc3(stack, testing::noNotes());
  const Eigen::Matrix3d q = testing::randomRotation(engine);

  ConfigStack moved = stack;
  ConfigStack turned = stack;
  for (Eigen::Index i = 0; i < 8; ++i) {
    const Eigen::RowVector3d shift(static_cast<double>(i), 2.0, -5.0 * static_cast<double>(i));
    moved.page(i) = (3.0 * stack.page(i)).rowwise() + shift;
    turned.page(i) = stack.page(i) * q;
  }
  const Superimposition fromMoved = getpproc3(moved, testing::noNotes());
  const Superimposition fromTurned = getpproc3(turned, testing::noNotes());
  EXPECT_TRUE(assert_near(fromMoved.reference3, s.reference3, 1e-12));
  EXPECT_TRUE(assert_near(fromTurned.reference3, s.reference3 * q, 1e-12));
  for (Eigen::Index i = 0; i < 8; ++i) {
    EXPECT_TRUE(assert_near(fromMoved.sdata.page(i), s.sdata.page(i), 1e-12));
    EXPECT_TRUE(assert_near(fromTurned.sdata.page(i), s.sdata.page(i) * q, 1e-12));
  }
}

TEST(Getpproc3, SingleSpecimenIsCentredAndScaledNotTurned) {
  std::mt19937 engine(14);
  const Eigen::MatrixXd x = testing::randomConfiguration(engine, 5);
  const Superimposition s = getpproc3(ConfigStack(x), testing::noNotes());
  const Eigen::MatrixXd expected = testing::centred(x) / centsize3Da(x);
  EXPECT_TRUE(assert_near(s.reference3, expected, 1e-15));
  EXPECT_TRUE(assert_near(s.sdata.page(0), expected, 1e-15));
}

double procrustesSumOfSquares(const Superimposition& s) {
  double sum = 0;
  for (Eigen::Index i = 0; i < s.sdata.specimens(); ++i) {
    sum += (s.sdata.page(i) - s.reference3).squaredNorm();
  }
  return sum;
}

// Stacks whose raw sum has no size. Flat specimens, each followed by its
// half-turn in the plane: the sum is exactly zero.
ConfigStack flatSpecimensWithTheirHalfTurns(std::mt19937& engine) {
  const Eigen::MatrixXd mean = testing::randomConfiguration(engine, 7);
  ConfigStack stack(7, 6);
  for (Eigen::Index i = 0; i < 6; i += 2) {
    Eigen::MatrixXd x = mean + 0.1 * testing::randomConfiguration(engine, 7);
    x.col(2).setZero();
    stack.page(i) = x;
    stack.page(i + 1) = -x;
  }
  return stack;
}

// Pairs mean + e and mean - e, each pair turned by another of the identity
// and the half-turns about the axes (which add up to zero), then moved: the
// centred raw sum is zero but for rounding.
ConfigStack movedSpecimensTurnedByTheHalfTurns(std::mt19937& engine) {
  const Eigen::MatrixXd mean = testing::randomConfiguration(engine, 8);
  const Eigen::Vector3d turns[] = {{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}};
  ConfigStack stack(8, 8);
  for (Eigen::Index j = 0; j < 4; ++j) {
    const Eigen::MatrixXd e = 0.1 * testing::randomConfiguration(engine, 8);
    const auto turn = turns[j].asDiagonal();
    const double at = static_cast<double>(j);
    stack.page(2 * j) = ((mean + e) * turn).rowwise() + Eigen::RowVector3d(at, 10 * at, -5);
    stack.page(2 * j + 1) = ((mean - e) * turn).rowwise() + Eigen::RowVector3d(-3 * at, 1, 70);
  }
  return stack;
}

TEST(Getpproc3, CancellingSpecimensFitAsWellAsFromAnotherStart) {
  const struct {
    const char* name;
    ConfigStack (*make)(std::mt19937&);
  } cases[] = {
      {"flat specimens with their half-turns", flatSpecimensWithTheirHalfTurns},
      {"moved specimens turned by the half-turns", movedSpecimensTurnedByTheHalfTurns},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::mt19937 engine(15);
    const ConfigStack stack = c.make(engine);
    const Superimposition s = getpproc3(stack, testing::noNotes());
    EXPECT_TRUE(s.reference3.allFinite() && s.sdata.pages().allFinite());
    EXPECT_NEAR(centsize3Da(s.reference3), 1.0, 1e-14);
    for (Eigen::Index i = 0; i < stack.specimens(); ++i) {
      EXPECT_NEAR(centsize3Da(s.sdata.page(i)), 1.0, 1e-14);
    }

    // Nudged, the data's sum has a size and is the start; refitted, the
    // fitted specimens start from their mean.
    ConfigStack nudged = stack;
    nudged.page(0) += 1e-8 * testing::randomConfiguration(engine, stack.landmarks());
    for (const Superimposition& other :
         {getpproc3(nudged, testing::noNotes()), getpproc3(s.sdata, testing::noNotes())}) {
      EXPECT_LE(procrustesSumOfSquares(s), procrustesSumOfSquares(other) + 1e-7);
    }
  }
}

// The superimposition written out plainly from its definition: the start is
// the centred sum of the raw specimens scaled to size 1; each of three rounds
// centres every specimen, scales it to size 1, turns it by U V^T of the SVD of
// x^T * reference (the reflection undone), and takes the mean of the fitted
// specimens, scaled to size 1, as the next reference.
Eigen::MatrixXd centredAtSizeOne(const Eigen::MatrixXd& x) {
  const Eigen::MatrixXd centred = testing::centred(x);
  return centred / centred.norm();
}

template <int D>
void expectThePlainFit(BasicConfigStack<D> stack, const Eigen::MatrixXd& reference,
                       const BasicConfigStack<D>& fitted) {
  Eigen::MatrixXd sum = Eigen::MatrixXd::Zero(stack.landmarks(), D);
  for (Eigen::Index i = 0; i < stack.specimens(); ++i) sum += stack.page(i);
  Eigen::MatrixXd plain = centredAtSizeOne(sum);
  for (int round = 0; round < 3; ++round) {
    sum.setZero();
    for (Eigen::Index i = 0; i < stack.specimens(); ++i) {
      const Eigen::MatrixXd x = centredAtSizeOne(stack.page(i));
      const Eigen::JacobiSVD<Eigen::MatrixXd> svd(x.transpose() * plain,
                                                  Eigen::ComputeFullU | Eigen::ComputeFullV);
      Eigen::MatrixXd u = svd.matrixU();
      if (u.determinant() * svd.matrixV().determinant() < 0) u.col(D - 1) *= -1.0;
      stack.page(i) = x * u * svd.matrixV().transpose();
      sum += stack.page(i);
    }
    plain = sum / static_cast<double>(stack.specimens());
    plain /= testing::centred(plain).norm();
  }
  EXPECT_TRUE(assert_near(reference, plain, 1e-12));
  for (Eigen::Index i = 0; i < stack.specimens(); ++i) {
    EXPECT_TRUE(assert_near(fitted.page(i), stack.page(i), 1e-12)) << "specimen " << i;
  }
}

// Coordinates around 1e3 with spread 1: centroid sizes taken from raw sums
// of squares would lose about ten digits here. An odd number of landmarks.
TEST(Getpproc3, AgreesWithThePlainFitFarFromTheOrigin) {
  std::mt19937 engine(16);
  ConfigStack stack(41, 25);
  ConfigStack2D flat(41, 25);
  for (Eigen::Index i = 0; i < stack.specimens(); ++i) {
    stack.page(i) = testing::randomConfiguration(engine, 41).array() + 1e3;
    flat.page(i) = stack.page(i).leftCols(2);
  }
  {
    SCOPED_TRACE("in space");
    const Superimposition s = getpproc3(stack, testing::noNotes());
    expectThePlainFit(stack, s.reference3, s.sdata);
  }
  {
    SCOPED_TRACE("in the plane");
    const Superimposition2D s = getpproc2D(flat, testing::noNotes());
    expectThePlainFit(flat, s.reference, s.sdata);
  }
}

TEST(Getpproc3, RefusesAnEmptyStack) {
  EXPECT_THROW(getpproc3(ConfigStack(), testing::noNotes()), std::invalid_argument);
}

}  // namespace
}  // namespace tarvolin
