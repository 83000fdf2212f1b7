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

}  // namespace
}  // namespace tarvolin
