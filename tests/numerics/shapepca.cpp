#include "numerics/shapepca.h"

#include <Eigen/Eigenvalues>
#include <cmath>
#include <limits>
#include <random>

#include "core/onallcores.h"
#include "core/textsink.h"
#include "formats/dload.h"
#include "geometrytesting.h"
#include "landmarks/configstack.h"
#include "numerics/shapespacedimensions.h"
#include "numerics/standardsize.h"
#include "numerics/superimposedataset.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using Eigen::Index;
using testing::assert_near;

// The analysis recomputed from its definition: the covariance formed
// outright, all its eigenvectors, the largest element of each made positive.
struct Reference {
  Eigen::RowVectorXd mean;
  Eigen::VectorXd values;
  Eigen::MatrixXd vectors;
  Eigen::MatrixXd scores;
  double total = 0;
};

Reference recomputed(const Eigen::MatrixXd& coords) {
  Reference r;
  r.mean = coords.colwise().mean();
  const Eigen::MatrixXd centred = coords.rowwise() - r.mean;
  const Eigen::MatrixXd covariance =
      centred.transpose() * centred / static_cast<double>(coords.rows() - 1);
  const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> solver(covariance);
  r.values = solver.eigenvalues().reverse();
  r.vectors = solver.eigenvectors().rowwise().reverse();
  for (Index c = 0; c < r.vectors.cols(); ++c) {
    Index largest = 0;
    for (Index i = 1; i < r.vectors.rows(); ++i) {
      if (std::abs(r.vectors(i, c)) > std::abs(r.vectors(largest, c))) largest = i;
    }
    if (r.vectors(largest, c) < 0) r.vectors.col(c) *= -1;
  }
  r.scores = centred * r.vectors;
  r.total = covariance.trace();
  return r;
}

Eigen::MatrixXd exampleData(const char* file, int dims, bool standardized) {
  Eigen::MatrixXd raw = dload(testing::examplePath(file));
  const TextSink quiet = [](std::string_view) {};
  SuperimposedDataSet s = superimposedataset(std::move(raw), quiet, dims, false);
  if (!standardized) return s.data;
  const Eigen::VectorXd fx = s.data.col(s.data.cols() - 1).array().log();
  return superimposedataset(standardsize(std::move(s.data), fx, fx.mean() + 0.1).y, quiet, dims, false)
      .data;
}

