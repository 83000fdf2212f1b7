#include "numerics/checkdata.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "formats/readlandmarks.h"
#include "geometrytesting.h"
#include "numerics/partialprocrustes2D.h"
#include "numerics/partialprocrustes3a.h"
#include "numerics/superimposedataset.h"
#include "numerics/swapcandidates.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using Eigen::Index;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
using Plant = std::function<void(Eigen::MatrixXd&)>;

// An example file's data set, faults planted by `plant`, superimposed as loading does.
Eigen::MatrixXd exampleData(const std::string& name, int dims, const Plant& plant = {}) {
  ReadOptions options;
  options.dims = dims;
  Eigen::MatrixXd data =
      landmarkdataset(readlandmarks(testing::examplePath(name), std::nullopt, options));
  if (plant) plant(data);
  return superimposedataset(std::move(data), testing::noNotes(), dims).data;
}

// Faults (0-based numbers): two landmarks exchanged, X reversed, coordinates and size times 10.
auto exchange(int dims, Index specimen, Index a, Index b) {
  return [=](Eigen::MatrixXd& d) {
    for (int c = 0; c < dims; ++c) std::swap(d(specimen, dims * a + c), d(specimen, dims * b + c));
  };
}
auto mirror(int dims, Index specimen) {
  return [=](Eigen::MatrixXd& d) {
    for (Index col = 0; col < d.cols() - 1; col += dims) d(specimen, col) *= -1;
  };
}
auto timesTen(Index specimen) {
  return [=](Eigen::MatrixXd& d) { d.row(specimen) *= 10; };
}

Eigen::MatrixXd configuration(const Eigen::MatrixXd& data, int dims, Index i) {
  Eigen::MatrixXd x((data.cols() - 1) / dims, dims);
  for (Index j = 0; j < x.rows(); ++j) {
    for (int c = 0; c < dims; ++c) x(j, c) = data(i, dims * j + c);
  }
  return x;
}

// Type 7 as written: the value at position 1 + (N - 1) p of the sorted list.
std::array<double, 3> quartilesByDefinition(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  std::array<double, 3> q{};
  for (size_t i = 0; i < 3; ++i) {
    const double h = 1 + (static_cast<double>(v.size()) - 1) * static_cast<double>(i + 1) / 4;
    const auto lo = static_cast<size_t>(std::floor(h));
    q[i] = v[lo - 1] + (h - std::floor(h)) * (v[std::min(lo + 1, v.size()) - 1] - v[lo - 1]);
  }
  return q;
}

double refitted(const Eigen::MatrixXd& mean, const Eigen::MatrixXd& x) {
  return ((x.cols() == 3 ? partialprocrustes3a(mean, x, testing::noNotes())
                         : partialprocrustes2D(mean, x, testing::noNotes())) -
          mean)
      .norm();
}

TEST(Checkdata, FindsEachPlantedFaultAndNothingInCleanData) {
  struct Case {
    const char* file;
    int dims;
    Plant plant;
    std::vector<Index> outliers, sizeOutliers;
    std::optional<std::array<int, 2>> swap;  // from 1
    bool mirrored;
  };
  const char* zor = "skulls_zor.txt";
  const char* flat = "skulls2d.txt";
  const std::vector<Case> cases = {
      {zor, 3, {}, {}, {}, std::nullopt, false},
      {flat, 2, {}, {}, {}, std::nullopt, false},
      {zor, 3, exchange(3, 11, 2, 8), {11}, {}, std::array<int, 2>{3, 9}, false},
      {flat, 2, exchange(2, 5, 0, 6), {5}, {}, std::array<int, 2>{1, 7}, false},
      // Specimen 23: a mirror image of most others moves the mean enough to
      // put specimen 12, near the limit, beyond it too.
      {zor, 3, mirror(3, 22), {22}, {}, std::nullopt, true},
      {flat, 2, mirror(2, 3), {3}, {}, std::nullopt, true},
      {zor, 3, timesTen(30), {}, {30}, std::nullopt, false},
      {flat, 2, timesTen(0), {}, {0}, std::nullopt, false},
  };
  for (size_t row = 0; row < cases.size(); ++row) {
    const Case& c = cases[row];
    SCOPED_TRACE("row " + std::to_string(row));
    const DataCheck check = checkdata(exampleData(c.file, c.dims, c.plant), c.dims);
    std::vector<Index> outliers, sizeOutliers;
    for (size_t i = 0; i < check.specimens.size(); ++i) {
      if (check.specimens[i].outlier) outliers.push_back(static_cast<Index>(i));
      if (check.specimens[i].sizeOutlier) sizeOutliers.push_back(static_cast<Index>(i));
    }
    EXPECT_EQ(outliers, c.outliers);
    EXPECT_EQ(sizeOutliers, c.sizeOutliers);
    EXPECT_EQ(check.outOfLine(), static_cast<int>(outliers.size() + sizeOutliers.size()));
    for (const Index i : outliers) {
      const SpecimenCheck& s = check.specimens[static_cast<size_t>(i)];
      EXPECT_EQ(s.swapped ? s.swap : std::nullopt, c.swap);
      EXPECT_EQ(s.mirrored, c.mirrored);
      EXPECT_EQ(s.rank, 1);
    }
  }
}

