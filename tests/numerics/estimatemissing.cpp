#include "numerics/estimatemissing.h"

#include <functional>

#include "core/errors.h"
#include "geometrytesting.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::assert_near;
using Holes = std::vector<std::pair<Eigen::Index, Eigen::Index>>;

enum class Edit { none, flatten, coincide, pointA };

// Specimens "a" to "d": turned, resized, moved copies of a random shape of
// 8 landmarks; "e": its image under `affine` (d x d) moved; "f": a bent copy
// missing landmark 1 (so that only exact copies make the mean shape).
LandmarkSet copiesOf(int d, const Eigen::MatrixXd& affine, const Holes& holes, Edit edit,
                     Eigen::MatrixXd& image) {
  std::mt19937 engine(32);
  Eigen::MatrixXd shape = testing::randomConfiguration(engine, 8).leftCols(d);
  // flatten: landmarks 1 to d + 1 on one line (2D) or in one plane (3D).
  if (edit == Edit::flatten) shape.block(0, d - 1, d + 1, 1).setZero();
  if (edit == Edit::coincide) shape.row(1) = shape.row(0);
  Eigen::MatrixXd coords(6, 8 * d);
  const auto put = [&](Eigen::Index i, const Eigen::MatrixXd& x) {
    for (Eigen::Index j = 0; j < 8; ++j) coords.block(i, d * j, 1, d) = x.row(j);
  };
  for (Eigen::Index i = 0; i < 4; ++i) {
    const Eigen::MatrixXd turn = d == 2 ? Eigen::MatrixXd(testing::randomRotation2D(engine))
                                        : Eigen::MatrixXd(testing::randomRotation(engine));
    put(i, ((1.0 + static_cast<double>(i)) * shape * turn).rowwise() +
               Eigen::RowVectorXd::Constant(d, static_cast<double>(i)));
  }
  image = (shape * affine).rowwise() + Eigen::RowVectorXd::LinSpaced(d, 5.0, -3.0);
  put(4, image);
  put(5, shape + 0.2 * testing::randomConfiguration(engine, 8).leftCols(d));
  if (edit == Edit::pointA) coords.row(0).setConstant(2.0);
  Holes all = holes;
  all.emplace_back(5, 0);
  return testing::setWithHoles(coords, d, all);
}

TEST(Estimatemissing, AnAffineImageOfTheMeanIsCompletedExactly) {
  for (const int d : {2, 3}) {
    SCOPED_TRACE(d);
    std::mt19937 engine(33);
    // Turned, resized and sheared: any non-singular linear map.
    const Eigen::MatrixXd affine = 1.5 * Eigen::MatrixXd::Identity(d, d) +
                                   0.4 * testing::randomConfiguration(engine, d).leftCols(d);
    Eigen::MatrixXd image;
    LandmarkSet set = copiesOf(d, affine, {{4, 2}, {4, 6}}, Edit::none, image);
    const Eigen::MatrixXd before = set.coords;
    std::vector<std::pair<size_t, size_t>> progress;
    EXPECT_EQ(estimatemissing(
                  set, testing::noNotes(),
                  [&progress](size_t done, size_t total) { progress.emplace_back(done, total); }),
              "estimated 3 landmarks: specimen \"e\" landmarks 3, 7; specimen \"f\" landmark 1");
    EXPECT_EQ(progress, (std::vector<std::pair<size_t, size_t>>{{1, 2}, {2, 2}}));
    EXPECT_TRUE(assert_near(testing::configurationOf(set, 4), image, 1e-9));
    EXPECT_TRUE(set.coords.allFinite());
    EXPECT_TRUE((set.coords.array() == before.array() || before.array().isNaN()).all());
  }
}

