#include "workflows/loadlandmarkfile.h"

#include <cmath>

#include "core/console.h"
#include "core/errors.h"
#include "formats/refusemixedscales.h"
#include "numerics/centsize3Da.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::CwdGuard;
using testing::TempDir;
using testing::writeText;

TEST(Loadlandmarkfile, TpsSizeColumnIsCentroidSizeTimesScale) {
  CwdGuard cwd;
  TempDir dir;
  writeText(dir.file("two.txt"),
            "LM3=2\n0 0 0\n3 4 0\nID=1\nSCALE=2\nLM3=2\n1 1 1\n1 1 2\nIMAGE=b.ply\nSCALE=1\n");
  ScriptedFileDialogs dialogs;
  dialogs.choose(dir.file("two.txt"));
  const LandmarkFile file = loadlandmarkfile(dialogs, true);
  ASSERT_TRUE(file.chosen);
  EXPECT_EQ(file.fname, "two.txt");
  ASSERT_EQ(file.data.rows(), 2);
  ASSERT_EQ(file.data.cols(), 7);
  EXPECT_NEAR(file.data(0, 6), 2.0 * std::sqrt(12.5), 1e-14);
  EXPECT_NEAR(file.data(1, 6), std::sqrt(0.5), 1e-14);
}

// A file whose records are scaled in part is read raw only when the user
// says so, by either reader; otherwise it is refused as it stands.
TEST(Loadlandmarkfile, RecordsScaledInPartAreReadRawOnlyWhenTheUserSaysSo) {
  CwdGuard cwd;
  TempDir dir;
  writeText(dir.file("mixed.tps"),
            "LM3=2\n0 0 0\n3 4 0\nID=a\nSCALE=2\nLM3=2\n1 1 1\n1 1 2\nID=b\n");
  const struct {
    bool tps;
    bool answer;
  } cases[] = {{true, true}, {true, false}, {false, true}, {false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.tps ? "TPS reader, " : "any format, ") + (c.answer ? "yes" : "no"));
    ScriptedFileDialogs dialogs;
    dialogs.choose(dir.file("mixed.tps"));
    dialogs.answer(c.answer);
    ConsoleCapture console;
    if (!c.answer) {
      EXPECT_THROW_MSG(loadlandmarkfile(dialogs, c.tps), MixedScaleError,
                       "has no SCALE= but the 1 other record has one");
    } else {
      const LandmarkFile file = loadlandmarkfile(dialogs, c.tps);
      ASSERT_EQ(file.data.rows(), 2);
      EXPECT_NEAR(file.data(0, 6), std::sqrt(12.5), 1e-14);
      EXPECT_NEAR(file.data(1, 6), std::sqrt(0.5), 1e-14);
      EXPECT_EQ(file.fname, "mixed.tps");
      EXPECT_EQ(file.notes,
                std::vector<std::string>{
                    dir.file("mixed.tps") +
                    ": SCALE= not applied: sizes are in the raw units of every record"});
    }
    ASSERT_EQ(dialogs.questions().size(), 1u);
    EXPECT_EQ(dialogs.questions()[0], "Records scaled in part");
  }
}

TEST(Loadlandmarkfile, ZorKeepsTheFilesSizeColumn) {
  CwdGuard cwd;
  TempDir dir;
  writeText(dir.file("zor.txt"), "0 0 0 1 0 0 0 1 0 9.5\n0 0 0 2 0 0 0 2 0 7.25\n");
  ScriptedFileDialogs dialogs;
  dialogs.choose(dir.file("zor.txt"));
  const LandmarkFile file = loadlandmarkfile(dialogs, false);
  EXPECT_EQ(file.data.col(9), Eigen::Vector2d(9.5, 7.25));
  EXPECT_EQ(file.path, dir.file("zor.txt"));
}

TEST(Loadlandmarkfile, CancelReadsNothing) {
  CwdGuard cwd;
  ScriptedFileDialogs dialogs;
  dialogs.cancel();
  dialogs.cancel();
  EXPECT_FALSE(loadlandmarkfile(dialogs, false).chosen);
  EXPECT_FALSE(loadlandmarkfile(dialogs, true).chosen);
}

TEST(Loadlandmarkfile, RefusesWhatCannotBeSuperimposed) {
  CwdGuard cwd;
  TempDir dir;
  writeText(dir.file("short.txt"), "1 2 3 4 5 6\n");
  writeText(dir.file("flat.txt"), "0 0 0 1 0 0 0 1 0 1\n2 2 2 2 2 2 2 2 2 1\n");
  ScriptedFileDialogs dialogs;
  dialogs.choose(dir.file("missing.txt"));
  dialogs.choose(dir.file("short.txt"));
  dialogs.choose(dir.file("flat.txt"));
  EXPECT_THROW_MSG(loadlandmarkfile(dialogs, false), InputError, "missing.txt: cannot be opened");
  EXPECT_THROW_MSG(loadlandmarkfile(dialogs, false), InputError, "short.txt:1: has 6 numbers");
  EXPECT_THROW_MSG(loadlandmarkfile(dialogs, false), InputError,
                   "flat.txt:2: specimen 2 has all its landmarks at one point");
}

}  // namespace
}  // namespace tarvolin
