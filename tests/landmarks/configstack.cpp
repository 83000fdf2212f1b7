#include "landmarks/configstack.h"

#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::assert_near;

TEST(ConfigStack, ElementAddressesLandmarkCoordinateSpecimen) {
  ConfigStack s(2, 3);
  EXPECT_EQ(s.landmarks(), 2);
  EXPECT_EQ(s.specimens(), 3);
  EXPECT_FALSE(s.empty());
  EXPECT_TRUE(assert_near(s.pages(), Eigen::MatrixXd::Zero(2, 9), 0));

  s(1, 2, 0) = 5.0;   // Z of landmark 2 of specimen 1
  s(0, 0, 2) = -7.0;  // X of landmark 1 of specimen 3
  s(1, 1, 1) = 3.5;   // Y of landmark 2 of specimen 2
  EXPECT_EQ(s(1, 2, 0), 5.0);
  EXPECT_EQ(s.pages()(1, 2), 5.0);
  EXPECT_EQ(s.pages()(0, 6), -7.0);
  EXPECT_EQ(s.pages()(1, 4), 3.5);
  EXPECT_EQ(s.pages().cwiseAbs().sum(), 15.5);
}

TEST(ConfigStack, PageIsLandmarksByThree) {
  ConfigStack s(4, 2);
  for (Eigen::Index i = 0; i < 2; ++i) {
    for (Eigen::Index j = 0; j < 4; ++j) {
      for (Eigen::Index c = 0; c < 3; ++c) s(j, c, i) = static_cast<double>(100 * i + 10 * j + c);
    }
  }
  Eigen::MatrixXd second = s.page(1);
  EXPECT_EQ(second.rows(), 4);
  EXPECT_EQ(second.cols(), 3);
  Eigen::MatrixXd expected(4, 3);
  expected << 100, 101, 102, 110, 111, 112, 120, 121, 122, 130, 131, 132;
  EXPECT_TRUE(assert_near(second, expected, 0));

  // Writing through a page changes the stack.
  s.page(0).setConstant(-1);
  EXPECT_EQ(s(3, 2, 0), -1.0);
  EXPECT_EQ(s(0, 0, 1), 100.0);
  const ConfigStack& constant = s;
  EXPECT_TRUE(assert_near(Eigen::MatrixXd(constant.page(1)), expected, 0));
}

TEST(ConfigStack, BuiltFromOneConfiguration) {
  Eigen::MatrixXd config(2, 3);
  config << 1, 2, 3, 4, 5, 6;
  ConfigStack s(config);
  EXPECT_EQ(s.landmarks(), 2);
  EXPECT_EQ(s.specimens(), 1);
  EXPECT_EQ(s(1, 0, 0), 4.0);
  EXPECT_TRUE(assert_near(s.page(0), config, 0));
  EXPECT_TRUE(ConfigStack().empty());
  EXPECT_TRUE(s == ConfigStack(config));
  s(0, 0, 0) = 9;
  EXPECT_FALSE(s == ConfigStack(config));
}

}  // namespace
}  // namespace tarvolin
