#include "formats/readtps.h"

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/readtextfile.h"
#include "formats/refusemixedscales.h"
#include "readertesting.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::assert_near;
using testing::dataPath;

constexpr double NA = std::numeric_limits<double>::quiet_NaN();

using testing::sameWithNaN;

LandmarkSet readSource(const std::string& source, const ReadOptions& options = {}) {
  return testing::readSource(readtps, "tps", source, "t.tps", options);
}

TEST(ReadTps, ReadsRecordsOfEveryKind) {
  const struct {
    std::string source;
    int dims;
    Eigen::MatrixXd coords;
    std::vector<std::string> ids;
    Eigen::VectorXd size;
    std::vector<bool> semilandmark;
    Eigen::VectorXd scale;
    std::vector<int> curves = {};
  } cases[] = {
      {"id_and_image.tps",
       2,
       (Eigen::MatrixXd(3, 4) << 0, 0, 3, 4, 1, 1, 4, 5, 0, 0, 0, 2).finished(),
       {"skull_a", "photos/b.jpg", "3"},
       Eigen::Vector3d(std::sqrt(12.5), std::sqrt(12.5), std::sqrt(2.0)),
       {},
       {}},
      {"lm3=2\n0 0 0\n3 4 0\nimage=a.ply\nid=a\nscale=1\nLM3=2\n0 0 0\n3 4 0\nID=b\nSCALE=2\n",
       3,
       (Eigen::MatrixXd(2, 6) << 0, 0, 0, 3, 4, 0, 0, 0, 0, 3, 4, 0).finished(),
       {"a", "b"},
       Eigen::Vector2d(std::sqrt(12.5), 2 * std::sqrt(12.5)),
       {},
       Eigen::Vector2d(1, 2)},
      {"curves_and_points.tps",
       2,
       (Eigen::MatrixXd(2, 8) << 0, 0, 1, 0, 2, 0, 3, 0, 0, 1, 1, 1, 2, 1, 3, 1).finished(),
       {"a", "b"},
       Eigen::Vector2d(std::sqrt(5.0), std::sqrt(5.0)),
       {false, true, true, true},
       {}},
      {"curves_only.tps",
       2,
       (Eigen::MatrixXd(1, 4) << 0, 0, 3, 4).finished(),
       {"outline_a"},
       Eigen::VectorXd::Constant(1, std::sqrt(12.5)),
       {true, true},
       {},
       {2}},
      {"LM=1\n0 0\nCURVES=2\nPOINTS=2\n1 0\n2 0\nPOINTS=3\n3 0\n4 1\n5 1\nID=a\n",
       2,
       (Eigen::MatrixXd(1, 12) << 0, 0, 1, 0, 2, 0, 3, 0, 4, 1, 5, 1).finished(),
       {"a"},
       Eigen::VectorXd::Constant(1, std::sqrt(17.5 + 4.0 / 3.0)),
       {false, true, true, true, true, true},
       {},
       {2, 3}},
      {"na_coordinate.tps",
       2,
       (Eigen::MatrixXd(2, 4) << 0, 0, NA, NA, 0, 0, 3, -4).finished(),
       {"a", "b"},
       Eigen::Vector2d(NA, std::sqrt(12.5)),
       {},
       {}},
      {"three_numbers_after_lm.tps",
       3,
       (Eigen::MatrixXd(1, 6) << 0, 0, 0, 3, 4, 0).finished(),
       {"a"},
       Eigen::VectorXd::Constant(1, std::sqrt(12.5)),
       {},
       {}},
      {"LM=2\r\n0 0\r\n3 4\r\nID=a\r\n",
       2,
       (Eigen::MatrixXd(1, 4) << 0, 0, 3, 4).finished(),
       {"a"},
       Eigen::VectorXd::Constant(1, std::sqrt(12.5)),
       {},
       {}},
      {"LM=2\r0 0\r3 4\rID=a\rSCALE=0.5",
       2,
       (Eigen::MatrixXd(1, 4) << 0, 0, 3, 4).finished(),
       {"a"},
       Eigen::VectorXd::Constant(1, 0.5 * std::sqrt(12.5)),
       {},
       Eigen::VectorXd::Constant(1, 0.5)},
      // LF lines with a stray CR inside a coordinate or keyword line, and a
      // CR file with a final LF: each read by its own line end.
      {"LM=2\r \n0 0\n3\r 4\nID=a\n",
       2,
       (Eigen::MatrixXd(1, 4) << 0, 0, 3, 4).finished(),
       {"a"},
       Eigen::VectorXd::Constant(1, std::sqrt(12.5)),
       {},
       {}},
      {"LM=2\r0 0\r3 4\rID=a\rLM=2\r0 0\r4 3\rID=b\r\n",
       2,
       (Eigen::MatrixXd(2, 4) << 0, 0, 3, 4, 0, 0, 4, 3).finished(),
       {"a", "b"},
       Eigen::VectorXd::Constant(2, std::sqrt(12.5)),
       {},
       {}},
      // An empty ID= is no ID: the IMAGE= stands in, else the record's number.
      {"LM=1\n0 0\nID=\nIMAGE=x.jpg\nLM=1\n1 1\nID= \n",
       2,
       (Eigen::MatrixXd(2, 2) << 0, 0, 1, 1).finished(),
       {"x.jpg", "2"},
       Eigen::Vector2d(0, 0),
       {},
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source);
    const LandmarkSet set = readSource(c.source);
    EXPECT_EQ(set.dims, c.dims);
    EXPECT_TRUE(sameWithNaN(set.coords, c.coords));
    EXPECT_EQ(set.ids, c.ids);
    EXPECT_TRUE(sameWithNaN(set.size, c.size));
    EXPECT_EQ(set.semilandmark, c.semilandmark);
    // Records that divide their curve points otherwise say nothing of the curves.
    EXPECT_EQ(set.curves, c.curves);
    EXPECT_EQ(set.notes.size(), c.source == "curves_and_points.tps" ? 1U : 0U);
    EXPECT_TRUE(assert_near(set.scale, c.scale, 0));
    EXPECT_EQ(set.hasMissing(), c.coords.hasNaN());
    EXPECT_EQ(set.path, "t.tps");
  }
}

