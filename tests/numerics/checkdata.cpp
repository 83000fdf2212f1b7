#include "numerics/checkdata.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/console.h"
#include "formats/readlandmarks.h"
#include "geometrytesting.h"
#include "landmarks/landmarkset.h"
#include "numerics/fitdistance.h"
#include "numerics/partialprocrustes2D.h"
#include "numerics/partialprocrustes3a.h"
#include "numerics/superimposedataset.h"
#include "numerics/swapcandidates.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using Eigen::Index;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// An example file's data set as read, coordinates then size.
Eigen::MatrixXd exampleData(const std::string& name, int dims) {
  ReadOptions options;
  options.dims = dims;
  return landmarkdataset(readlandmarks(testing::examplePath(name), std::nullopt, options));
}

Eigen::MatrixXd superimposed(Eigen::MatrixXd data, int dims) {
  return superimposedataset(std::move(data), testing::noNotes(), dims).data;
}

// The faults a row of the table plants in the raw data (0-based numbers).
void exchangeLandmarks(Eigen::MatrixXd& data, int dims, Index specimen, Index a, Index b) {
  for (int c = 0; c < dims; ++c)
    std::swap(data(specimen, dims * a + c), data(specimen, dims * b + c));
}

void mirror(Eigen::MatrixXd& data, int dims, Index specimen) {
  for (Index column = 0; column < data.cols() - 1; column += dims) data(specimen, column) *= -1;
}

void timesTen(Eigen::MatrixXd& data, Index specimen) { data.row(specimen) *= 10; }

struct Expected {
  std::vector<Index> outliers;  // by distance
  std::vector<Index> sizeOutliers;
  std::optional<std::array<int, 2>> swap;  // of the one outlier, from 1, looking swapped
  bool mirrored = false;
};

struct PlantedCase {
  const char* name;
  const char* file;
  int dims;
  std::function<void(Eigen::MatrixXd&)> plant;
  Expected expected;
};

TEST(Checkdata, FindsEachPlantedFaultAndNothingInCleanData) {
  const std::vector<PlantedCase> cases = {
      {"clean 3D", "skulls_zor.txt", 3, [](Eigen::MatrixXd&) {}, {}},
      {"clean 2D", "skulls2d.txt", 2, [](Eigen::MatrixXd&) {}, {}},
      {"swap 3D",
       "skulls_zor.txt",
       3,
       [](Eigen::MatrixXd& d) { exchangeLandmarks(d, 3, 11, 2, 8); },
       {{11}, {}, std::array<int, 2>{3, 9}, false}},
      {"swap 2D",
       "skulls2d.txt",
       2,
       [](Eigen::MatrixXd& d) { exchangeLandmarks(d, 2, 5, 0, 6); },
       {{5}, {}, std::array<int, 2>{1, 7}, false}},
      {"mirror 3D",
       "skulls_zor.txt",
       3,
       [](Eigen::MatrixXd& d) { mirror(d, 3, 22); },
       {{22}, {}, std::nullopt, true}},
      {"mirror 2D",
       "skulls2d.txt",
       2,
       [](Eigen::MatrixXd& d) { mirror(d, 2, 3); },
       {{3}, {}, std::nullopt, true}},
      {"units 3D",
       "skulls_zor.txt",
       3,
       [](Eigen::MatrixXd& d) { timesTen(d, 30); },
       {{}, {30}, std::nullopt, false}},
      {"units 2D",
       "skulls2d.txt",
       2,
       [](Eigen::MatrixXd& d) { timesTen(d, 0); },
       {{}, {0}, std::nullopt, false}},
  };
  for (const PlantedCase& c : cases) {
    SCOPED_TRACE(c.name);
    Eigen::MatrixXd data = exampleData(c.file, c.dims);
    c.plant(data);
    const DataCheck check = checkdata(superimposed(std::move(data), c.dims), c.dims);
    std::vector<Index> outliers;
    std::vector<Index> sizeOutliers;
    for (size_t i = 0; i < check.specimens.size(); ++i) {
      const SpecimenCheck& s = check.specimens[i];
      if (s.outlier) outliers.push_back(static_cast<Index>(i));
      if (s.sizeOutlier) sizeOutliers.push_back(static_cast<Index>(i));
    }
    EXPECT_EQ(outliers, c.expected.outliers);
    EXPECT_EQ(sizeOutliers, c.expected.sizeOutliers);
    EXPECT_EQ(check.outOfLine(), static_cast<int>(outliers.size() + sizeOutliers.size()));
    for (const Index i : outliers) {
      const SpecimenCheck& s = check.specimens[static_cast<size_t>(i)];
      EXPECT_EQ(s.swapped(check.limit) ? s.swap : std::nullopt, c.expected.swap);
      EXPECT_EQ(s.mirrored, c.expected.mirrored);
      EXPECT_EQ(s.rank, 1);
    }
  }
}

