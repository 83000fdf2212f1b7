#include "workflows/gettpsfile3D.h"

#include <filesystem>
#include <string>
#include <vector>

#include "core/console.h"
#include "core/errors.h"
#include "core/readtextfile.h"
#include "formats/refusemixedscales.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

namespace fs = std::filesystem;
using testing::assert_near;
using testing::CwdGuard;
using testing::dataPath;
using testing::mentions;
using testing::TempDir;

std::string fixtureText(const std::string& name) {
  std::string text;
  std::string reason;
  if (!readtextfile(dataPath("tps/" + name), text, reason)) {
    ADD_FAILURE() << "cannot read fixture " << name << ": " << reason;
  }
  return text;
}

// Reads the fixture tps/`name` into memory and parses it under its own path.
TpsFile parseFixture(const std::string& name, bool ignoreScale = false) {
  return parsetps3D(fixtureText(name), dataPath("tps/" + name), ignoreScale);
}

InputError fixtureError(const std::string& name) {
  try {
    parseFixture(name);
  } catch (const InputError& error) {
    return error;
  }
  ADD_FAILURE() << name << " was read without an error";
  return InputError("no error");
}

TEST(Parsetps3D, TwoRecordsWithImageAndIdLines) {
  const TpsFile f = parseFixture("two_records.txt");
  EXPECT_TRUE(assert_near(
      f.y, (Eigen::MatrixXd(2, 6) << 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12).finished(), 0));
  EXPECT_EQ(f.namelist, (std::vector<std::string>{"\n", "\n"}));
  EXPECT_TRUE(assert_near(f.scale, Eigen::Vector2d(1, 1), 0));
}

TEST(Parsetps3D, KeywordInAnyLetterCaseAndWithThree) {
  const Eigen::MatrixXd expected = (Eigen::MatrixXd(3, 3) << 1, 2, 3, 4, 5, 6, 7, 8, 9).finished();
  EXPECT_TRUE(assert_near(parseFixture("lower_case_keyword.txt").y, expected, 0));
  EXPECT_TRUE(assert_near(parseFixture("lm3_keyword.txt").y, expected, 0));
}

TEST(Parsetps3D, LKeywordCountsAtTheStartOfALine) {
  const struct {
    const char* fixture;
    Eigen::MatrixXd y;
    std::vector<std::string> namelist;
    Eigen::VectorXd scale;
  } cases[] = {
      {"later_l_keyword_at_line_start.txt",
       (Eigen::MatrixXd(3, 6) << 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18)
           .finished(),
       {" skull_a\n", " skull_b\n", "\tskull_c\n"},
       Eigen::Vector3d(1, 1, 1)},
      {"l_keyword_inside_a_line.txt",
       (Eigen::MatrixXd(2, 3) << 1, 2, 3, 4, 5, 6).finished(),
       {" a\n", " b\n"},
       Eigen::Vector2d(1, 1)},
      {"lower_case_l_keyword.txt",
       (Eigen::MatrixXd(2, 3) << 1, 2, 3, 4, 5, 6).finished(),
       {" a\n", " b\n"},
       Eigen::Vector2d(1, 1)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fixture);
    // Only the last record of the first is scaled: read raw (see MixedScalesAreRefused...).
    const TpsFile f = parseFixture(c.fixture, true);
    EXPECT_TRUE(assert_near(f.y, c.y, 0));
    EXPECT_EQ(f.namelist, c.namelist);
    EXPECT_TRUE(assert_near(f.scale, c.scale, 0));
  }
}

TEST(Parsetps3D, TextWithLBetweenRecordsIsSkipped) {
  const TpsFile f = parseFixture("text_with_l_between_records.txt");
  EXPECT_TRUE(assert_near(f.y, (Eigen::MatrixXd(2, 3) << 1, 2, 3, 4, 5, 6).finished(), 0));
}

TEST(Parsetps3D, OtherCharacterBeforeEqualsIsNotAKeyword) {
  const TpsFile f = parseFixture("keyword_with_extra_character.txt");
  EXPECT_TRUE(assert_near(f.y, (Eigen::MatrixXd(2, 3) << 1, 2, 3, 4, 5, 6).finished(), 0));
  EXPECT_THROW(parsetps3D("LM4=1\n1 2 3\n", "m.txt"), InputError);
}

