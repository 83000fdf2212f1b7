#include "numerics/svdrot2.h"

#include <Eigen/LU>
#include <cmath>

#include "geometrytesting.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::assert_near;

TEST(Svdrot2, FindsTheRotationThatBringsSubjectOntoReference) {
  std::mt19937 engine(2);
  for (int trial = 0; trial < 20; ++trial) {
    const Eigen::MatrixXd reference = testing::centred(testing::randomConfiguration(engine, 8));
    const Eigen::Matrix3d q = testing::randomRotation(engine);
    const Eigen::MatrixXd subject = reference * q;
    const Eigen::Matrix3d r = svdrot2(reference, subject);
    EXPECT_TRUE(assert_near(r, q.transpose(), 1e-10));
    EXPECT_TRUE(assert_near(subject * r, reference, 1e-10));
  }
}

TEST(Svdrot2, NeverReturnsAReflection) {
  std::mt19937 engine(3);
  for (int trial = 0; trial < 50; ++trial) {
    const Eigen::MatrixXd reference = testing::centred(testing::randomConfiguration(engine, 6));
    Eigen::MatrixXd mirror = reference * testing::randomRotation(engine);
    mirror.col(trial % 3) *= -1.0;
    const Eigen::Matrix3d r = svdrot2(reference, mirror);
    EXPECT_TRUE(assert_near(r.transpose() * r, Eigen::Matrix3d::Identity(), 1e-12));
    EXPECT_NEAR(r.determinant(), 1.0, 1e-12);
    // A mirror image cannot be turned onto the original.
    EXPECT_GT((mirror * r - reference).norm(), 1e-3);
  }
}

TEST(Svdrot2, BestAmongProperRotations) {
  std::mt19937 engine(4);
  const Eigen::MatrixXd reference = testing::centred(testing::randomConfiguration(engine, 10));
  const Eigen::MatrixXd subject = testing::centred(testing::randomConfiguration(engine, 10));
  const double best = (subject * svdrot2(reference, subject) - reference).squaredNorm();
  for (int trial = 0; trial < 200; ++trial) {
    const double other = (subject * testing::randomRotation(engine) - reference).squaredNorm();
    EXPECT_LE(best, other + 1e-12);
  }
}

TEST(Svdrot2, NonFiniteInputGivesNaN) {
  Eigen::MatrixXd subject = Eigen::MatrixXd::Ones(4, 3);
  subject(2, 1) = std::nan("");
  const Eigen::Matrix3d r = svdrot2(Eigen::MatrixXd::Ones(4, 3), subject);
  EXPECT_TRUE(r.array().isNaN().all());
}

TEST(Svdrot2, RefusesMismatchedShapes) {
  EXPECT_THROW(svdrot2(Eigen::MatrixXd::Ones(4, 3), Eigen::MatrixXd::Ones(5, 3)),
               std::invalid_argument);
  EXPECT_THROW(svdrot2(Eigen::MatrixXd::Ones(4, 2), Eigen::MatrixXd::Ones(4, 2)),
               std::invalid_argument);
}

}  // namespace
}  // namespace tarvolin