// The first components of the examples are well apart, so that their
// vectors (and so the scores) are defined closely; the later ones are
// checked through their eigenvalues only.
TEST(Shapepca, AgreesWithTheDefinitionOnTheExamplesByEitherRoute) {
  const struct {
    const char* file;
    int dims;
    bool standardized;
    PcaRoute route;
    Index space;  // the dimensions of shape space, by hand: 3k - 7 or 2k - 4, less 1 standardized
  } cases[] = {
      {"skulls_zor.txt", 3, false, PcaRoute::automatic, 35},
      {"skulls_zor.txt", 3, false, PcaRoute::covariance, 35},
      {"skulls_zor.txt", 3, true, PcaRoute::crossproduct, 34},
      {"skulls_zor.txt", 3, true, PcaRoute::covariance, 34},
      {"skulls2d.txt", 2, false, PcaRoute::automatic, 24},
      {"skulls2d.txt", 2, false, PcaRoute::crossproduct, 24},
      {"skulls2d.txt", 2, true, PcaRoute::covariance, 23},
      {"skulls2d.txt", 2, true, PcaRoute::crossproduct, 23},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.file) + (c.standardized ? " standardized" : " superimposed") +
                 " route " + std::to_string(static_cast<int>(c.route)));
    const Eigen::MatrixXd data = exampleData(c.file, c.dims, c.standardized);
    const Index v = data.cols() - 1;
    const Reference r = recomputed(data.leftCols(v));
    const ShapePca p = shapepca(data, v, 0, c.route);

    EXPECT_EQ(p.specimens, data.rows());
    EXPECT_TRUE(assert_near(p.mean, r.mean, 1e-14));
    EXPECT_NEAR(p.totalVariance, r.total, 1e-12 * r.total);
    // Centring and scaling take at least dims + 1 degrees of freedom from
    // superimposed data: their eigenvalues are nought, and left out.
    Index expected = 0;
    while (expected < std::min<Index>(v, data.rows() - 1) &&
           r.values(expected) > pcaroundingfloor(data.rows(), v) * r.values(0)) {
      ++expected;
    }
    EXPECT_LE(expected, v - c.dims - 1);
    ASSERT_EQ(p.components(), expected);
    EXPECT_TRUE(assert_near(p.eigenvalues, r.values.head(expected), 1e-10 * r.values(0)));
    for (Index i = 1; i < p.components(); ++i) EXPECT_GE(p.eigenvalues(i - 1), p.eigenvalues(i));
    const Index sharp = 3;
    EXPECT_TRUE(assert_near(p.vectors.leftCols(sharp), r.vectors.leftCols(sharp), 1e-8));
    EXPECT_TRUE(assert_near(p.scores().leftCols(sharp), r.scores.leftCols(sharp),
                            1e-8 * std::sqrt(r.values(0))));
    // Every vector has unit length and its largest element positive, and the
    // scores are the centred data along it.
    const Eigen::MatrixXd centred = data.leftCols(v).rowwise() - r.mean;
    EXPECT_TRUE(assert_near(p.vectors.transpose() * p.vectors,
                            Eigen::MatrixXd::Identity(expected, expected), 1e-8));
    EXPECT_TRUE(assert_near(p.scores(), centred * p.vectors, 1e-9 * std::sqrt(r.values(0))));
    for (Index j = 0; j < expected; ++j) {
      Index largest = 0;
      for (Index i = 1; i < v; ++i) {
        if (std::abs(p.vectors(i, j)) > std::abs(p.vectors(largest, j))) largest = i;
      }
      EXPECT_GT(p.vectors(largest, j), 0) << "component " << j + 1;
    }
    EXPECT_NEAR(p.cumulative()(expected - 1), 1.0, 1e-10);

    // Held to the dimensions of shape space, the analysis keeps the first
    // of those components and no more.
    const Index space = shapespacedimensions(c.dims, v / c.dims, nullptr, c.standardized);
    EXPECT_EQ(space, c.space);
    const ShapePca held = shapepca(data, v, 0, c.route, space);
    ASSERT_EQ(held.components(), std::min(expected, c.space));
    EXPECT_TRUE(
        assert_near(held.eigenvalues, p.eigenvalues.head(held.components()), 1e-12 * r.values(0)));
  }
}

// Random data of known rank: the count reported obeys the threshold, the
// N - 1 cap and the number asked for, by either route.
TEST(Shapepca, ReportsTheComponentsAboveTheThresholdUpToNMinusOneAndTheNumberAsked) {
  const struct {
    Index specimens;
    Index variables;
    Index rank;  // 0: full
    Index asked;
    Index expected;
  } cases[] = {
      {5, 12, 0, 0, 4},  // N - 1 cap, fewer specimens than variables
      {30, 6, 0, 0, 6},  // every variable
      {30, 6, 2, 0, 2},  // rank 2: the rest are below the threshold
      {30, 6, 0, 3, 3},  // three asked
      {30, 6, 2, 5, 2},  // more asked than there are
      {3, 3, 0, 0, 2},   // N = v, cap N - 1
      {2, 4, 0, 0, 1},   // two specimens: one component
      {4, 3, 0, -2, 3},  // a number below 1 asks for no limit
  };
  std::mt19937 engine(26);
  std::normal_distribution<double> normal(0.0, 1.0);
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.specimens) + " x " + std::to_string(c.variables) + " rank " +
                 std::to_string(c.rank) + " asked " + std::to_string(c.asked));
    Eigen::MatrixXd data(c.specimens, c.variables + 1);
    for (Index i = 0; i < data.size(); ++i) data(i) = normal(engine);
    if (c.rank > 0) {
      Eigen::MatrixXd basis(c.rank, c.variables);
      for (Index i = 0; i < basis.size(); ++i) basis(i) = normal(engine);
      data.leftCols(c.variables) = data.leftCols(c.rank) * basis;
      data.leftCols(c.variables).rowwise() += Eigen::RowVectorXd::Constant(c.variables, 5.0);
    }
    for (const PcaRoute route : {PcaRoute::covariance, PcaRoute::crossproduct}) {
      const ShapePca p = shapepca(data, c.variables, c.asked, route);
      EXPECT_EQ(p.components(), c.expected);
      EXPECT_EQ(p.vectors.cols(), c.expected);
      EXPECT_EQ(p.scores().rows(), c.specimens);
      EXPECT_EQ(p.scores().cols(), c.expected);
      // The components asked for are the first of all of them.
      const ShapePca all = shapepca(data, c.variables, 0, route);
      const Index m = p.components();
      EXPECT_TRUE(assert_near(p.eigenvalues, all.eigenvalues.head(m), 1e-12));
      EXPECT_TRUE(assert_near(p.vectors, all.vectors.leftCols(m), 1e-9));
      EXPECT_TRUE(assert_near(p.scores(), all.scores().leftCols(m), 1e-9));
    }
  }
}