TEST(Checkdata, FiguresFollowTheirDefinitions) {
  struct Case {
    const char* file;
    int dims;
    Index swapped;  // the specimen whose landmarks 2 and 11 change places, or -1
  };
  const std::vector<Case> cases = {{"skulls_zor.txt", 3, -1},
                                   {"skulls_zor.txt", 3, 7},
                                   {"skulls2d.txt", 2, -1},
                                   {"skulls2d.txt", 2, 30}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.dims) + "D, " + std::to_string(c.swapped));
    const Eigen::MatrixXd data =
        exampleData(c.file, c.dims, c.swapped < 0 ? Plant() : exchange(c.dims, c.swapped, 1, 10));
    const DataCheck check = checkdata(data, c.dims);
    const Index n = data.rows();
    const Index k = (data.cols() - 1) / c.dims;
    ASSERT_EQ(check.specimens.size(), static_cast<size_t>(n));
    ASSERT_EQ(check.byRank.size(), static_cast<size_t>(n));
    EXPECT_EQ(check.landmarks, k);

    Eigen::MatrixXd mean = Eigen::MatrixXd::Zero(k, c.dims);
    for (Index i = 0; i < n; ++i) mean += configuration(data, c.dims, i) / static_cast<double>(n);
    std::vector<double> distances, logSizes;
    for (Index i = 0; i < n; ++i) {
      const Eigen::MatrixXd x = configuration(data, c.dims, i);
      Index farthest = 0;
      for (Index j = 0; j < k; ++j) {
        if ((x.row(j) - mean.row(j)).norm() > (x.row(farthest) - mean.row(farthest)).norm()) {
          farthest = j;
        }
      }
      distances.push_back((x - mean).norm());
      logSizes.push_back(std::log(data(i, data.cols() - 1)));
      EXPECT_NEAR(check.specimens[static_cast<size_t>(i)].distance, distances.back(), 1e-12);
      EXPECT_EQ(check.specimens[static_cast<size_t>(i)].farthestLandmark, farthest + 1);
    }
    const std::array<double, 3> q = quartilesByDefinition(distances);
    const double limit = q[2] + 1.5 * (q[2] - q[0]);
    for (size_t i = 0; i < 3; ++i) EXPECT_NEAR(check.quartiles[i], q[i], 1e-12);
    EXPECT_NEAR(check.limit, limit, 1e-12);
    const std::array<double, 3> lq = quartilesByDefinition(logSizes);
    EXPECT_NEAR(check.sizeLimits[0], std::exp(lq[0] - 1.5 * (lq[2] - lq[0])), 1e-9);
    EXPECT_NEAR(check.sizeLimits[1], std::exp(lq[2] + 1.5 * (lq[2] - lq[0])), 1e-9);
    EXPECT_NEAR(check.sizeMedian, std::exp(lq[1]), 1e-9);

    for (Index i = 0; i < n; ++i) {
      const SpecimenCheck& s = check.specimens[static_cast<size_t>(i)];
      const double d = distances[static_cast<size_t>(i)];
      int rank = 1;
      for (Index o = 0; o < n; ++o) rank += distances[static_cast<size_t>(o)] > d;
      EXPECT_EQ(s.rank, rank);
      EXPECT_EQ(check.byRank[static_cast<size_t>(rank - 1)], i);
      EXPECT_EQ(s.outlier, d > limit);
      EXPECT_EQ(s.outlier, s.mirroredDistance.has_value());
      if (!s.outlier) continue;
      // Every exchange fitted again: the few the held fit picks hold the best.
      const Eigen::MatrixXd x = configuration(data, c.dims, i);
      double best = std::numeric_limits<double>::infinity();
      std::array<int, 2> bestPair{};
      for (int a = 0; a < k; ++a) {
        for (int b = a + 1; b < k; ++b) {
          Eigen::MatrixXd exchanged = x;
          exchanged.row(a).swap(exchanged.row(b));
          if (const double e = refitted(mean, exchanged); e < best) {
            best = e;
            bestPair = {a + 1, b + 1};
          }
        }
      }
      EXPECT_EQ(s.swap, bestPair);
      EXPECT_NEAR(s.swapDistance.value_or(kNaN), best, 1e-12);
      Eigen::MatrixXd mirrored = x;
      mirrored.col(0) *= -1;
      EXPECT_NEAR(s.mirroredDistance.value_or(kNaN), refitted(mean, mirrored), 1e-12);
    }
    EXPECT_EQ(c.swapped >= 0,
              check.specimens[static_cast<size_t>(std::max<Index>(c.swapped, 0))].swap ==
                  std::optional(std::array<int, 2>{2, 11}));
    // Without the causes, the same figures and none of the causes.
    const DataCheck without = checkdata(data, c.dims, false);
    EXPECT_EQ(without.byRank, check.byRank);
    EXPECT_TRUE(std::none_of(without.specimens.begin(), without.specimens.end(),
                             [](const SpecimenCheck& s) { return s.swap || s.mirroredDistance; }));
  }
}

