#include "numerics/slidestep.h"

#include <cmath>
#include <random>
#include <stdexcept>

#include "numerics/bendingenergy.h"
#include "numerics/slidedirections.h"
#include "tests/numerics/geometrytesting.h"
#include "tests/numerics/slidetesting.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using Eigen::Index;
using testing::assert_near;

// A shape of 6 fixed landmarks and a curve of 8 points (2D), or a curve of
// 6 points and a patch of 12 surface points besides (3D).
Eigen::MatrixXd baseShape(int dims) {
  std::mt19937 engine(27);
  std::normal_distribution<double> normal(0.0, 1.0);
  const Index fixed = 6, curve = dims == 2 ? 8 : 6, surface = dims == 2 ? 0 : 12;
  Eigen::MatrixXd x(fixed + curve + surface, dims);
  for (Index i = 0; i < fixed; ++i) {
    for (Index c = 0; c < dims; ++c) x(i, c) = 2 * normal(engine);
  }
  for (Index i = 0; i < curve; ++i) {
    const double t = 0.4 * static_cast<double>(i);
    x(fixed + i, 0) = 1.5 * std::cos(t);
    x(fixed + i, 1) = 1.5 * std::sin(t);
    if (dims == 3) x(fixed + i, 2) = 0.2 * t;
  }
  for (Index i = 0; i < surface; ++i) {
    const double u = static_cast<double>(i % 4) * 0.5, v = static_cast<double>(i / 4) * 0.5;
    x(fixed + curve + i, 0) = u - 2;
    x(fixed + curve + i, 1) = v + 1;
    x(fixed + curve + i, 2) = 0.3 * std::sin(u) * std::cos(v) - 1;
  }
  return x;
}

Sliders slidersOf(int dims) {
  // The curve's inner points slide between their neighbours.
  Sliders s = curvesliders({dims == 2 ? 8 : 6}, dims == 2 ? 14 : 12);
  if (dims == 3) {
    for (int i = 12; i < 24; ++i) s.surface.push_back(i);
  }
  return s;
}

Eigen::MatrixXd perturbed(const Eigen::MatrixXd& x, std::mt19937& engine, double amount) {
  std::normal_distribution<double> normal(0.0, amount);
  Eigen::MatrixXd y = x;
  for (Index i = 0; i < y.size(); ++i) y(i) += normal(engine);
  return y;
}

double criterionOf(const Eigen::MatrixXd& y, const Eigen::MatrixXd& r, SlideCriterion criterion,
                   const Eigen::MatrixXd& bending) {
  const Eigen::MatrixXd off = y - r;
  if (criterion == SlideCriterion::procrustesDistance) return off.squaredNorm();
  // The kernel r of 3D gives the energy the other sign.
  return (y.cols() == 3 ? -1.0 : 1.0) * (off.transpose() * bending * off).trace();
}

struct StepCase {
  int dims;
  SlideCriterion criterion;
};

// One slide against the definition written out in full, and what a slide
// must do: fixed landmarks stay, each semilandmark moves along its own
// directions only, the criterion does not grow, and a configuration that
// is the reference does not move.
TEST(SlideStep, IsTheDefinitionAndMovesOnlyAlongTheDirections) {
  const StepCase cases[] = {{2, SlideCriterion::bendingEnergy},
                            {2, SlideCriterion::procrustesDistance},
                            {3, SlideCriterion::bendingEnergy},
                            {3, SlideCriterion::procrustesDistance}};
  for (const StepCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.dims << "D, criterion " << static_cast<int>(c.criterion));
    std::mt19937 engine(static_cast<unsigned>(c.dims));
    const Eigen::MatrixXd r = perturbed(baseShape(c.dims), engine, 0.05);
    const Eigen::MatrixXd y = perturbed(r, engine, 0.1);
    const Sliders sliders = slidersOf(c.dims);
    const Eigen::MatrixXd bending = bendingenergy(r);

    Eigen::MatrixXd t = y;
    slidestep(t, r, sliders, c.criterion, bending);
    EXPECT_TRUE(assert_near(t, testing::denseSlide(y, r, sliders, c.criterion), 1e-10));

    const SlideDirections u = slidedirections(y, sliders);
    std::vector<bool> slides(static_cast<size_t>(y.rows()), false);
    for (const int p : u.point) slides[static_cast<size_t>(p)] = true;
    for (Index i = 0; i < y.rows(); ++i) {
      if (!slides[static_cast<size_t>(i)]) {
        EXPECT_EQ(t.row(i), y.row(i)) << "fixed landmark " << i + 1 << " moved";
        continue;
      }
      // The move, less its parts along the point's directions, is nothing.
      Eigen::RowVectorXd rest = t.row(i) - y.row(i);
      Eigen::MatrixXd dirs(0, c.dims);
      for (size_t a = 0; a < u.point.size(); ++a) {
        if (u.point[a] != i) continue;
        dirs.conservativeResize(dirs.rows() + 1, Eigen::NoChange);
        dirs.bottomRows(1) = u.unit.row(static_cast<Index>(a));
      }
      EXPECT_NEAR(dirs.rowwise().squaredNorm().maxCoeff(), 1.0, 1e-12);
      rest -= (dirs * rest.transpose()).transpose() * dirs;
      EXPECT_LT(rest.norm(), 1e-12) << "semilandmark " << i + 1 << " left its directions";
    }
    EXPECT_LE(criterionOf(t, r, c.criterion, bending),
              criterionOf(y, r, c.criterion, bending) + 1e-15);

    Eigen::MatrixXd still = r;
    slidestep(still, r, sliders, c.criterion, bending);
    EXPECT_TRUE(assert_near(still, r, 1e-12));
  }
}