// A cloud stretched along a known direction: the sign rule turns PC1 to it
// whichever way the data run, and the two routes give the same signs.
TEST(Shapepca, TheLargestElementOfEachVectorIsPositive) {
  const struct {
    Eigen::RowVector3d direction;
    Eigen::RowVector3d expected;
  } cases[] = {
      {{0.6, -0.8, 0}, {-0.6, 0.8, 0}},
      {{-0.6, 0.8, 0}, {-0.6, 0.8, 0}},
      {{0, 0, -1}, {0, 0, 1}},
      {{1, 0, 0}, {1, 0, 0}},
  };
  for (const auto& c : cases) {
    Eigen::MatrixXd data(5, 3);
    const double along[] = {-2, -1, 0, 1, 2};
    const double across[] = {0.1, -0.1, 0, -0.1, 0.1};
    const Eigen::RowVector3d normal = c.direction.unitOrthogonal();
    for (Index i = 0; i < 5; ++i) data.row(i) = along[i] * c.direction + across[i] * normal;
    for (const PcaRoute route : {PcaRoute::covariance, PcaRoute::crossproduct}) {
      const ShapePca p = shapepca(data, 3, 0, route);
      EXPECT_TRUE(assert_near(p.vectors.col(0).transpose(), c.expected, 1e-12))
          << c.direction << " route " << static_cast<int>(route);
      EXPECT_NEAR(p.eigenvalues(0), 10.0 / 4.0, 1e-12);
      // A specimen on the positive side of the vector scores positive.
      EXPECT_GT(p.scores()(4, 0) * c.direction.dot(c.expected), 0);
    }
  }
}

TEST(Shapepca, ShapesAtAScoreAndTheProportions) {
  Eigen::MatrixXd data(4, 3);
  data << 0, 0, 9, 4, 0, 9, 0, 2, 9, 4, 2, 9;  // the last column is not read
  const ShapePca p = shapepca(data, 2);
  ASSERT_EQ(p.components(), 2);
  // Covariance diag(16/3, 4/3): PC1 along x, PC2 along y.
  EXPECT_TRUE(assert_near(p.eigenvalues, Eigen::Vector2d(16.0 / 3, 4.0 / 3), 1e-12));
  EXPECT_NEAR(p.totalVariance, 20.0 / 3, 1e-12);
  EXPECT_TRUE(assert_near(p.proportions(), Eigen::Vector2d(0.8, 0.2), 1e-12));
  EXPECT_TRUE(assert_near(p.cumulative(), Eigen::Vector2d(0.8, 1.0), 1e-12));
  EXPECT_TRUE(assert_near(p.mean, testing::row({2, 1}), 1e-12));
  const struct {
    Index component;
    double score;
    Eigen::RowVector2d shape;
  } cases[] = {
      {0, 0, {2, 1}}, {0, 2, {4, 1}}, {0, -2, {0, 1}}, {1, 1, {2, 2}}, {1, -0.5, {2, 0.5}}};
  for (const auto& c : cases) {
    EXPECT_TRUE(assert_near(p.shapeat(c.component, c.score), c.shape, 1e-12));
    EXPECT_TRUE(assert_near(p.shapeat(c.component, c.score),
                            p.mean + c.score * p.vectors.col(c.component).transpose(), 0));
  }
  // The extreme scores give back the specimens' own extremes.
  EXPECT_TRUE(assert_near(p.shapeat(0, p.scores().col(0).maxCoeff()), testing::row({4, 1}), 1e-12));
  EXPECT_THROW_MSG(p.shapeat(2, 1.0), std::invalid_argument, "no component 3");
  EXPECT_THROW_MSG(p.shapeat(-1, 1.0), std::invalid_argument, "no component 0");
}

