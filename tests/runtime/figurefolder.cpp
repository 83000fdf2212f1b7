#include "runtime/figurefolder.h"

#include <gtest/gtest.h>

#include "core/programpath.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

TEST(FigureFolder, IsFoundBesideTheProgramAndInTheSourceTreeOnlyForABuiltProgram) {
  TempDir dir;
  const fs::path root = dir.path();
  for (const char* folder : {"usr/share/tarvolin/figures", "src/resources", "empty/bin"}) {
    fs::create_directories(root / folder);
  }
  testing::writeText((root / "usr/share/tarvolin/figures/Tarvolin.fig").string(), "{}");
  testing::writeText((root / "src/resources/Tarvolin.fig").string(), "{}");
  const fs::path build = root / "src/build";
  const fs::path source = root / "src/resources";
  const struct {
    fs::path program;
    fs::path found;
  } cases[] = {
      // Installed: PREFIX/bin beside PREFIX/share, wherever PREFIX is.
      {root / "usr/bin/tarvolin", root / "usr/share/tarvolin/figures"},
      {root / "usr/bin/../bin/tarvolin", root / "usr/share/tarvolin/figures"},
      // In the build tree: the source tree's figures.
      {build / "bin/tarvolin", source},
      // Elsewhere, or in a folder whose name only begins like the build
      // tree's: where an installation would have them.
      {root / "empty/bin/tarvolin", root / "empty/share/tarvolin/figures"},
      {root / "src/build2/bin/tarvolin", root / "src/build2/share/tarvolin/figures"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(figurefolder(c.program, build, source), c.found) << c.program;
  }
}

TEST(ProgramPath, IsTheRunningExecutable) {
  const fs::path program = programpath("ignored");
  EXPECT_TRUE(program.is_absolute()) << program;
  EXPECT_TRUE(fs::is_regular_file(program)) << program;
  EXPECT_EQ(program.filename(), "tests_runtime");
}

}  // namespace
}  // namespace tarvolin