TEST(ReadTps, RefusesWithTheLineAndTheRecord) {
  const struct {
    std::string source;
    long line;
    std::string fragment;
  } cases[] = {
      {"LM=2\n0 0\n1 1\nID=a\nLM=3\n0 0\n1 1\n2 2\nID=b\n", 5,
       "record 2 (ID \"b\") has 3 landmarks, record 1 (ID \"a\") has 2"},
      {"landmarks_and_curve_points_differ.tps", 5,
       "record 2 (ID \"b\") has 1 landmark, record 1 (ID \"a\") has 2"},
      {"LM=1\n0 0\nCURVES=1\nPOINTS=1\n1 1\nLM=1\n0 0\nCURVES=1\nPOINTS=2\n1 1\n2 2\n", 6,
       "record 2 has 2 curve points, record 1 has 1"},
      {"LM=3\n0 0\n1 1\nID=a\n", 4, "record 1 (ID \"a\"): LM=3 declares 3 landmarks but 2"},
      {"LM=1000000000000\n0 0\n", 1,
       "record 1: \"LM=1000000000000\" declares more landmarks than the file holds"},
      {"LM3=999999999\n0 0 0\n1 1 1\n", 1,
       "record 1: \"LM3=999999999\" declares more landmarks than the file holds"},
      {"LM=1\n0 0\nCURVES=1\nPOINTS=99999\n1 1\n", 4,
       "\"POINTS=99999\" declares more points than the file holds"},
      {"LM=1\n0 0\n" + std::string(2000, 'x'), 3, "\"" + std::string(60, 'x') + "...\""},
      {"LM=1\n0 0\nID=a\x1b]0;x\x07\nLM=1\n1 1\nID=a\x1b]0;x\x07\n", 4,
       "the ID \"a\\e]0;x\\x07\" of record 1"},
      {"LM=2\n0 0\n1\n", 3, "the line has 1 number, a landmark of a 2D file has 2"},
      {"LM=2\n0 0\nhello world\n", 3, "\"hello\" is not a number"},
      {"LM=1\n0 1e400\n", 2, "\"1e400\" is too large for a number"},
      {"LM=1\n0 inf\n", 2, "\"inf\" is not a finite number"},
      {"LM=1\n0 0\n1 1\n", 3, "more coordinate lines than LM=1 declares"},
      {"LM=2.5\n0 0\n", 1, "the count must be a whole number"},
      {"COMMENT=no records\n", 0, "holds no LM= or LM3= record"},
      {"LM=0\nID=a\n", 1, "holds no landmarks and no curve points"},
      {"LM=1\n0 0\nID=a\nLM=1\n1 1\nID=a\n", 4, "the ID \"a\" of record 1"},
      {"LM=1\n0 0\nID=\nLM=1\n1 1\nID=1\n", 3,
       "the ID= line of record 1 is empty, so the record is numbered \"1\", which is the ID of "
       "record 2 (line 4); each specimen needs an ID of its own"},
      {"LM=1\n0 0\nID=2\nLM=1\n1 1\nID=\n", 6,
       "the ID= line of record 2 is empty, so the record is numbered \"2\", which is the ID of "
       "record 1 (line 1); each specimen needs an ID of its own"},
      {"LM=1\n0 0\nLM=1\n1 1\nID=1\n", 1,
       "record 1 has neither ID= nor IMAGE=, so it is numbered \"1\", which is the ID of record 2 "
       "(line 3); each specimen needs an ID of its own"},
      {"LM=1\n0 0\nSCALE=0\n", 3, "SCALE=\"0\" is not a scale factor"},
      {"LM=1\n0 0\nLM3=1\n0 0 0\n", 3, "record 2 is 3D (LM3=) but record 1 is 2D (LM=)"},
      {"LM=1\n0 0\nCURVES=2\nPOINTS=1\n1 1\nID=a\n", 6, "declares 2 curves but the record has 1"},
      {std::string("\xFF\xFEL\0M\0=\0"
                   "1\0\n\0",
                   12),
       0, "is UTF-16 text; save it as UTF-8"},
  };
  for (const auto& c : cases) {
    testing::expectRefused([&] { readSource(c.source); }, "t.tps", c.line, c.fragment, c.source);
  }
}