TEST(Shapepca, IdenticalSpecimensHaveNoComponent) {
  const Eigen::MatrixXd data = Eigen::MatrixXd::Constant(4, 6, 1.5);
  for (const PcaRoute route : {PcaRoute::covariance, PcaRoute::crossproduct}) {
    const ShapePca p = shapepca(data, 6, 0, route);
    EXPECT_EQ(p.components(), 0);
    EXPECT_EQ(p.totalVariance, 0);
    EXPECT_EQ(p.proportions().size(), 0);
  }
}

// OpenBLAS is kept to one thread, so the lanes the program runs change no
// bit of the result; several blocks of rows of scores, the last one
// shorter, are all as right as the first.
TEST(Shapepca, TheSameBitsOnAnyNumberOfLanes) {
  std::mt19937 engine(2026);
  std::normal_distribution<double> normal(0.0, 1.0);
  Eigen::MatrixXd data(700, 201);
  for (Index i = 0; i < data.size(); ++i) data(i) = normal(engine);
  const auto analysed = [&](int lanes) {
    const LaneCount count(lanes);
    return shapepca(data, 200);
  };
  const ShapePca one = analysed(1);
  ASSERT_EQ(one.components(), 200);
  for (const int lanes : {2, 5}) {
    const ShapePca many = analysed(lanes);
    EXPECT_TRUE(testing::sameBits(many.scores(), one.scores())) << lanes << " lanes";
    EXPECT_TRUE(testing::sameBits(many.vectors, one.vectors)) << lanes << " lanes";
  }
  const Eigen::MatrixXd centred = data.leftCols(200).rowwise() - one.mean;
  EXPECT_TRUE(assert_near(one.scores(), centred * one.vectors, 1e-10));
}

TEST(Shapepca, Refusals) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  Eigen::MatrixXd withNan = Eigen::MatrixXd::Random(5, 4);
  withNan(3, 1) = nan;
  Eigen::MatrixXd withInf = Eigen::MatrixXd::Random(5, 4);
  withInf(1, 0) = -inf;
  Eigen::MatrixXd nanInSize = Eigen::MatrixXd::Random(5, 4);
  nanInSize(2, 3) = nan;
  const struct {
    Eigen::MatrixXd data;
    Index variables;
    const char* error;  // nullptr: analysed
  } cases[] = {
      {Eigen::MatrixXd::Random(5, 4), 0, "0 variables asked of a data set of 4 columns"},
      {Eigen::MatrixXd::Random(5, 4), 5, "5 variables asked of a data set of 4 columns"},
      {Eigen::MatrixXd::Random(5, 4), -1, "-1 variables"},
      {Eigen::MatrixXd::Random(1, 4), 3, "at least 2 specimens, not 1"},
      {Eigen::MatrixXd::Random(0, 4), 3, "at least 2 specimens, not 0"},
      {withNan, 3, "specimen 4 (row 4)"},
      {withInf, 3, "specimen 2 (row 2)"},
      {nanInSize, 3, nullptr},
  };
  for (const auto& c : cases) {
    if (c.error) {
      EXPECT_THROW_MSG(shapepca(c.data, c.variables), std::invalid_argument, c.error);
    } else {
      EXPECT_EQ(shapepca(c.data, c.variables).components(), 3);
    }
  }
}

}  // namespace
}  // namespace tarvolin
