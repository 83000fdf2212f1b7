// The 2D window's Load data moves into the chosen file's folder only once
// the file is read.
#include "workflows/load2Dlandmarks.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/errors.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::examplePath;
using testing::TempDir;

TEST(Load2Dlandmarks, MovesIntoTheFolderOfAFileItReadAndNowhereElse) {
  TempDir dir;
  testing::writeText(dir.file("refused.txt"), "not a landmark file\n");
  const struct {
    std::string answer;  // "" cancels
    int rows;            // -1: refused
    bool moves;
  } cases[] = {
      {"", 0, false},
      {examplePath("skulls2d_superimposed.txt"), 40, true},
      {dir.file("refused.txt"), -1, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    testing::CwdGuard cwd;
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    const std::filesystem::path before = std::filesystem::current_path();
    ScriptedFileDialogs dialogs;
    c.answer.empty() ? dialogs.cancel() : dialogs.choose(c.answer);
    int rows = 0;
    try {
      const std::optional<ChosenLandmarks> read = load2Dlandmarks(dialogs);
      if (read) rows = static_cast<int>(read->set.specimens());
    } catch (const InputError&) {
      rows = -1;
    }
    EXPECT_EQ(rows, c.rows);
    const std::filesystem::path expected =
        c.moves ? std::filesystem::path(c.answer).parent_path() : before;
    EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), expected));
  }
}

}  // namespace
}  // namespace tarvolin