// A specimen only just past the limit has no cause to name: an exchange or a
// mirror image that takes it a hair below the limit explains nothing. Each
// specimen in turn is pushed from the mean until it lies a little past the
// limit.
TEST(Checkdata, ABorderlineOutlierHasNoCause) {
  for (const auto& [file, dims] : {std::pair{"skulls_zor.txt", 3}, std::pair{"skulls2d.txt", 2}}) {
    const Eigen::MatrixXd clean = exampleData(file, dims);
    const DataCheck before = checkdata(clean, dims);
    const Eigen::RowVectorXd mean = clean.colwise().mean();
    int outliers = 0;
    for (Index i = 0; i < clean.rows(); ++i) {
      Eigen::MatrixXd pushed = clean;
      const double stretch = 1.03 * before.limit / before.specimens[i].distance;
      pushed.row(i).head(clean.cols() - 1) =
          mean.head(clean.cols() - 1) + stretch * (clean.row(i) - mean).head(clean.cols() - 1);
      const SpecimenCheck s = checkdata(pushed, dims).specimens[i];
      if (!s.outlier) continue;
      ++outliers;
      EXPECT_FALSE(s.swapped) << file << " specimen " << i + 1;
      EXPECT_FALSE(s.mirrored) << file << " specimen " << i + 1;
    }
    EXPECT_GT(outliers, 10) << file;
  }
}

TEST(Checkdata, QuartilesInterpolateBetweenOrderStatistics) {
  const std::vector<std::pair<std::vector<double>, std::array<double, 3>>> cases = {
      {{5}, {5, 5, 5}},
      {{3, 1}, {1.5, 2, 2.5}},
      {{4, 1, 3, 2}, {1.75, 2.5, 3.25}},
      {{10, 2, 1, 2, 2}, {2, 2, 2}},
      {{1, 2, 3, 4, 100}, {2, 3, 4}},
      {{kNaN, 3, 1}, {1.5, 2, 2.5}},
  };
  for (const auto& [values, expected] : cases) {
    const auto q = quartiles(Eigen::Map<const Eigen::VectorXd>(values.data(), values.size()));
    for (size_t i = 0; i < 3; ++i) EXPECT_DOUBLE_EQ(q[i], expected[i]) << values.size();
  }
  EXPECT_TRUE(std::isnan(quartiles(Eigen::VectorXd())[1]));
}

// Copies of one shape, each turned, moved and scaled, superimposed; size 10.
Eigen::MatrixXd copiesOfOneShape(int dims, Index copies, Index landmarks) {
  std::mt19937 engine(5);
  const Eigen::MatrixXd base = testing::randomConfiguration(engine, landmarks).leftCols(dims);
  Eigen::MatrixXd data(copies, dims * landmarks + 1);
  for (Index i = 0; i < copies; ++i) {
    const Eigen::MatrixXd turned = dims == 3
                                       ? Eigen::MatrixXd(base * testing::randomRotation(engine))
                                       : Eigen::MatrixXd(base * testing::randomRotation2D(engine));
    const Eigen::MatrixXd x =
        (static_cast<double>(i + 1) * turned).array() + static_cast<double>(i);
    for (Index j = 0; j < landmarks; ++j) data.block(i, dims * j, 1, dims) = x.row(j);
    data(i, data.cols() - 1) = 10.0;
  }
  return superimposedataset(std::move(data), testing::noNotes(), dims).data;
}

