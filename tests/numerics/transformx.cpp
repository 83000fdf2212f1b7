#include "numerics/transformx.h"

#include <cmath>

#include "core/errors.h"
#include "numerics/untransformx.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::assert_near;

TEST(Transformx, ThreeTransformsAndTheirInverse) {
  const Eigen::Vector3d x(1, 10, 100);
  EXPECT_EQ(transformx(x, Transform::none, ""), x);
  EXPECT_TRUE(assert_near(transformx(x, Transform::log10, ""), Eigen::Vector3d(0, 1, 2), 1e-15));
  EXPECT_TRUE(assert_near(transformx(x, Transform::ln, ""),
                          Eigen::Vector3d(0, std::log(10.0), std::log(100.0)), 1e-15));
  EXPECT_EQ(untransformx(5.0, Transform::none), 5.0);
  EXPECT_EQ(untransformx(0.0, Transform::ln), 1.0);
  EXPECT_NEAR(untransformx(2.0, Transform::log10), 100.0, 1e-12);
  EXPECT_NEAR(untransformx(std::log(7.5), Transform::ln), 7.5, 1e-14);
}

TEST(Transformx, LogarithmOfZeroOrNegativeNamesTheFirstSuchSpecimen) {
  const Eigen::Vector4d x(3, 0, -2, 5);
  EXPECT_THROW_MSG(transformx(x, Transform::ln, "mass.txt"), InputError,
                   "mass.txt: specimen 2 has the x value 0, whose natural logarithm");
  EXPECT_THROW_MSG(transformx(Eigen::Vector2d(1, -2), Transform::log10, ""), InputError,
                   "specimen 2 has the x value -2");
  EXPECT_EQ(transformx(x, Transform::none, ""), x);
}

}  // namespace
}  // namespace tarvolin