// Type 7 as written: the value at position 1 + (N - 1) p of the sorted list.
std::array<double, 3> quartilesByDefinition(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  std::array<double, 3> q{};
  for (int i = 0; i < 3; ++i) {
    const double h = 1 + (static_cast<double>(v.size()) - 1) * (i + 1) / 4.0;
    const auto lo = static_cast<size_t>(std::floor(h));
    const size_t hi = std::min(lo + 1, v.size());
    q[static_cast<size_t>(i)] = v[lo - 1] + (h - static_cast<double>(lo)) * (v[hi - 1] - v[lo - 1]);
  }
  return q;
}

// Specimen i as a configuration, k x dims, read landmark by landmark.
Eigen::MatrixXd configuration(const Eigen::MatrixXd& data, int dims, Index i) {
  const Index k = (data.cols() - 1) / dims;
  Eigen::MatrixXd x(k, dims);
  for (Index j = 0; j < k; ++j) {
    for (int c = 0; c < dims; ++c) x(j, c) = data(i, dims * j + c);
  }
  return x;
}

// The distance after the fit of partialprocrustes3a / partialprocrustes2D.
double refitted(const Eigen::MatrixXd& mean, const Eigen::MatrixXd& x) {
  const Eigen::MatrixXd fitted = x.cols() == 3 ? partialprocrustes3a(mean, x, testing::noNotes())
                                               : partialprocrustes2D(mean, x, testing::noNotes());
  return (fitted - mean).norm();
}

