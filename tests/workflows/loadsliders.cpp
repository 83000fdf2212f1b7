#include "workflows/loadsliders.h"

#include "core/errors.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::TempDir;

LandmarkSet setOf(int dims, int k, std::vector<int> curves) {
  LandmarkSet set;
  set.dims = dims;
  set.coords = Eigen::MatrixXd::Zero(2, dims * k);
  set.curves = std::move(curves);
  set.path = "d.tps";
  return set;
}

// Without a sliders file the curves slide; a sliders file replaces them; a
// surface file adds to either, in 3D only and never on a point that slides
// on a curve.
TEST(LoadSliders, CurvesOrFilesAndTheirConflicts) {
  TempDir dir;
  testing::writeText(dir.file("c.txt"), "1 2 3\n");
  testing::writeText(dir.file("s.txt"), "4\n5\n");
  testing::writeText(dir.file("on_curve.txt"), "5\n7\n");
  const std::string c = dir.file("c.txt"), s = dir.file("s.txt"), onCurve = dir.file("on_curve.txt");
  const struct {
    LandmarkSet set;
    std::string sliders, surface;
    Sliders expected;
    std::string error;
  } cases[] = {
      {setOf(2, 8, {}), "", "", {}, ""},
      {setOf(2, 8, {4, 3}), "", "", {{{1, 2, 3}, {2, 3, 4}, {5, 6, 7}}, {}}, ""},
      {setOf(3, 8, {4, 3}), c, s, {{{0, 1, 2}}, {3, 4}}, ""},
      {setOf(3, 8, {4, 3}), "", onCurve, {}, onCurve + ": landmark 7 slides on a curve (d.tps) and cannot slide on the surface too"},
      {setOf(2, 8, {}), "", s, {}, s + ": points slide on a surface in 3D data only; d.tps holds 2D landmarks"},
      {setOf(2, 8, {}), dir.file("none.txt"), "", {}, dir.file("none.txt") + ": cannot be read: "},
  };
  for (const auto& x : cases) {
    SCOPED_TRACE(x.sliders + " " + x.surface);
    try {
      EXPECT_EQ(loadsliders(x.set, x.sliders, x.surface), x.expected);
      EXPECT_EQ(x.error, "");
    } catch (const InputError& e) {
      EXPECT_EQ(std::string(e.what()).substr(0, x.error.size()), x.error);
      EXPECT_FALSE(x.error.empty());
      EXPECT_EQ(e.input(), Input::sliders);
    }
  }
}

}  // namespace
}  // namespace tarvolin
