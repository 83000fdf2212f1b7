// Every writer's text reads back, through the reader its content selects, to
// the same specimens: IDs, coordinates, missing landmarks and size.

#include <cmath>
#include <string>

#include "formats/detectlandmarkformat.h"
#include "formats/landmarktext.h"
#include "formats/readlandmarks.h"
#include "landmarks/landmarkset.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::TempDir;

LandmarkSet sampleSet(int dims, bool withMissing) {
  const Eigen::Index k = 4;
  LandmarkSet set;
  set.dims = dims;
  set.coords.resize(3, dims * k);
  for (Eigen::Index i = 0; i < set.coords.size(); ++i) {
    // Numbers that need all seventeen digits to read back the same.
    set.coords(i) = std::sin(static_cast<double>(i) * 1.7 + 0.3) * 100.0 / 3.0;
  }
  set.ids = {"skull_01", "skull 02", "3"};
  if (withMissing) {
    for (int c = 0; c < dims; ++c) set.coords(1, 2 * dims + c) = std::nan("");
  }
  set.path = "sample";
  finishlandmarkset(set);
  return set;
}

bool sameCoordinates(const Eigen::MatrixXd& a, const Eigen::MatrixXd& b) {
  return a.rows() == b.rows() && a.cols() == b.cols() &&
         ((a.array() == b.array()) || (a.array().isNaN() && b.array().isNaN())).all();
}

TEST(LandmarkSetRoundTrip, EveryWriterReadsBack) {
  const struct {
    LandmarkFormat format;
    bool ids;      // the format carries specimen IDs
    bool exact;    // numbers read back bit for bit
    bool missing;  // the format can mark a missing landmark
  } cases[] = {
      {LandmarkFormat::csv, true, true, true},          {LandmarkFormat::tps, true, true, true},
      {LandmarkFormat::morphologika, true, true, true}, {LandmarkFormat::nts, true, true, true},
      {LandmarkFormat::zor, false, false, false},
  };
  TempDir dir;
  for (const auto& c : cases) {
    for (int dims : {2, 3}) {
      for (bool withMissing : {false, true}) {
        if (withMissing && !c.missing) continue;
        LandmarkSet written = sampleSet(dims, withMissing);
        // An NTS label is one word.
        if (c.format == LandmarkFormat::nts) written.ids[1] = "skull_02";
        const std::string name = std::string(landmarkformatname(c.format)) + std::to_string(dims) +
                                 (withMissing ? "m" : "");
        const std::string path = dir.file(name);
        testing::writeText(path, landmarktext(written, c.format, std::nullopt));

        ReadOptions options;
        options.dims = dims;
        LandmarkFormat detected = LandmarkFormat::zor;
        const LandmarkSet read = readlandmarks(path, std::nullopt, options, false, &detected);
        EXPECT_EQ(detected, c.format) << name;
        EXPECT_EQ(read.dims, dims) << name;
        if (c.exact) {
          EXPECT_TRUE(sameCoordinates(read.coords, written.coords)) << name;
        } else {
          EXPECT_TRUE(testing::assert_near(read.coords, written.coords, 1e-4)) << name;
        }
        EXPECT_EQ(read.hasMissing(), withMissing) << name;
        if (c.ids) {
          EXPECT_EQ(read.ids, written.ids) << name;
        }
        if (!withMissing) {
          EXPECT_TRUE(testing::assert_near(read.size, written.size, c.exact ? 1e-12 : 1e-4))
              << name;
        }
      }
    }
  }
}

// The bundled example data set, in every format it is shipped in, is one
// data set: the same specimens, coordinates and sizes.
TEST(LandmarkSetRoundTrip, ExamplesInEveryFormatAreOneDataSet) {
  const LandmarkSet zor = readlandmarks(testing::examplePath("skulls_zor.txt"), std::nullopt, {});
  for (const char* name :
       {"skulls.csv", "skulls.tps", "skulls.nts", "skulls_morphologika.txt", "skulls_tps.txt"}) {
    const LandmarkSet other = readlandmarks(testing::examplePath(name), std::nullopt, {});
    EXPECT_TRUE(testing::assert_near(other.coords, zor.coords, 1e-9)) << name;
    EXPECT_TRUE(testing::assert_near(other.size, zor.size, 1e-3)) << name;
    EXPECT_EQ(other.ids.size(), zor.ids.size()) << name;
  }
}

}  // namespace
}  // namespace tarvolin