TEST(Parsetps3D, SpecimenNameKeptWithLineEnd) {
  const TpsFile f = parseFixture("record_names.txt");
  EXPECT_EQ(f.namelist, (std::vector<std::string>{" skull_a\n", "\tskull b 7\n"}));
  EXPECT_TRUE(assert_near(
      f.y, (Eigen::MatrixXd(2, 6) << 1, 2, 3, 4, 5, 6.5, 7, 8, 9, 10, 11, 12).finished(), 0));
}

TEST(Parsetps3D, ScaleAppliesToItsRecordOnly) {
  const TpsFile f = parsetps3D("LM=1\n1 2 3\nSCALE=0.5\nLM=1\n4 5 6\nSCALE=1\nLM=1\n7 8 9\nSCALE=2",
                               "scales.txt");
  EXPECT_TRUE(assert_near(f.y, (Eigen::MatrixXd(3, 3) << 1, 2, 3, 4, 5, 6, 7, 8, 9).finished(), 0));
  EXPECT_TRUE(assert_near(f.scale, Eigen::Vector3d(0.5, 1, 2), 0));
}

// Records scaled in part would give sizes in two units: refused, naming the
// records without a scale, unless every record is read raw.
TEST(Parsetps3D, MixedScalesAreRefusedOrIgnoredForEveryRecord) {
  const struct {
    std::string fixture;
    bool ignoreScale;
    std::string refusal;  // empty: read, with these scales
    Eigen::VectorXd scale;
  } cases[] = {
      {"scale_factors.txt",
       false,
       "record 2 has no SCALE= but the 2 other records have one: the sizes would be in two "
       "units",
       {}},
      {"scale_factors.txt", true, "", Eigen::Vector3d(1, 1, 1)},
      {"later_l_keyword_at_line_start.txt",
       false,
       "record 1, record 2 have no SCALE= but the 1 other record has one",
       {}},
      {"crlf_line_ends.txt", false, "record 2 has no SCALE= but the 1 other record has one", {}},
      {"crlf_line_ends.txt", true, "", Eigen::Vector2d(1, 1)},
      {"l_keyword_inside_a_line.txt", false, "", Eigen::Vector2d(1, 1)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fixture);
    if (c.refusal.empty()) {
      EXPECT_TRUE(assert_near(parseFixture(c.fixture, c.ignoreScale).scale, c.scale, 0));
    } else {
      EXPECT_THROW_MSG(parseFixture(c.fixture, c.ignoreScale), MixedScaleError, c.refusal);
    }
  }
  // An empty SCALE= is no scale: these records are all unscaled.
  EXPECT_TRUE(assert_near(parsetps3D("LM=1\n1 2 3\nSCALE=\nLM=1\n4 5 6\n", "e.txt").scale,
                          Eigen::Vector2d(1, 1), 0));
}

TEST(Parsetps3D, CountBeyondTheFileIsNamedAsSuch) {
  EXPECT_THROW_MSG(parsetps3D("LM3=999999999\n1 2 3\n4 5 6\n", "big.txt"), InputError,
                   "big.txt:1: record 1: \"LM3=999999999\" declares more landmarks than the file "
                   "holds");
  EXPECT_THROW_MSG(parsetps3D("LM3=2.5\n1 2 3\n4 5 6\n", "half.txt"), InputError,
                   "the landmark count \"2.5\" is not a positive whole number");
}

TEST(Parsetps3D, CrlfLineEnds) {
  const TpsFile f = parsetps3D(fixtureText("crlf_line_ends.txt") + "SCALE=1\r\n", "crlf.txt");
  EXPECT_TRUE(assert_near(
      f.y, (Eigen::MatrixXd(2, 6) << 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12).finished(), 0));
  EXPECT_EQ(f.namelist, (std::vector<std::string>{" skull_a\r\n", "\r\n"}));
  EXPECT_TRUE(assert_near(f.scale, Eigen::Vector2d(0.25, 1), 0));
}

// Lines that end in a lone CR, as old Macintosh programs write them, with a
// final LF or without: each record's SCALE= and name line are its own.
TEST(Parsetps3D, LoneCrLineEnds) {
  for (const std::string end : {"", "\n"}) {
    const TpsFile f = parsetps3D(
        "LM3=2 a\r1 2 3\r4 5 6\rSCALE=2\rLM3=2 b\r7 8 9\r10 11 12\rSCALE=0.5\r" + end, "cr.txt");
    EXPECT_TRUE(assert_near(
        f.y, (Eigen::MatrixXd(2, 6) << 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12).finished(), 0));
    EXPECT_EQ(f.namelist, (std::vector<std::string>{" a\r", " b\r"}));
    EXPECT_TRUE(assert_near(f.scale, Eigen::Vector2d(2, 0.5), 0));
  }
}

