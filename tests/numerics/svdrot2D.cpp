#include "numerics/svdrot2D.h"

#include <Eigen/LU>

#include "geometrytesting.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::assert_near;

TEST(Svdrot2D, ProperRotationOntoTheReferenceMirrorsNeverFolded) {
  std::mt19937 engine(20);
  for (const bool mirrored : {false, true}) {
    SCOPED_TRACE(mirrored ? "mirror image" : "turned copy");
    for (int trial = 0; trial < 20; ++trial) {
      const Eigen::MatrixXd reference =
          testing::centred(testing::randomConfiguration(engine, 7).leftCols(2));
      const Eigen::Matrix2d q = testing::randomRotation2D(engine);
      Eigen::MatrixXd subject = reference * q;
      if (mirrored) subject.col(trial % 2) *= -1.0;
      const Eigen::Matrix2d r = svdrot2D(reference, subject);
      EXPECT_TRUE(assert_near(r.transpose() * r, Eigen::Matrix2d::Identity(), 1e-12));
      EXPECT_NEAR(r.determinant(), 1.0, 1e-12);
      if (mirrored) {
        EXPECT_GT((subject * r - reference).norm(), 1e-3);
      } else {
        EXPECT_TRUE(assert_near(r, q.transpose(), 1e-10));
      }
    }
  }
  EXPECT_THROW(svdrot2D(Eigen::MatrixXd::Ones(4, 3), Eigen::MatrixXd::Ones(4, 3)),
               std::invalid_argument);
}

}  // namespace
}  // namespace tarvolin
