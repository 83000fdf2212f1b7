#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/sessionscript.h"
#include "tests/cli/clitesting.h"
#include "tests/decimalcomma.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::examplePath;
using testing::TempDir;

struct Played {
  int status = -1;
  std::string out;
  std::string err;
  std::vector<std::string> saved;
};

// Plays `script` strictly from `dir`, then reads and removes the files it saved.
Played play(const TempDir& dir, const std::string& script, const std::vector<std::string>& saved) {
  testing::CwdGuard cwd;
  testing::writeText(dir.file("script.txt"), script);
  std::ostringstream out, err;
  Played p;
  p.status = runsession(dir.file("script.txt"), TARVOLIN_RESOURCES_DIR, true, out, err);
  p.out = out.str();
  p.err = err.str();
  for (const std::string& name : saved) {
    p.saved.push_back(testing::readText(dir.file(name)));
    std::filesystem::remove(dir.file(name));
  }
  return p;
}

TEST(Locale, SessionsAreTheSameWithADecimalComma) {
  TempDir dir;
  const std::string regress3d = "choose " + examplePath("skulls_zor.txt") +
                                "\npress LoadDataButton\npress UseCSButton\npress LnButton\n"
                                "press GoRegress\n";
  const std::string save = "choose " + dir.file("saved.txt") + "\npress SaveStandard\n";
  const std::string cases[] = {
      regress3d + "press AcceptStandard\n" + save,
      regress3d + "set StandardBox String 3.5\npress AcceptStandard\n" + save,
      "press Open2DButton\nwindow Tarvolin2D\nchoose " + examplePath("skulls2d_superimposed.txt") +
          "\npress LoadDataButton\nchoose " + examplePath("skulls_mass.txt") +
          "\npress LoadXButton\npress LogButton\npress GoRegress\npress AcceptStandard\n" + save,
  };
  for (const std::string& script : cases) {
    const Played c = play(dir, script, {"saved.txt"});
    ASSERT_EQ(c.status, 0) << script << c.out << c.err;
    ASSERT_NE(c.saved[0].find('.'), std::string::npos) << script;
    const Played comma = [&] {
      const testing::DecimalComma locale;
      return play(dir, script, {"saved.txt"});
    }();
    EXPECT_EQ(comma.status, 0) << script;
    EXPECT_EQ(comma.out, c.out) << script;
    EXPECT_EQ(comma.err, c.err) << script;
    EXPECT_EQ(comma.saved, c.saved) << script;
  }
}

TEST(Locale, CommandLineIsTheSameWithADecimalComma) {
  const std::string file = examplePath("skulls_zor.txt");
  const std::vector<std::string> cases[] = {
      {"standardize", file, "--transform", "ln", "--standard", "2.5"},
      {"standardize", file, "--transform", "ln"},
      {"check", examplePath("skulls.tps"), "--x", examplePath("skulls_covariates.csv") + ":mass"},
      {"check", examplePath("skulls2d.tps"), "--json"},
      {"pca", examplePath("skulls2d.tps"), "--of", "standardized", "--transform", "ln",
       "--standard", "3.5"},
      {"pca", file, "--json"},
      {"pca", file, "--to", "csv", "--components", "4"},
  };
  for (const std::vector<std::string>& words : cases) {
    const testing::CliRun c = testing::runCli(words);
    ASSERT_EQ(c.status, 0) << c.err;
    const testing::CliRun comma = [&] {
      const testing::DecimalComma locale;
      return testing::runCli(words);
    }();
    EXPECT_EQ(comma.status, 0) << comma.err;
    EXPECT_EQ(comma.out, c.out) << words.size();
    EXPECT_EQ(comma.err, c.err) << words.size();
  }
}

}  // namespace
}  // namespace tarvolin