// SCALE= on some records only gives sizes in two units: refused, naming the
// records without one, unless every record is read raw (--scale ignore).
TEST(ReadTps, RecordsScaledInPartAreRefusedUnlessScalesAreIgnored) {
  const std::string mixed = "LM=2\n0 0\n3 4\nID=a\nSCALE=0.5\nLM=2\n0 0\n3 4\nID=b\n";
  const struct {
    std::string source;
    bool ignoreScale;
    std::string refusal;  // empty: read with these sizes and notes
    Eigen::VectorXd size;
    size_t notes;
  } cases[] = {
      {mixed,
       false,
       "record 2 (ID \"b\") has no SCALE= but the 1 other record has one: the sizes would be in "
       "two units (raw and scaled); give every record a SCALE=, or use the raw coordinates of "
       "every record",
       {},
       0},
      {mixed, true, "", Eigen::Vector2d(std::sqrt(12.5), std::sqrt(12.5)), 1},
      {"lower_case_keywords_and_scales.tps",
       false,
       "record 1 (ID \"a\") has no SCALE= but the 1 other record has one",
       {},
       0},
      {"lower_case_keywords_and_scales.tps", true, "",
       Eigen::Vector2d(std::sqrt(12.5), std::sqrt(12.5)), 1},
      {"LM=2\n0 0\n3 4\nSCALE=2\nLM=2\n0 0\n3 4\nSCALE=0.5\n", true, "",
       Eigen::Vector2d(std::sqrt(12.5), std::sqrt(12.5)), 1},
      {"LM=2\n0 0\n3 4\nLM=2\n0 0\n3 4\n", true, "",
       Eigen::Vector2d(std::sqrt(12.5), std::sqrt(12.5)), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source);
    ReadOptions options;
    options.ignoreScale = c.ignoreScale;
    if (!c.refusal.empty()) {
      EXPECT_THROW_MSG(readSource(c.source, options), MixedScaleError, c.refusal);
      continue;
    }
    const LandmarkSet set = readSource(c.source, options);
    EXPECT_EQ(set.scale.size(), 0);
    EXPECT_TRUE(assert_near(set.size, c.size, 1e-12));
    ASSERT_EQ(set.notes.size(), c.notes);
    if (c.notes > 0) {
      EXPECT_EQ(set.notes[0],
                "t.tps: SCALE= not applied: sizes are in the raw units of every record");
    }
  }
}

TEST(ReadTps, RandomTextIsReadConsistentlyOrRefused) {
  // A small file with a few characters changed, added or taken out.
  const std::string file =
      "LM=2\n0 0\n1.5 -2\nCURVES=1\nPOINTS=1\n3 4\nID=a\nSCALE=2\n"
      "LM=2\n1 0\nNA NA\nCURVES=1\nPOINTS=1\n3 4\nID=b\nSCALE=0.5\n";
  const std::string alphabet = "0123456789 .-e\t\n\r=LMlm3NAIDSCURVESPOINTS";
  EXPECT_GT(testing::readOrRefuseEdits(readtps, file, alphabet, "random.tps", 31), 100);
}

}  // namespace
}  // namespace tarvolin