TEST(Checkdata, FiguresFollowTheirDefinitions) {
  struct Case {
    const char* name;
    const char* file;
    int dims;
    Index swapped;  // the specimen whose landmarks 2 and 11 change places, or -1
  };
  const std::vector<Case> cases = {{"clean 3D", "skulls_zor.txt", 3, -1},
                                   {"swap 3D", "skulls_zor.txt", 3, 7},
                                   {"clean 2D", "skulls2d.txt", 2, -1},
                                   {"swap 2D", "skulls2d.txt", 2, 30}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Eigen::MatrixXd raw = exampleData(c.file, c.dims);
    if (c.swapped >= 0) exchangeLandmarks(raw, c.dims, c.swapped, 1, 10);
    const Eigen::MatrixXd data = superimposed(std::move(raw), c.dims);
    const DataCheck check = checkdata(data, c.dims);
    const Index n = data.rows();
    const Index k = (data.cols() - 1) / c.dims;
    ASSERT_EQ(check.specimens.size(), static_cast<size_t>(n));
    EXPECT_EQ(check.landmarks, k);
    EXPECT_EQ(check.dims, c.dims);
    EXPECT_TRUE(check.causesSought);

    Eigen::MatrixXd mean = Eigen::MatrixXd::Zero(k, c.dims);
    for (Index i = 0; i < n; ++i) mean += configuration(data, c.dims, i) / static_cast<double>(n);
    std::vector<double> distances;
    std::vector<double> logSizes;
    for (Index i = 0; i < n; ++i) {
      const Eigen::MatrixXd x = configuration(data, c.dims, i);
      double sum = 0;
      int farthest = 0;
      double farthestSquared = -1;
      for (Index j = 0; j < k; ++j) {
        const double squared = (x.row(j) - mean.row(j)).squaredNorm();
        sum += squared;
        if (squared > farthestSquared) {
          farthestSquared = squared;
          farthest = static_cast<int>(j + 1);
        }
      }
      distances.push_back(std::sqrt(sum));
      logSizes.push_back(std::log(data(i, data.cols() - 1)));
      const SpecimenCheck& s = check.specimens[static_cast<size_t>(i)];
      EXPECT_NEAR(s.distance, distances.back(), 1e-12);
      EXPECT_EQ(s.farthestLandmark, farthest);
      EXPECT_EQ(s.size, data(i, data.cols() - 1));
    }

    const std::array<double, 3> q = quartilesByDefinition(distances);
    const double limit = q[2] + 1.5 * (q[2] - q[0]);
    for (int i = 0; i < 3; ++i)
      EXPECT_NEAR(check.quartiles[static_cast<size_t>(i)], q[static_cast<size_t>(i)], 1e-12);
    EXPECT_NEAR(check.limit, limit, 1e-12);
    const std::array<double, 3> lq = quartilesByDefinition(logSizes);
    EXPECT_NEAR(check.sizeLimits[0], std::exp(lq[0] - 1.5 * (lq[2] - lq[0])), 1e-9);
    EXPECT_NEAR(check.sizeLimits[1], std::exp(lq[2] + 1.5 * (lq[2] - lq[0])), 1e-9);
    EXPECT_NEAR(check.sizeMedian, std::exp(lq[1]), 1e-9);

    ASSERT_EQ(check.byRank.size(), static_cast<size_t>(n));
    for (Index i = 0; i < n; ++i) {
      const SpecimenCheck& s = check.specimens[static_cast<size_t>(i)];
      const double d = distances[static_cast<size_t>(i)];
      int rank = 1;
      for (Index other = 0; other < n; ++other) {
        const double e = distances[static_cast<size_t>(other)];
        if (e > d || (e == d && other < i)) ++rank;
      }
      EXPECT_EQ(s.rank, rank);
      EXPECT_EQ(check.byRank[static_cast<size_t>(rank - 1)], i);
      EXPECT_EQ(s.outlier, d > limit);
      EXPECT_EQ(s.outlier, s.mirroredDistance.has_value());
      if (!s.outlier) continue;

      // Every exchange fitted again: the few the held fit picks hold the best.
      const Eigen::MatrixXd x = configuration(data, c.dims, i);
      double best = std::numeric_limits<double>::infinity();
      std::array<int, 2> bestPair{};
      for (Index a = 0; a < k; ++a) {
        for (Index b = a + 1; b < k; ++b) {
          Eigen::MatrixXd exchanged = x;
          exchanged.row(a).swap(exchanged.row(b));
          const double e = refitted(mean, exchanged);
          if (e < best) {
            best = e;
            bestPair = {static_cast<int>(a + 1), static_cast<int>(b + 1)};
          }
        }
      }
      ASSERT_TRUE(s.swap.has_value());
      EXPECT_EQ(*s.swap, bestPair);
      EXPECT_NEAR(*s.swapDistance, best, 1e-12);
      Eigen::MatrixXd mirrored = x;
      mirrored.col(0) *= -1;
      EXPECT_NEAR(*s.mirroredDistance, refitted(mean, mirrored), 1e-12);
    }
    EXPECT_EQ(check.specimens[static_cast<size_t>(std::max<Index>(c.swapped, 0))].swap,
              c.swapped >= 0 ? std::optional(std::array<int, 2>{2, 11}) : std::nullopt);
  }
}

