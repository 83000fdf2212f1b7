#include "numerics/slidestep.h"

#include <cmath>
#include <initializer_list>
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
    Sliders sliders;
    const Eigen::MatrixXd r =
        testing::perturbed(testing::slidingShape(c.dims, 8, sliders, 27), engine, 0.05);
    const Eigen::MatrixXd y = testing::perturbed(r, engine, 0.1);
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

// Worked by hand. By Procrustes distance a point moves along its
// directions until its offset from the reference is square to them: (0.7,
// 0.3) between (0, 0) and (2, 0) goes to x = 1, the reference's; a surface
// point that lies with its neighbours in the plane z = 0 stays in it and
// takes the reference's x and y. By bending energy, with every other point on the
// reference, the spline bends only through the sliding point, so the
// lowest energy is where its offset is square to its direction: the same
// place, in 2D and 3D.
TEST(SlideStep, WorkedByHand) {
  const auto m = [](Index rows, Index cols, std::initializer_list<double> values) {
    Eigen::MatrixXd x(rows, cols);
    Index i = 0;
    for (const double v : values) x(i / cols, i % cols) = v, ++i;
    return x;
  };
  const struct {
    SlideCriterion criterion;
    Eigen::MatrixXd y, r, expected;
    Sliders sliders;
  } cases[] = {
      {SlideCriterion::procrustesDistance, m(4, 2, {0, 0, 2, 0, 0.7, 0.3, 1, 3}),
       m(4, 2, {0, 0, 2, 0, 1.0, 0.5, 1, 3}), m(4, 2, {0, 0, 2, 0, 1.0, 0.3, 1, 3}),
       Sliders{{{0, 2, 1}}, {}}},
      {SlideCriterion::bendingEnergy, m(4, 2, {0, 0, 2, 0, 0.7, 0.3, 1, 3}),
       m(4, 2, {0, 0, 2, 0, 1.0, 0.5, 1, 3}), m(4, 2, {0, 0, 2, 0, 1.0, 0.3, 1, 3}),
       Sliders{{{0, 2, 1}}, {}}},
      {SlideCriterion::procrustesDistance,
       m(5, 3, {0, 0, 0, 2, 0, 0, 0, 2, 0, 2, 2, 0, 0.3, 0.2, 0}),
       m(5, 3, {0, 0, 0, 2, 0, 0, 0, 2, 0, 2, 2, 0, 1, 1, 0.1}),
       m(5, 3, {0, 0, 0, 2, 0, 0, 0, 2, 0, 2, 2, 0, 1, 1, 0}), Sliders{{}, {4}}},
      {SlideCriterion::bendingEnergy,
       m(5, 3, {0, 0, 0, 2, 0, 0, 0, 2, 0, 1, 1, 2, 0.7, 0.3, 0.4}),
       m(5, 3, {0, 0, 0, 2, 0, 0, 0, 2, 0, 1, 1, 2, 1.0, 0.5, 0.6}),
       m(5, 3, {0, 0, 0, 2, 0, 0, 0, 2, 0, 1, 1, 2, 1.0, 0.3, 0.4}), Sliders{{{0, 4, 1}}, {}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.y.cols() << "D, criterion " << static_cast<int>(c.criterion));
    Eigen::MatrixXd t = c.y;
    slidestep(t, c.r, c.sliders, c.criterion,
              c.criterion == SlideCriterion::bendingEnergy ? bendingenergy(c.r) : Eigen::MatrixXd());
    EXPECT_TRUE(assert_near(t, c.expected, 1e-12));
  }
}

// L annihilates the affine part: [1 R] is in its null space; what remains
// has the sign of the kernel (r^2 log r^2 in 2D, r in 3D). Points at one
// place make the spline's matrix singular.
TEST(BendingEnergy, VanishesForAffineChangesAndHasTheSignOfItsKernel) {
  for (const int dims : {2, 3}) {
    SCOPED_TRACE(dims);
    std::mt19937 engine(static_cast<unsigned>(dims) + 10);
    Sliders sliders;
    const Eigen::MatrixXd r =
        testing::perturbed(testing::slidingShape(dims, 8, sliders, 27), engine, 0.05);
    const Eigen::MatrixXd l = bendingenergy(r);
    EXPECT_TRUE(assert_near(l, testing::denseBending(r), 1e-9 * l.cwiseAbs().maxCoeff()));
    Eigen::MatrixXd affine(r.rows(), dims + 1);
    affine << Eigen::VectorXd::Ones(r.rows()), r;
    EXPECT_LT((l * affine).cwiseAbs().maxCoeff(), 1e-9 * l.cwiseAbs().maxCoeff());
    const Eigen::MatrixXd bend =
        testing::perturbed(Eigen::MatrixXd::Zero(r.rows(), dims), engine, 1.0);
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
