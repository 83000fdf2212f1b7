#include "numerics/notsuperimposed.h"

#include <cmath>
#include <limits>

#include "formats/dload.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

// A square of centroid size `size`, its centre moved by (dx, dy), and a
// size column.
Eigen::RowVectorXd square(double size, double dx = 0, double dy = 0) {
  const double h = size / 2;  // four corners at distance size / 2 from the centre
  const double a = h / std::sqrt(2.0);
  return testing::row({a + dx, a + dy, -a + dx, a + dy, -a + dx, -a + dy, a + dx, -a + dy, 7});
}

TEST(Notsuperimposed, RefusesACentroidOffTheOriginOrSizesThatDiffer) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  Eigen::RowVectorXd withNaN = square(1);
  withNaN(3) = nan;
  using Why = NotSuperimposed::Why;
  const struct {
    const char* what;
    std::vector<Eigen::RowVectorXd> rows;
    std::optional<Why> why;  // nothing: taken as superimposed
    Eigen::Index specimen;   // off centre, or the smallest
    Eigen::Index largest;
  } cases[] = {
      {"centred, size 1", {square(1), square(1)}, std::nullopt, 0, 0},
      {"rounded to six digits",
       {square(1.000004, 3e-6, -2e-6), square(0.999996)},
       std::nullopt,
       0,
       0},
      {"full Procrustes, a little smaller", {square(1), square(0.95)}, std::nullopt, 0, 0},
      {"put back in millimetres", {square(38.5), square(38.5, 0.3, -0.2)}, std::nullopt, 0, 0},
      {"one centred specimen in millimetres", {square(38.5)}, std::nullopt, 0, 0},
      {"centre moved by 2% of the size", {square(1), square(1, 0.02, 0)}, Why::offCentre, 1, 0},
      {"millimetres, centre moved by 2%",
       {square(38.5), square(38.5, 0, 0.77)},
       Why::offCentre,
       1,
       0},
      {"spread by 15%", {square(1), square(1), square(0.85)}, Why::sizesDiffer, 2, 0},
      {"centred raw sizes", {square(30), square(45), square(40)}, Why::sizesDiffer, 0, 1},
      {"raw units", {square(38.5, 120, -40)}, Why::offCentre, 0, 0},
      {"a coordinate not a number", {square(1), withNaN}, Why::offCentre, 1, 0},
  };
  for (const auto& c : cases) {
    Eigen::MatrixXd data(static_cast<Eigen::Index>(c.rows.size()), 9);
    for (size_t i = 0; i < c.rows.size(); ++i) data.row(static_cast<Eigen::Index>(i)) = c.rows[i];
    const std::optional<NotSuperimposed> found = notsuperimposed(data);
    ASSERT_EQ(found.has_value(), c.why.has_value()) << c.what;
    if (found) {
      EXPECT_EQ(found->why, *c.why) << c.what;
      EXPECT_EQ(found->specimen, c.specimen) << c.what;
      if (found->why == Why::sizesDiffer) {
        EXPECT_EQ(found->largest, c.largest) << c.what;
      }
    }
  }
  const std::optional<NotSuperimposed> raw = notsuperimposed(square(38.5, 120, -40));
  ASSERT_TRUE(raw);
  EXPECT_NEAR(raw->centroid, std::hypot(120, 40), 1e-9);
  EXPECT_NEAR(raw->size, 38.5, 1e-9);
  Eigen::MatrixXd spread(2, 9);
  spread << square(30), square(45);
  const std::optional<NotSuperimposed> sizes = notsuperimposed(spread);
  ASSERT_TRUE(sizes);
  EXPECT_NEAR(sizes->size, 30, 1e-9);
  EXPECT_NEAR(sizes->largestSize, 45, 1e-9);
}

TEST(Notsuperimposed, TheExampleDataAsReadAndAsSuperimposed) {
  EXPECT_FALSE(notsuperimposed(dload(testing::examplePath("skulls2d_superimposed.txt"))));
  const std::optional<NotSuperimposed> raw =
      notsuperimposed(dload(testing::examplePath("skulls2d.txt")));
  ASSERT_TRUE(raw);
  EXPECT_EQ(raw->specimen, 0);
}

}  // namespace
}  // namespace tarvolin
