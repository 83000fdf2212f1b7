#include "shapes/gettpsfile3D.h"

#include <filesystem>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/readtextfile.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

namespace fs = std::filesystem;
using testing::assert_near;
using testing::CwdGuard;
using testing::dataPath;
using testing::mentions;
using testing::TempDir;

// Reads the fixture tps/`name` into memory and parses it under its own path.
TpsFile parseFixture(const std::string& name) {
  std::string text;
  std::string reason;
  if (!readtextfile(dataPath("tps/" + name), text, reason)) {
    ADD_FAILURE() << "cannot read fixture " << name << ": " << reason;
    return {};
  }
  return parsetps3D(text, dataPath("tps/" + name));
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
       Eigen::Vector3d(1, 1, 0.5)},
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
    const TpsFile f = parseFixture(c.fixture);
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
  const TpsFile f = parseFixture("scale_factors.txt");
  EXPECT_TRUE(assert_near(f.y, (Eigen::MatrixXd(3, 3) << 1, 2, 3, 4, 5, 6, 7, 8, 9).finished(), 0));
  EXPECT_TRUE(assert_near(f.scale, Eigen::Vector3d(0.5, 1, 2), 0));
}

TEST(Parsetps3D, CrlfLineEnds) {
  const TpsFile f = parseFixture("crlf_line_ends.txt");
  EXPECT_TRUE(assert_near(
      f.y, (Eigen::MatrixXd(2, 6) << 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12).finished(), 0));
  EXPECT_EQ(f.namelist, (std::vector<std::string>{" skull_a\r\n", "\r\n"}));
  EXPECT_TRUE(assert_near(f.scale, Eigen::Vector2d(0.25, 1), 0));
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

TEST(Gettpsfile3D, UnopenableFileIsAnInputError) {
  CwdGuard guard;
  TempDir dir;
  ScriptedFileDialogs dialogs;
  dialogs.choose(dir.file("missing.txt"));
  EXPECT_THROW_MSG(gettpsfile3D(dialogs), InputError, "Error on file open");
}

}  // namespace
}  // namespace tarvolin