TEST(Checkdata, QuartilesInterpolateBetweenOrderStatistics) {
  struct Case {
    std::vector<double> values;
    std::array<double, 3> expected;
  };
  const std::vector<Case> cases = {
      {{5}, {5, 5, 5}},
      {{3, 1}, {1.5, 2, 2.5}},
      {{4, 1, 3, 2}, {1.75, 2.5, 3.25}},
      {{10, 2, 1, 2, 2}, {2, 2, 2}},
      {{7, 7, 7, 7}, {7, 7, 7}},
      {{1, 2, 3, 4, 100}, {2, 3, 4}},
      {{kNaN, 3, 1}, {1.5, 2, 2.5}},
  };
  for (const Case& c : cases) {
    const std::array<double, 3> q = quartiles(
        Eigen::Map<const Eigen::VectorXd>(c.values.data(), static_cast<Index>(c.values.size())));
    for (size_t i = 0; i < 3; ++i)
      EXPECT_DOUBLE_EQ(q[i], c.expected[i]) << "list of " << c.values.size();
  }
  for (const double q : quartiles(Eigen::VectorXd())) EXPECT_TRUE(std::isnan(q));
  for (const double q : quartiles(Eigen::VectorXd::Constant(2, kNaN))) EXPECT_TRUE(std::isnan(q));
}

// N copies of one configuration, each turned, moved and scaled as given, superimposed.
Eigen::MatrixXd copiesOfOneShape(int dims, Index copies, Index landmarks, std::uint32_t seed) {
  std::mt19937 engine(seed);
  const Eigen::MatrixXd base = testing::randomConfiguration(engine, landmarks).leftCols(dims);
  Eigen::MatrixXd data(copies, dims * landmarks + 1);
  for (Index i = 0; i < copies; ++i) {
    const double scale = 1.0 + static_cast<double>(i);
    Eigen::MatrixXd x = dims == 3 ? Eigen::MatrixXd(base * testing::randomRotation(engine))
                                  : Eigen::MatrixXd(base * testing::randomRotation2D(engine));
    x = (scale * x).rowwise() + Eigen::RowVectorXd::Constant(dims, static_cast<double>(i));
    for (Index j = 0; j < landmarks; ++j) data.block(i, dims * j, 1, dims) = x.row(j);
    data(i, data.cols() - 1) = 10.0;
  }
  return superimposed(std::move(data), dims);
}