TEST(Checkdata, FewOrEqualSpecimensGiveNoFinding) {
  const std::vector<std::array<int, 3>> cases = {
      // dims, specimens, landmarks
      {3, 1, 5}, {3, 2, 5}, {3, 3, 5}, {2, 1, 4}, {2, 2, 4}, {2, 3, 4}, {3, 30, 12}, {2, 30, 12}};
  for (const auto& [dims, n, k] : cases) {
    SCOPED_TRACE(std::to_string(dims) + "D, N = " + std::to_string(n));
    const DataCheck check = checkdata(copiesOfOneShape(dims, n, k), dims);
    EXPECT_EQ(check.specimens.size(), static_cast<size_t>(n));
    EXPECT_EQ(check.outOfLine(), 0);
    EXPECT_NEAR(check.sizeMedian, 10.0, 1e-12);
  }
  const DataCheck empty = checkdata(Eigen::MatrixXd(0, 10), 3);
  EXPECT_TRUE(empty.specimens.empty() && std::isnan(empty.limit));
}

TEST(Checkdata, SizeRuleAtItsEdges) {
  // Each row: every size, then specimen 2's, and whether specimen 2 is out of
  // line. Equal sizes give limits of exp(ln s), a rounding away from s (above
  // it for 10, below for 12.34); sizes that are not positive numbers are out
  // of line and left out of the limits.
  const std::vector<std::array<double, 3>> cases = {
      {10, 10, 0},
      {12.34, 12.34, 0},
      {10, 10 * (1 + 1e-6), 1},
      {10, 10 * (1 - 1e-6), 1},
      {12.34, 12.34 * (1 + 1e-6), 1},
      {10, 0, 1},
      {10, -5, 1},
      {10, kNaN, 1},
      {10, std::numeric_limits<double>::infinity(), 1}};
  for (const auto& [all, second, out] : cases) {
    SCOPED_TRACE(std::to_string(all) + ", " + std::to_string(second));
    Eigen::MatrixXd data = copiesOfOneShape(3, 4, 6);
    data.col(data.cols() - 1).setConstant(all);
    data(2, data.cols() - 1) = second;
    const DataCheck check = checkdata(data, 3);
    EXPECT_EQ(check.specimens[2].sizeOutlier, out == 1);
    EXPECT_EQ(check.outOfLine(), out == 1 ? 1 : 0);
    EXPECT_NEAR(check.sizeMedian, all, 1e-12);
    EXPECT_TRUE(std::isfinite(check.sizeLimits[0]) && std::isfinite(check.sizeLimits[1]));
  }
}

TEST(Checkdata, TiesAndSpecimensThatCouldNotBeSuperimposed) {
  // Both lie as far from the mean, each with both landmarks as far: the first goes first.
  Eigen::MatrixXd tie(2, 5);
  tie << 0, 0, 0, 0, 1, 2, 0, 0, 2, 1;
  const DataCheck check = checkdata(tie, 2);
  EXPECT_EQ(check.byRank, (std::vector<Index>{0, 1}));
  EXPECT_EQ(check.specimens[1].farthestLandmark, 1);
  // A row that is not a number makes the mean none: every specimen is out of line.
  Eigen::MatrixXd data = exampleData("skulls2d.txt", 2);
  data.row(9).head(data.cols() - 1).setConstant(kNaN);
  const DataCheck broken = checkdata(data, 2);
  EXPECT_EQ(broken.byRank[0], 0);
  EXPECT_EQ(broken.outOfLine(), 40);
  EXPECT_FALSE(broken.specimens[9].swap.has_value());
}

