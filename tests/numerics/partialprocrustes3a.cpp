#include "numerics/partialprocrustes3a.h"

#include <Eigen/LU>

#include "core/console.h"
#include "geometrytesting.h"
#include "numerics/centsize3Da.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::assert_near;

Eigen::MatrixXd unitReference(std::mt19937& engine) {
  Eigen::MatrixXd r = testing::centred(testing::randomConfiguration(engine, 7));
  return r / centsize3Da(r);
}

TEST(Partialprocrustes3a, RotatedMovedResizedReferenceComesBack) {
  std::mt19937 engine(5);
  const Eigen::MatrixXd reference = unitReference(engine);
  const Eigen::MatrixXd subject =
      (4.2 * reference * testing::randomRotation(engine)).rowwise() + Eigen::RowVector3d(3, -1, 8);
  EXPECT_TRUE(
      assert_near(partialprocrustes3a(reference, subject, testing::noNotes()), reference, 1e-12));
}

TEST(Partialprocrustes3a, ResultIsCentredOfUnitSizeWhateverTheReferenceSize) {
  std::mt19937 engine(6);
  const Eigen::MatrixXd reference = 7.0 * unitReference(engine);
  const Eigen::MatrixXd subject = testing::randomConfiguration(engine, 7);
  const Eigen::MatrixXd y = partialprocrustes3a(reference, subject, testing::noNotes());
  EXPECT_TRUE(assert_near(y.colwise().mean(), Eigen::RowVector3d::Zero(), 1e-14));
  EXPECT_NEAR(centsize3Da(y), 1.0, 1e-14);
}

TEST(Partialprocrustes3a, ResultIsAProperRotationOfTheSubject) {
  std::mt19937 engine(7);
  const Eigen::MatrixXd reference = unitReference(engine);
  Eigen::MatrixXd subject = testing::centred(testing::randomConfiguration(engine, 7));
  subject /= centsize3Da(subject);
  Eigen::MatrixXd mirror = reference;
  mirror.col(0) *= -1.0;
  for (const Eigen::MatrixXd& s : {subject, mirror}) {
    const Eigen::MatrixXd y = partialprocrustes3a(reference, s, testing::noNotes());
    // y = s R for some R: solve by least squares and check R is a rotation.
    const Eigen::Matrix3d r = (s.transpose() * s).ldlt().solve(s.transpose() * y);
    EXPECT_TRUE(assert_near(s * r, y, 1e-12));
    EXPECT_NEAR(r.determinant(), 1.0, 1e-10);
  }
  // The mirror image is not folded back onto the reference.
  EXPECT_GT((partialprocrustes3a(reference, mirror, testing::noNotes()) - reference).norm(), 1e-3);
}

TEST(Partialprocrustes3a, LeavesTheCallersMatrixAlone) {
  std::mt19937 engine(8);
  const Eigen::MatrixXd reference = unitReference(engine);
  Eigen::MatrixXd subject = testing::randomConfiguration(engine, 7);
  const Eigen::MatrixXd before = subject;
  partialprocrustes3a(reference, subject, testing::noNotes());
  EXPECT_EQ(subject, before);
}

TEST(Partialprocrustes3a, SelfCheckReportsASubjectWithoutSize) {
  std::mt19937 engine(9);
  const Eigen::MatrixXd reference = unitReference(engine);
  std::string notes;
  const TextSink keep = [&notes](std::string_view text) { notes += text; };
  {
    ConsoleCapture quiet;
    partialprocrustes3a(reference, testing::randomConfiguration(engine, 7), keep);
    EXPECT_EQ(notes, "");
    EXPECT_EQ(quiet.text(), "");
  }
  // The notes go where the caller says, never to the console.
  ConsoleCapture capture;
  const Eigen::MatrixXd y =
      partialprocrustes3a(reference, Eigen::MatrixXd::Constant(7, 3, 1.5), keep);
  EXPECT_EQ(notes.rfind("stemp = Error in rotation\nroto =", 0), 0u) << notes;
  EXPECT_NE(notes.find("\ntemp ="), std::string::npos);
  EXPECT_EQ(capture.text(), "");
  EXPECT_FALSE(y.allFinite());
}

}  // namespace
}  // namespace tarvolin