// A bent (non-affine) copy of the mean shape: present landmarks and affine
// maps come out the same whatever the spline's kernel, so only a bend shows
// that the kernel is r in 3D and r^2 log r^2 in 2D. The expected values were
// computed apart from this code, by solving the bordered system of the
// definition for the landmarks as given (the spline does not change when its
// source is turned, moved or resized, as the mean shape is).
TEST(Estimatemissing, ABentCopyOfTheMeanGetsTheSplinesValue) {
  const struct {
    int d;
    Eigen::MatrixXd shape;
    std::function<Eigen::RowVectorXd(const Eigen::RowVectorXd&)> bend;
    Eigen::Index missing;
    Eigen::RowVectorXd expected;
  } cases[] = {
      {3,
       (Eigen::MatrixXd(8, 3) << 0, 0, 0, 2, 0, 0.3, 0, 1.5, 0, 0.2, 0, 1, 1.8, 1.2, 0.1, 1.1, 0.3,
        1.4, 0.4, 1.3, 0.9, 1.5, 1.6, 1.2)
           .finished(),
       [](const Eigen::RowVectorXd& v) {
         return Eigen::RowVector3d(v(0) + 0.3 * v(2) * v(2), v(1) + 0.4 * v(0) * v(0),
                                   v(2) + 0.25 * v(0) * v(1));
       },
       7, Eigen::RowVector3d(1.9213546994641177, 2.3754591473213233, 1.60514949163938)},
      {2, (Eigen::MatrixXd(6, 2) << 0, 0, 2, 0, 0, 1, 2, 1.5, 1, 2, 0.5, 0.7).finished(),
       [](const Eigen::RowVectorXd& v) {
         return Eigen::RowVector2d(v(0) + 0.2 * v(1) * v(1), v(1) + 0.1 * v(0) * v(0));
       },
       3, Eigen::RowVector2d(2.62623003678614, 1.7978963441027034)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.d);
    const Eigen::Index k = c.shape.rows();
    std::mt19937 engine(34);
    Eigen::MatrixXd coords(4, k * c.d);
    for (Eigen::Index i = 0; i < 3; ++i) {
      const Eigen::MatrixXd turn = c.d == 2 ? Eigen::MatrixXd(testing::randomRotation2D(engine))
                                            : Eigen::MatrixXd(testing::randomRotation(engine));
      const Eigen::MatrixXd copy = ((0.5 + static_cast<double>(i)) * c.shape * turn).rowwise() +
                                   Eigen::RowVectorXd::Constant(c.d, static_cast<double>(i));
      for (Eigen::Index j = 0; j < k; ++j) coords.block(i, c.d * j, 1, c.d) = copy.row(j);
    }
    for (Eigen::Index j = 0; j < k; ++j) coords.block(3, c.d * j, 1, c.d) = c.bend(c.shape.row(j));
    LandmarkSet set = testing::setWithHoles(coords, c.d, {{3, c.missing}});
    estimatemissing(set, testing::noNotes());
    EXPECT_TRUE(assert_near(testing::configurationOf(set, 3).row(c.missing), c.expected, 1e-9));
  }
}

// Two landmarks at one point of the mean shape leave the spline of the whole
// mean singular; a specimen missing one of them is still completed, from a
// spline through its own present landmarks.
TEST(Estimatemissing, LandmarksAtOnePointOfTheMeanWhereOneOfThemIsMissing) {
  for (const int d : {2, 3}) {
    SCOPED_TRACE(d);
    Eigen::MatrixXd image;
    LandmarkSet set =
        copiesOf(d, 1.3 * Eigen::MatrixXd::Identity(d, d), {{4, 1}}, Edit::coincide, image);
    EXPECT_EQ(estimatemissing(set, testing::noNotes()),
              "estimated 2 landmarks: specimen \"e\" landmark 2; specimen \"f\" landmark 1");
    EXPECT_TRUE(assert_near(testing::configurationOf(set, 4), image, 1e-9));
  }
}

TEST(Estimatemissing, RefusesWhatCannotPinASplineDown) {
  const Holes firstThreeLeft = {{4, 3}, {4, 4}, {4, 5}, {4, 6}, {4, 7}};
  const struct {
    int d;
    Holes holes;
    Edit edit;
    std::string message;
  } cases[] = {
      {2,
       {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}},
       Edit::none,
       "s.tps: no specimen has all its landmarks"},
      {2,
       {{4, 0}, {4, 3}, {4, 4}, {4, 5}, {4, 6}, {4, 7}},
       Edit::none,
       "s.tps: specimen \"e\" has only 2 landmarks present; estimating its missing landmarks "
       "needs at least 3"},
      {3, firstThreeLeft, Edit::none,
       "specimen \"e\" has only 3 landmarks present; estimating its missing landmarks needs at "
       "least 4"},
      {2, firstThreeLeft, Edit::flatten,
       "specimen \"e\": its present landmarks lie on one line in the mean shape"},
      {3,
       {{4, 4}, {4, 5}, {4, 6}, {4, 7}},
       Edit::flatten,
       "specimen \"e\": its present landmarks lie in one plane in the mean shape"},
      {2,
       {{4, 7}},
       Edit::coincide,
       "specimen \"e\": its present landmarks 1 and 2 are at one point in the mean shape"},
      {3, {{4, 7}}, Edit::pointA, "s.tps: specimen \"a\" has all its landmarks at one point"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    Eigen::MatrixXd image;
    LandmarkSet set = copiesOf(c.d, Eigen::MatrixXd::Identity(c.d, c.d), c.holes, c.edit, image);
    const Eigen::MatrixXd before = set.coords;
    EXPECT_THROW_MSG(estimatemissing(set, testing::noNotes()), InputError, c.message);
    EXPECT_TRUE(testing::sameBits(set.coords, before));
  }
}

}  // namespace
}  // namespace tarvolin
