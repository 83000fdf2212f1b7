#include "workflows/mfload.h"

#include <filesystem>
#include <string>

#include "core/errors.h"
#include "tests/testing.h"
#include "workflows/mfloadtxt.h"

namespace tarvolin {
namespace {

namespace fs = std::filesystem;
using testing::assert_near;
using testing::CwdGuard;
using testing::dataPath;
using testing::TempDir;

TEST(Mfload, LoadsChosenFileAndMovesToItsFolder) {
  CwdGuard guard;
  ScriptedFileDialogs dialogs;
  dialogs.choose(dataPath("dload/two_rows.txt"));
  const LoadedMatrix m = mfload(dialogs);
  EXPECT_TRUE(m.chosen);
  EXPECT_EQ(m.fn, "two_rows.txt");
  EXPECT_TRUE(fs::equivalent(m.path, dataPath("dload/two_rows.txt")));
  EXPECT_TRUE(m.openError.empty());
  Eigen::MatrixXd expected(2, 3);
  expected << 1, 2, 3, 4, 5, 6;
  EXPECT_TRUE(assert_near(m.y, expected, 0));
  EXPECT_TRUE(fs::equivalent(fs::current_path(), dataPath("dload")));

  EXPECT_TRUE(testing::shownOneDialog(dialogs, false, "*.*", "Enter file to Load?"));
}

TEST(Mfloadtxt, AsksForTextFiles) {
  CwdGuard guard;
  ScriptedFileDialogs dialogs;
  dialogs.choose(dataPath("dload/one_column_xlist.txt"));
  const LoadedMatrix m = mfloadtxt(dialogs);
  EXPECT_TRUE(m.chosen);
  EXPECT_EQ(m.fn, "one_column_xlist.txt");
  EXPECT_EQ(m.y.rows(), 4);
  EXPECT_EQ(m.y.cols(), 1);
  EXPECT_TRUE(fs::equivalent(fs::current_path(), dataPath("dload")));
  EXPECT_TRUE(testing::shownOneDialog(dialogs, false, "*.txt", "Enter file to Load?"));
}

TEST(Mfload, CancelLeavesWorkingDirectory) {
  CwdGuard guard;
  TempDir dir;
  fs::current_path(dir.path());
  const fs::path before = fs::current_path();
  ScriptedFileDialogs dialogs;
  dialogs.cancel();
  dialogs.cancel();
  const LoadedMatrix m = mfload(dialogs);
  EXPECT_FALSE(m.chosen);
  EXPECT_TRUE(m.fn.empty());
  EXPECT_EQ(fs::current_path(), before);
  EXPECT_FALSE(mfloadtxt(dialogs).chosen);
  EXPECT_EQ(fs::current_path(), before);
}

TEST(Mfload, UnopenableFileGivesMinusOneAndReason) {
  CwdGuard guard;
  TempDir dir;
  ScriptedFileDialogs dialogs;
  dialogs.choose(dir.file("missing.txt"));
  const LoadedMatrix m = mfload(dialogs);
  EXPECT_TRUE(m.chosen);
  EXPECT_EQ(m.fn, "missing.txt");
  EXPECT_TRUE(assert_near(m.y, Eigen::MatrixXd::Constant(1, 1, -1), 0));
  EXPECT_FALSE(m.openError.empty());
}

TEST(Mfload, ContentErrorIsAnInputError) {
  CwdGuard guard;
  ScriptedFileDialogs dialogs;
  dialogs.choose(dataPath("dload/row_count_mismatch.txt"));
  EXPECT_THROW_MSG(mfload(dialogs), InputError, "row_count_mismatch.txt:3:");
}

}  // namespace
}  // namespace tarvolin
