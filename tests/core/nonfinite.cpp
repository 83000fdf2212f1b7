#include "core/nonfinite.h"

#include <limits>
#include <utility>
#include <vector>

#include "tests/testing.h"

namespace tarvolin {
namespace {

// NaN and infinities are found wherever they lie: in small matrices, in
// either half of a matrix large enough to be looked through on two cores,
// at a block's edge, and in rows of columns that do not lie one after
// another; the largest finite numbers are finite.
TEST(Nonfinite, FindsNaNAndInfinitiesAnywhere) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const double largest = std::numeric_limits<double>::max();
  struct Case {
    Eigen::Index rows, cols;
    std::vector<std::pair<Eigen::Index, double>> put;  // flat index, value
    bool topRows;                                      // look at all but the last row
    bool nan, inf;
  };
  const Eigen::Index big = 1100 * 1001;  // past the size looked through on two cores
  for (const Case& c : {
           Case{0, 0, {}, false, false, false},
           Case{3, 4, {{0, largest}, {5, -largest}}, false, false, false},
           Case{3, 4, {{11, nan}}, false, true, false},
           Case{3, 4, {{0, -inf}}, false, false, true},
           Case{3, 4, {{2, inf}, {7, nan}}, false, true, true},
           Case{1100, 1001, {}, false, false, false},
           Case{1100, 1001, {{17, nan}}, false, true, false},
           Case{1100, 1001, {{big - 1, inf}}, false, false, true},
           Case{1100, 1001, {{big / 2, nan}, {big / 2 - 1, -inf}}, false, true, true},
           Case{1100, 1001, {{4095, nan}}, false, true, false},
           Case{5, 3, {{14, nan}, {4, inf}}, true, false, false},
           Case{5, 3, {{8, inf}}, true, false, true},
       }) {
    SCOPED_TRACE(::testing::Message() << c.rows << " x " << c.cols << ", " << c.put.size() << " put"
                                      << (c.topRows ? ", top rows" : ""));
    Eigen::MatrixXd m = Eigen::MatrixXd::Random(c.rows, c.cols);
    for (const auto& [at, value] : c.put) m.data()[at] = value;
    const NonFinite found = c.topRows ? nonfinite(m.topRows(c.rows - 1)) : nonfinite(m);
    EXPECT_EQ(found.nan, c.nan);
    EXPECT_EQ(found.inf, c.inf);
  }
}

}  // namespace
}  // namespace tarvolin