TEST(Checkdata, FewOrEqualSpecimensGiveNoFinding) {
  struct Case {
    const char* name;
    int dims;
    Index specimens;
    Index landmarks;
  };
  const std::vector<Case> cases = {
      {"one 3D", 3, 1, 5},      {"two 3D", 3, 2, 5},      {"three 3D", 3, 3, 5},
      {"one 2D", 2, 1, 4},      {"two 2D", 2, 2, 4},      {"three 2D", 2, 3, 4},
      {"copies 3D", 3, 30, 12}, {"copies 2D", 2, 30, 12}, {"two landmarks", 3, 6, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Eigen::MatrixXd data = copiesOfOneShape(c.dims, c.specimens, c.landmarks, 5);
    const DataCheck check = checkdata(data, c.dims);
    EXPECT_EQ(check.specimens.size(), static_cast<size_t>(c.specimens));
    EXPECT_EQ(check.outOfLine(), 0);
    for (const SpecimenCheck& s : check.specimens) {
      EXPECT_LT(s.distance, 1e-12);
      EXPECT_FALSE(s.swap.has_value());
      EXPECT_FALSE(s.mirroredDistance.has_value());
    }
    EXPECT_NEAR(check.sizeMedian, 10.0, 1e-12);
  }

  const DataCheck empty = checkdata(Eigen::MatrixXd(0, 10), 3);
  EXPECT_TRUE(empty.specimens.empty());
  EXPECT_TRUE(empty.byRank.empty());
  EXPECT_EQ(empty.landmarks, 3);
  EXPECT_TRUE(std::isnan(empty.limit));
  EXPECT_EQ(empty.outOfLine(), 0);
}

TEST(Checkdata, SizesThatAreNotPositiveNumbersAreOutOfLineAndLeftOutOfTheLimits) {
  const Eigen::MatrixXd clean = superimposed(exampleData("skulls_zor.txt", 3), 3);
  const DataCheck before = checkdata(clean, 3, false);
  struct Case {
    double size;
    const char* name;
  };
  const std::vector<Case> cases = {{0.0, "zero"},
                                   {-5.0, "negative"},
                                   {kNaN, "NaN"},
                                   {std::numeric_limits<double>::infinity(), "infinite"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Eigen::MatrixXd data = clean;
    data(4, data.cols() - 1) = c.size;
    const DataCheck check = checkdata(data, 3, false);
    EXPECT_TRUE(check.specimens[4].sizeOutlier);
    EXPECT_EQ(check.outOfLine(), 1);
    EXPECT_TRUE(std::isfinite(check.sizeLimits[0]) && std::isfinite(check.sizeLimits[1]));
    // Left out, not counted as a size at either end: the box is that of the other 39.
    EXPECT_LE(check.sizeLimits[1], before.sizeLimits[1] * 1.2);
    EXPECT_GE(check.sizeLimits[0], before.sizeLimits[0] / 1.2);
  }
}

TEST(Checkdata, SizesAtTheLimitsByRoundingAreInLine) {
  // Equal sizes give limits of exp(ln s), a rounding away from s: above it
  // for 10, below it for 12.34.
  struct Case {
    double size;
    double changed;  // specimen 2's size changed so, out of line
  };
  const std::vector<Case> cases = {{10.0, 1 + 1e-6}, {12.34, 1 + 1e-6}, {10.0, 1 - 1e-6}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    Eigen::MatrixXd data = copiesOfOneShape(3, 8, 6, 3);
    data.col(data.cols() - 1).setConstant(c.size);
    EXPECT_EQ(checkdata(data, 3).outOfLine(), 0);
    data(2, data.cols() - 1) *= c.changed;
    const DataCheck check = checkdata(data, 3);
    EXPECT_TRUE(check.specimens[2].sizeOutlier);
    EXPECT_EQ(check.outOfLine(), 1);
  }
}

TEST(Checkdata, TiesGoToTheFirst) {
  // Both specimens lie as far from the mean, each with both landmarks as far.
  Eigen::MatrixXd data(2, 5);
  data << 0, 0, 0, 0, 1,  //
      2, 0, 0, 2, 1;
  const DataCheck check = checkdata(data, 2);
  EXPECT_EQ(check.specimens[0].rank, 1);
  EXPECT_EQ(check.specimens[1].rank, 2);
  EXPECT_EQ(check.byRank, (std::vector<Index>{0, 1}));
  for (const SpecimenCheck& s : check.specimens) {
    EXPECT_EQ(s.farthestLandmark, 1);
    EXPECT_DOUBLE_EQ(s.distance, std::sqrt(2.0));
    EXPECT_FALSE(s.outlier);
  }
}

TEST(Checkdata, WithoutCausesOnlyTheFiguresAreFound) {
  Eigen::MatrixXd raw = exampleData("skulls2d.txt", 2);
  exchangeLandmarks(raw, 2, 5, 0, 6);
  const Eigen::MatrixXd data = superimposed(std::move(raw), 2);
  const DataCheck with = checkdata(data, 2);
  const DataCheck without = checkdata(data, 2, false);
  EXPECT_FALSE(without.causesSought);
  EXPECT_EQ(without.byRank, with.byRank);
  EXPECT_EQ(without.limit, with.limit);
  for (size_t i = 0; i < with.specimens.size(); ++i) {
    EXPECT_EQ(without.specimens[i].distance, with.specimens[i].distance);
    EXPECT_EQ(without.specimens[i].outlier, with.specimens[i].outlier);
    EXPECT_FALSE(without.specimens[i].swap.has_value());
    EXPECT_FALSE(without.specimens[i].mirroredDistance.has_value());
  }
  EXPECT_TRUE(with.specimens[5].swap.has_value());
}

TEST(Checkdata, ASpecimenThatCouldNotBeSuperimposedRanksFirstAndIsAnOutlier) {
  Eigen::MatrixXd data = superimposed(exampleData("skulls_zor.txt", 3), 3);
  const Eigen::VectorXd sizes = data.col(data.cols() - 1);
  data.row(9).setConstant(kNaN);
  data(9, data.cols() - 1) = sizes(9);
  // The mean is not a number then: every distance is not either.
  const DataCheck check = checkdata(data, 3);
  EXPECT_EQ(check.byRank[0], 0);
  EXPECT_EQ(check.outOfLine(), 40);
  EXPECT_FALSE(check.specimens[9].swap.has_value());
}

TEST(Checkdata, RefusesWhatIsNotADataSet) {
  struct Case {
    Index cols;
    int dims;
    const char* message;
  };
  const std::vector<Case> cases = {
      {10, 4, "checkdata: data are 2D or 3D, not 4D"},
      {9, 3, "checkdata: a data set of 3D landmarks has 3 k + 1 columns"},
      {1, 2, "not 1"},
      {6, 2, "not 6"}};
  for (const Case& c : cases) {
    EXPECT_THROW_MSG(checkdata(Eigen::MatrixXd::Ones(3, c.cols), c.dims), std::invalid_argument,
                     c.message);
  }
}

TEST(Swapcandidates, RankThePairsByTheChangeWithTheFitHeld) {
  std::mt19937 engine(11);
  for (const int dims : {2, 3}) {
    SCOPED_TRACE(dims);
    const Index k = 9;
    const Eigen::MatrixXd x = testing::randomConfiguration(engine, k).leftCols(dims);
    const Eigen::MatrixXd m = testing::randomConfiguration(engine, k).leftCols(dims);
    struct Change {
      double change;
      std::array<int, 2> pair;
    };
    std::vector<Change> all;
    for (int a = 0; a < k; ++a) {
      for (int b = a + 1; b < k; ++b) {
        Eigen::MatrixXd exchanged = x;
        exchanged.row(a).swap(exchanged.row(b));
        all.push_back({(exchanged - m).squaredNorm() - (x - m).squaredNorm(), {a, b}});
      }
    }
    std::stable_sort(all.begin(), all.end(),
                     [](const Change& p, const Change& q) { return p.change < q.change; });
    const std::vector<std::array<int, 2>> got = swapcandidates(x, m, 5);
    ASSERT_EQ(got.size(), 5u);
    for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], all[i].pair);
    EXPECT_EQ(swapcandidates(x, m, 100).size(), all.size());
    EXPECT_TRUE(swapcandidates(x.topRows(1), m.topRows(1), 4).empty());
  }
  // Equal changes keep the order of the pairs.
  const Eigen::MatrixXd zero = Eigen::MatrixXd::Zero(4, 3);
  const std::vector<std::array<int, 2>> ties{{0, 1}, {0, 2}, {0, 3}, {1, 2}};
  EXPECT_EQ(swapcandidates(zero, zero, 4), ties);
}

TEST(Fitdistance, IgnoresPositionSizeAndRotationButNotTheMirrorImage) {
  std::mt19937 engine(12);
  const Eigen::MatrixXd shape = testing::centred(testing::randomConfiguration(engine, 7));
  const Eigen::MatrixXd reference = shape / shape.norm();
  const Eigen::MatrixXd moved =
      (3.5 * shape * testing::randomRotation(engine)).rowwise() + Eigen::RowVector3d(4, -2, 9);
  EXPECT_NEAR(fitdistance(reference, moved), 0.0, 1e-12);
  Eigen::MatrixXd mirrored = moved;
  mirrored.col(0) *= -1;
  EXPECT_GT(fitdistance(reference, mirrored), 0.1);

  const Eigen::MatrixXd flat = reference.leftCols(2);
  EXPECT_NEAR(fitdistance(flat, flat * testing::randomRotation2D(engine) * 2.0),
              fitdistance(flat, flat), 1e-12);
  EXPECT_TRUE(std::isnan(fitdistance(reference, Eigen::MatrixXd::Ones(7, 3))));
  EXPECT_THROW(fitdistance(reference, flat), std::invalid_argument);
}

}  // namespace
}  // namespace tarvolin