// A curve whose points were digitized from its other end (the second curve
// of the 2D wings, its ten points in reverse order) is found by reversing
// it again, fitted anew: as a TPS curve, reversed whole, and as a run of
// sliders between landmarks 5 and 8, which stay. Without the curves it is
// only far from the mean.
TEST(Checkdata, FindsACurveDigitizedBackwards) {
  constexpr Index kSpecimen = 11;
  // wings2d.tps: 8 landmarks, then two curves of 10 points, the second
  // along the edge from landmark 5 to 8.
  std::vector<int> first(10), second(10);
  for (int p = 0; p < 10; ++p) first[p] = 8 + p, second[p] = 18 + p;
  std::vector<int> between = second;
  between.insert(between.begin(), 4);
  between.push_back(7);
  const Eigen::MatrixXd data = exampleData("wings2d.tps", 2, [&](Eigen::MatrixXd& d) {
    for (int p = 0; p < 5; ++p) {
      for (int c = 0; c < 2; ++c) {
        std::swap(d(kSpecimen, 2 * second[p] + c), d(kSpecimen, 2 * second[9 - p] + c));
      }
    }
  });
  Eigen::MatrixXd restored = configuration(data, 2, kSpecimen);
  for (int p = 0; p < 10; ++p) {
    restored.row(second[p]) = configuration(data, 2, kSpecimen).row(second[9 - p]);
  }
  const Eigen::MatrixXd mean = configuration(Eigen::MatrixXd(data.colwise().mean()), 2, 0);
  const struct {
    std::vector<std::vector<int>> curves;
    int curve;
  } cases[] = {{{first, second}, 2}, {{between}, 1}};
  for (const auto& c : cases) {
    const DataCheck check = checkdata(data, 2, true, c.curves);
    const SpecimenCheck& s = check.specimens[kSpecimen];
    ASSERT_TRUE(s.outlier);
    EXPECT_EQ(check.byRank.front(), kSpecimen);
    EXPECT_EQ(s.curve, c.curve);
    EXPECT_TRUE(s.reversed);
    EXPECT_EQ(s.likeliestCause(), ShapeCause::curve);
    EXPECT_NEAR(*s.curveDistance, refitted(mean, restored), 1e-12);
    EXPECT_LT(*s.curveDistance, check.limit);
  }
  const SpecimenCheck plain = checkdata(data, 2).specimens[kSpecimen];
  EXPECT_FALSE(plain.curve.has_value());
  EXPECT_NE(plain.likeliestCause(), ShapeCause::curve);
  EXPECT_THROW_MSG(checkdata(data, 2, true, {{27, 28}}), std::invalid_argument,
                   "checkdata: curve 1 names point 28 of 28");
}

TEST(Checkdata, RefusesWhatIsNotADataSet) {
  EXPECT_THROW_MSG(checkdata(Eigen::MatrixXd::Ones(3, 10), 4), std::invalid_argument,
                   "checkdata: data are 2D or 3D, not 4D");
  EXPECT_THROW_MSG(
      checkdata(Eigen::MatrixXd::Ones(3, 9), 3), std::invalid_argument,
      "checkdata: a data set of 3D landmarks has 3 k + 1 columns for some k >= 1, not 9");
  EXPECT_THROW_MSG(checkdata(Eigen::MatrixXd::Ones(3, 1), 2), std::invalid_argument, "not 1");
}

TEST(Swapcandidates, RankThePairsByTheChangeWithTheFitHeld) {
  std::mt19937 engine(11);
  for (const auto& [dims, k] : std::vector<std::pair<int, int>>{{3, 150}, {2, 9}}) {
    const Eigen::MatrixXd x = testing::randomConfiguration(engine, k).leftCols(dims);
    const Eigen::MatrixXd m = testing::randomConfiguration(engine, k).leftCols(dims);
    std::vector<std::pair<double, std::array<int, 2>>> all;
    for (int a = 0; a < k; ++a) {
      for (int b = a + 1; b < k; ++b) {
        Eigen::MatrixXd exchanged = x;
        exchanged.row(a).swap(exchanged.row(b));
        all.push_back({(exchanged - m).squaredNorm() - (x - m).squaredNorm(), {a, b}});
      }
    }
    std::sort(all.begin(), all.end());
    const std::vector<std::array<int, 2>> got = swapcandidates(x, m, 6);
    ASSERT_EQ(got.size(), 6u);
    for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], all[i].second) << i;
    EXPECT_EQ(swapcandidates(x, m, 1 << 20).size(), all.size());  // none passed over
  }
  const Eigen::MatrixXd zero = Eigen::MatrixXd::Zero(4, 3);  // every change 0: in order
  EXPECT_EQ(swapcandidates(zero, zero, 9),
            (std::vector<std::array<int, 2>>{{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}}));
  EXPECT_TRUE(swapcandidates(zero.topRows(1), zero.topRows(1), 4).empty());
}

}  // namespace
}  // namespace tarvolin
