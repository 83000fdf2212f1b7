#include "formats/readmorphologika.h"

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/errors.h"
#include "core/readtextfile.h"
#include "formats/readnts.h"
#include "formats/readtps.h"
#include "readertesting.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::assert_near;
using testing::dataPath;

constexpr double NA = std::numeric_limits<double>::quiet_NaN();

using testing::sameWithNaN;

std::string fixture(const std::string& name) {
  std::string text;
  std::string reason;
  EXPECT_TRUE(readtextfile(dataPath("formats/" + name), text, reason)) << reason;
  return text;
}

LandmarkSet readSource(const std::string& source, const ReadOptions& options = {}) {
  return testing::readSource(readmorphologika, "morphologika", source, "t.txt", options);
}

const std::string kCounts = "[individuals]\n2\n[landmarks]\n2\n[dimensions]\n2\n";

TEST(ReadMorphologika, ReadsBlocksInAnyOrder) {
  const struct {
    std::string source;
    ReadOptions options;
    Eigen::MatrixXd coords;
    std::vector<std::string> ids;
    Eigen::VectorXd size;
    std::vector<std::pair<int, int>> wireframe;
  } cases[] = {
      {"names_quotes_wireframe_tabs.txt",
       {},
       (Eigen::MatrixXd(2, 4) << 0, 0, 3, 4, NA, NA, 1, 1).finished(),
       {"skull a", "skull_b"},
       Eigen::Vector2d(std::sqrt(12.5), NA),
       {{1, 2}, {2, 1}}},
      {"[RAWPOINTS]\r\n0 0\r\n3 4\r\n1 1\r\n4 5\r\n" + kCounts,
       {.dims = 0, .missingCode = 4.0},
       (Eigen::MatrixXd(2, 4) << 0, 0, NA, NA, 1, 1, NA, NA).finished(),
       {"1", "2"},
       Eigen::Vector2d(NA, NA),
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source);
    const LandmarkSet set = readSource(c.source, c.options);
    EXPECT_EQ(set.dims, 2);
    EXPECT_TRUE(sameWithNaN(set.coords, c.coords));
    EXPECT_EQ(set.ids, c.ids);
    EXPECT_TRUE(sameWithNaN(set.size, c.size));
    EXPECT_EQ(set.wireframe, c.wireframe);
    EXPECT_EQ(set.path, "t.txt");
  }
}

TEST(ReadMorphologika, RefusesWithTheLineAndTheSpecimen) {
  const struct {
    std::string source;
    long line;
    std::string fragment;
  } cases[] = {
      {"no_rawpoints.txt", 0, "the file has no [rawpoints] block"},
      {kCounts + "[names]\na\n[rawpoints]\n1 2\n3 4\n5 6\n7 8\n", 7,
       "[names] holds 1 names but [individuals] is 2"},
      {kCounts + "[names]\na\na\n[rawpoints]\n1 2\n3 4\n5 6\n7 8\n", 9,
       "specimens 1 and 2 are both \"a\""},
      {kCounts + "[rawpoints]\n1 2\n3 4\n5 6\n[wireframe]\n", 11,
       "ends after 3 landmark lines, where 2 specimens of 2 landmarks were declared; landmark 2 "
       "of specimen 2 is not there"},
      {kCounts + "[rawpoints]\n1 2\n3 4\n5 6 7\n7 8\n", 10,
       "landmark 1 of specimen 2: the line has 3 numbers, [dimensions] is 2"},
      {kCounts + "[rawpoints]\n1 2\n3 4\n5 6\n7 x\n", 11, "\"x\" is not a number"},
      {kCounts + "[rawpoints]\n1 2\n3 4\n5 6\n7 8\n9 9\n", 12, "this line is extra"},
      {kCounts + "[rawpoints]\n1 2\n3 4\n5 6\n7 8\n[wireframe]\n1 3\n", 13,
       "landmark 3 is not one of the 2 landmarks"},
      {kCounts + "[landmarks]\n2\n", 7, "[landmarks] is given twice; the first is line 3"},
      {"[individuals]\n2\n[landmarks]\n2\n[dimensions]\n4\n", 6, "it must be 2 or 3"},
      {"[individuals]\n1000000000000\n[landmarks]\n2\n[dimensions]\n2\n[rawpoints]\n1 2\n", 8,
       "ends after 1 landmark lines"},
      {"skulls\n[individuals]\n2\n", 1, "\"skulls\" stands before the first block header"},
      // Millions declared and an empty [rawpoints], wherever it stands: no
      // ID or coordinate is made for a specimen that is not there.
      {"[individuals]\n900000000\n[landmarks]\n3\n[dimensions]\n3\n[rawpoints]\n", 7,
       "[rawpoints] is empty, but 900000000 specimens of 3 landmarks were declared"},
      {"[individuals]\n900000000\n[landmarks]\n3\n[dimensions]\n3\n[rawpoints]", 7,
       "[rawpoints] is empty"},
      {"[individuals]\n900000000\n[landmarks]\n3\n[dimensions]\n3\n[rawpoints]\n\n\n", 9,
       "[rawpoints] is empty"},
      {"[individuals]\n9\n[landmarks]\n3\n[dimensions]\n3\n[rawpoints]\n[wireframe]\n1 2\n", 8,
       "[rawpoints] is empty, but 9 specimens"},
      {"[rawpoints]\n[individuals]\n900000000\n[landmarks]\n3\n[dimensions]\n3\n", 2,
       "[rawpoints] is empty"},
      {"[individuals]\n800000\n[landmarks]\n2\n[dimensions]\n2\n[rawpoints]\n" +
           std::string(4000000, '1'),
       8, "ends after 1 landmark lines"},
  };
  for (const auto& c : cases) {
    testing::expectRefused([&] { readSource(c.source); }, "t.txt", c.line, c.fragment, c.source);
  }
}

TEST(ReadMorphologika, SameDataSetAsTpsAndNts) {
  const LandmarkSet tps = readtps(fixture("tps/three_skulls.tps"), "s.tps", {});
  const LandmarkSet nts = readnts(fixture("nts/three_skulls.nts"), "s.nts", {});
  const LandmarkSet morphologika =
      readmorphologika(fixture("morphologika/three_skulls.txt"), "s.txt", {});
  EXPECT_EQ(tps.ids, (std::vector<std::string>{"skull_a", "skull_b", "skull_c"}));
  EXPECT_TRUE(tps.missing(2, 1));
  for (const LandmarkSet* other : {&nts, &morphologika}) {
    SCOPED_TRACE(other->path);
    EXPECT_EQ(other->dims, 3);
    EXPECT_TRUE(sameWithNaN(other->coords, tps.coords));
    EXPECT_EQ(other->ids, tps.ids);
    EXPECT_TRUE(sameWithNaN(other->size, tps.size));
    EXPECT_TRUE((other->missing == tps.missing).all());
  }
}

TEST(ReadMorphologika, RandomTextIsReadConsistentlyOrRefused) {
  // A small file with a few characters changed, added or taken out.
  const std::string file =
      "[individuals]\n2\n[landmarks]\n1\n[dimensions]\n2\n[names]\na\nb\n[rawpoints]\n'#1\n0 "
      "1.5\n'#2\nNA -2\n[wireframe]\n1 1\n";
  const std::string alphabet = "0123456789 .-e\t\n\r[]'#NAindvulsmrkwe";
  EXPECT_GT(testing::readOrRefuseEdits(readmorphologika, file, alphabet, "random.txt", 33), 100);
}

}  // namespace
}  // namespace tarvolin
