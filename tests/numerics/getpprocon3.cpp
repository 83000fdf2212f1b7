#include "numerics/getpprocon3.h"

#include "geometrytesting.h"
#include "numerics/centsize3Da.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::assert_near;

TEST(Getpprocon3, FitsEveryPageOntoTheGivenReferenceInOrder) {
  std::mt19937 engine(15);
  Eigen::MatrixXd reference = testing::centred(testing::randomConfiguration(engine, 6));
  reference /= centsize3Da(reference);
  const Eigen::MatrixXd other = testing::randomConfiguration(engine, 6);

  ConfigStack stack(6, 3);
  stack.page(0) = 2.0 * reference * testing::randomRotation(engine);
  stack.page(1) = other;
  stack.page(2) =
      (reference * testing::randomRotation(engine)).rowwise() + Eigen::RowVector3d(1, 2, 3);
  const Eigen::MatrixXd referenceBefore = reference;

  const ConfigStack fitted = getpprocon3(reference, stack, testing::noNotes());
  ASSERT_EQ(fitted.specimens(), 3);
  EXPECT_TRUE(assert_near(fitted.page(0), reference, 1e-12));
  EXPECT_TRUE(assert_near(fitted.page(2), reference, 1e-12));
  EXPECT_GT((fitted.page(1) - reference).norm(), 1e-3);
  for (Eigen::Index i = 0; i < 3; ++i) EXPECT_NEAR(centsize3Da(fitted.page(i)), 1.0, 1e-14);
  EXPECT_EQ(reference, referenceBefore);
}

}  // namespace
}  // namespace tarvolin