TEST(Parsetps3D, LandmarkCountMismatchNamesRecordAndBothCounts) {
  const InputError error = fixtureError("landmark_count_mismatch.txt");
  EXPECT_EQ(error.file(), dataPath("tps/landmark_count_mismatch.txt"));
  EXPECT_EQ(error.line(), 4);
  EXPECT_NE(error.message().find("record 2"), std::string::npos) << error.what();
  EXPECT_TRUE(mentions(error.message(), 3)) << error.what();
  EXPECT_TRUE(mentions(error.message(), 2)) << error.what();
}

TEST(Parsetps3D, NoKeywordNamesTheFile) {
  const InputError error = fixtureError("no_keyword.txt");
  EXPECT_EQ(error.file(), dataPath("tps/no_keyword.txt"));
  EXPECT_THROW(parsetps3D("", "empty.txt"), InputError);
  EXPECT_THROW(parsetps3D("lllll", "l.txt"), InputError);
}

TEST(Parsetps3D, TooFewCoordinatesNamesTheRecord) {
  const InputError error = fixtureError("too_few_coordinates.txt");
  EXPECT_EQ(error.file(), dataPath("tps/too_few_coordinates.txt"));
  EXPECT_NE(error.message().find("record 2"), std::string::npos) << error.what();
  EXPECT_THROW_MSG(parsetps3D("LM=2\n1 2 3\n4 5", "short.txt"), InputError, "record 1");
}

TEST(Parsetps3D, InfiniteCoordinateNamesTheLine) {
  const InputError error = fixtureError("infinite_coordinate.txt");
  EXPECT_EQ(error.file(), dataPath("tps/infinite_coordinate.txt"));
  EXPECT_EQ(error.line(), 3);
  EXPECT_NE(error.message().find("not a finite number"), std::string::npos) << error.what();
}

TEST(Parsetps3D, NumbersRunTogetherAreRefusedNotSplit) {
  for (const char* run : {"1.5.5", "1.5-2", "2e3e4"}) {
    const std::string text = "LM3=2\n0 0 0\n1 " + std::string(run) + " 1\n";
    EXPECT_THROW_MSG(parsetps3D(text, "run.tps"), InputError,
                     "run.tps:3: \"" + std::string(run) + "\" is not a number");
  }
}

TEST(Gettpsfile3D, ReadsChosenFileAndMovesToItsFolder) {
  CwdGuard guard;
  ScriptedFileDialogs dialogs;
  dialogs.choose(dataPath("tps/two_records.txt"));
  const TpsFile f = gettpsfile3D(dialogs);
  EXPECT_TRUE(f.chosen);
  EXPECT_EQ(f.fname, "two_records.txt");
  EXPECT_TRUE(fs::equivalent(f.path, dataPath("tps/two_records.txt")));
  EXPECT_EQ(f.y.rows(), 2);
  EXPECT_EQ(f.y.cols(), 6);
  EXPECT_TRUE(fs::equivalent(fs::current_path(), dataPath("tps")));
  EXPECT_TRUE(testing::shownOneDialog(dialogs, false, "*.txt", "Specify 3D input file to load"));
}

TEST(Gettpsfile3D, CancelChoosesNothing) {
  CwdGuard guard;
  const fs::path before = fs::current_path();
  ScriptedFileDialogs dialogs;
  dialogs.cancel();
  const TpsFile f = gettpsfile3D(dialogs);
  EXPECT_FALSE(f.chosen);
  EXPECT_EQ(f.y.size(), 0);
  EXPECT_EQ(fs::current_path(), before);
}

TEST(Gettpsfile3D, UnopenableFileSaysErrorOnFileOpenAndGivesNoData) {
  CwdGuard guard;
  TempDir dir;
  ScriptedFileDialogs dialogs;
  dialogs.choose(dir.file("missing.txt"));
  ConsoleCapture console;
  const TpsFile f = gettpsfile3D(dialogs);
  EXPECT_EQ(console.text(), "Error on file open");
  EXPECT_TRUE(f.chosen);
  EXPECT_EQ(f.fname, "missing.txt");
  EXPECT_EQ(f.y.size(), 0);
  EXPECT_TRUE(f.namelist.empty());
  EXPECT_FALSE(f.openError.empty());
}

}  // namespace
}  // namespace tarvolin
