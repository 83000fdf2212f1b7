#include "numerics/tpssolve.h"

#include <cmath>
#include <optional>
#include <string>

#include "numerics/bendingenergy.h"
#include "numerics/tpswarp2d.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::assert_near;

// The bending energy and the deformation grid solve one system and give up
// alike: where both are had, the spline's weights are the bending-energy
// matrix times the target (W = L to, L the upper-left block of the inverse).
TEST(Tpssolve, TheBendingEnergyAndTheGridAgreeOnWhatTheyCanForm) {
  Eigen::MatrixXd kite(4, 2), line(4, 2), twice(4, 2), nearly(4, 2), three(3, 2);
  kite << 0, -2, 1, 0, 0, 3, -1, 0;
  line << 0, 0, 1, 1, 2, 2, 3, 3;
  twice << 0, -2, 1, 0, 0, -2, -1, 0;
  nearly << 0, -2, 1, 0, 1e-13, -2, -1, 0;
  three << 0, 0, 2, 0, 0, 1;
  const struct {
    const char* what;
    Eigen::MatrixXd from;
    std::optional<std::string> why;  // nothing: formed
  } cases[] = {
      {"a kite", kite, std::nullopt},
      {"three points", three, std::nullopt},
      {"on one line", line, "all its points lie on one line"},
      {"two at one place", twice, "its points 1 and 3 lie at one place"},
      {"two within rounding", nearly, "its points 1 and 3 lie at one place"},
      {"too few", kite.topRows(2), "all its points lie on one line"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Eigen::MatrixXd to = c.from;
    to(0, 0) += 0.3;
    to(1, 1) -= 0.2;
    if (c.why) {
      EXPECT_THROW_MSG(bendingenergy(c.from), std::invalid_argument,
                       "the thin-plate spline of the mean shape cannot be formed: " + *c.why);
      if (c.from.rows() >= 3) {
        EXPECT_THROW_MSG(tpswarp2d(c.from, to), std::invalid_argument, "tpswarp2d: " + *c.why);
      }
      continue;
    }
    const Eigen::MatrixXd l = bendingenergy(c.from);
    EXPECT_TRUE(assert_near(tpswarp2d(c.from, to).weights, l * to, 1e-12));
  }
}

}  // namespace
}  // namespace tarvolin