// Worked by hand: the point (0.7, 0.3) between (0, 0) and (2, 0) slides
// along x to the reference's x, 1; by bending energy, among fixed corners,
// the point on the straight edge of a square's deformation slides to where
// the spline puts no bend: the middle.
TEST(SlideStep, WorkedByHand) {
  Eigen::MatrixXd y(4, 2), r(4, 2);
  y << 0, 0, 2, 0, 0.7, 0.3, 1, 3;
  r << 0, 0, 2, 0, 1.0, 0.5, 1, 3;
  const Sliders sliders{{{0, 2, 1}}, {}};
  Eigen::MatrixXd t = y;
  slidestep(t, r, sliders, SlideCriterion::procrustesDistance, Eigen::MatrixXd());
  Eigen::MatrixXd expected = y;
  expected.row(2) << 1.0, 0.3;
  EXPECT_TRUE(assert_near(t, expected, 1e-15));

  // The square's corners and the middles of its sides, fixed but for the
  // bottom one, which starts off the middle; the reference is the square.
  Eigen::MatrixXd square(8, 2);
  square << 0, 0, 2, 0, 2, 2, 0, 2, 1, 0, 2, 1, 1, 2, 0, 1;
  Eigen::MatrixXd off = square;
  off(4, 0) = 1.4;
  const Sliders bottom{{{0, 4, 1}}, {}};
  slidestep(off, square, bottom, SlideCriterion::bendingEnergy, bendingenergy(square));
  EXPECT_TRUE(assert_near(off, square, 1e-12));
}

// L annihilates the affine part: [1 R] is in its null space; what remains
// has the sign of the kernel (r^2 log r^2 in 2D, r in 3D). Points at one
// place make the spline's matrix singular.
TEST(BendingEnergy, VanishesForAffineChangesAndHasTheSignOfItsKernel) {
  for (const int dims : {2, 3}) {
    SCOPED_TRACE(dims);
    std::mt19937 engine(static_cast<unsigned>(dims) + 10);
    const Eigen::MatrixXd r = perturbed(baseShape(dims), engine, 0.05);
    const Eigen::MatrixXd l = bendingenergy(r);
    EXPECT_TRUE(assert_near(l, testing::denseBending(r), 1e-9 * l.cwiseAbs().maxCoeff()));
    Eigen::MatrixXd affine(r.rows(), dims + 1);
    affine << Eigen::VectorXd::Ones(r.rows()), r;
    EXPECT_LT((l * affine).cwiseAbs().maxCoeff(), 1e-9 * l.cwiseAbs().maxCoeff());
    const Eigen::MatrixXd bend = perturbed(Eigen::MatrixXd::Zero(r.rows(), dims), engine, 1.0);
    const double energy = (bend.transpose() * l * bend).trace();
    EXPECT_GT(dims == 2 ? energy : -energy, 0);

    Eigen::MatrixXd twice = r;
    twice.row(3) = twice.row(1);
    EXPECT_THROW(bendingenergy(twice), std::invalid_argument);
  }
}

TEST(SlideStep, RefusesACurvePointWithoutDirection) {
  Eigen::MatrixXd y(3, 2);
  y << 1, 1, 5, 5, 1, 1;
  try {
    slidestep(y, y, Sliders{{{0, 1, 2}}, {}}, SlideCriterion::procrustesDistance, {});
    FAIL() << "no error";
  } catch (const SlideError& e) {
    EXPECT_STREQ(e.what(),
                 "semilandmark 2 has no direction to slide in: landmarks 1 and 3, before and "
                 "after it, lie at one place");
  }
}

}  // namespace
}  // namespace tarvolin
