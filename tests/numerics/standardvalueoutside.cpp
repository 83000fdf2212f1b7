#include "numerics/standardvalueoutside.h"

#include "tests/testing.h"

namespace tarvolin {
namespace {

TEST(Standardvalueoutside, WarnsOutsideTheRangeAsShownAndNamesIt) {
  const Eigen::Vector3d lnx(3.00304, 3.5, 4.09654);
  const struct {
    std::string typed;
    double value;
    Transform lcode;
    std::string expected;  // empty: no warning
  } cases[] = {
      {"300", 300, Transform::ln,
       "the standard value 300 lies outside ln x, 3.0030 to 4.0965: the result is an "
       "extrapolation"},
      {"-1", -1, Transform::log10,
       "the standard value -1 lies outside log10 x, 3.0030 to 4.0965: the result is an "
       "extrapolation"},
      {"4.1", 4.1, Transform::none,
       "the standard value 4.1 lies outside x, 3.0030 to 4.0965: the result is an extrapolation"},
      // The proposed standard, the minimum to four decimals, lies below the
      // true minimum but is what the boxes show.
      {"3.0030", 3.0030, Transform::ln, ""},
      {"3.003", 3.003, Transform::ln, ""},
      {"4.0965", 4.0965, Transform::ln, ""},
      {"3.5", 3.5, Transform::ln, ""},
      {"3.00299", 3.00299, Transform::ln,
       "the standard value 3.00299 lies outside ln x, 3.0030 to 4.0965: the result is an "
       "extrapolation"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(standardvalueoutside(c.typed, c.value, lnx, c.lcode).value_or(""), c.expected)
        << c.typed;
  }
  EXPECT_EQ(standardvalueoutside("1", 1, Eigen::VectorXd(), Transform::none), std::nullopt);
}

}  // namespace
}  // namespace tarvolin
