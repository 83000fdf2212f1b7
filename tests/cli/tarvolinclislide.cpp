#include <Eigen/Core>
#include <memory>
#include <string>
#include <vector>

#include "formats/readlandmarks.h"
#include "numerics/slidegpa.h"
#include "numerics/superimposedataset.h"
#include "tests/cli/clitesting.h"
#include "tests/testing.h"
#include "workflows/loadsliders.h"

namespace tarvolin {
namespace {

using testing::examplePath;
using testing::runCli;
using testing::TempDir;

// superimpose writes the coordinates the fit with sliding gives (every digit
// kept in csv), from the TPS curves or the sliders and surface files, by
// either criterion, projected or not; --slide none gives the plain fit.
TEST(CliSlide, SuperimposeWritesTheSlidingFitDigitForDigit) {
  const struct {
    std::string file;
    std::vector<std::string> options;
    std::string sliders, surface;
    bool slides;
    SlideCriterion criterion;
    bool project;
    std::string said;
  } cases[] = {
      {"wings2d.tps",
       {},
       "",
       "",
       true,
       SlideCriterion::bendingEnergy,
       false,
       "semilandmarks slid by bending energy, "},
      {"wings2d.tps",
       {"--slide", "procd", "--project"},
       "",
       "",
       true,
       SlideCriterion::procrustesDistance,
       true,
       "semilandmarks slid by Procrustes distance, "},
      {"wings2d.tps", {"--slide", "none"}, "", "", false, {}, false, ""},
      {"shells.csv",
       {"--sliders", examplePath("shells_sliders.txt"), "--surface",
        examplePath("shells_surface.txt")},
       "shells_sliders.txt",
       "shells_surface.txt",
       true,
       SlideCriterion::bendingEnergy,
       false,
       "semilandmarks slid by bending energy, "},
      {"shells.csv",
       {"--surface", examplePath("shells_surface.txt"), "--slide-rounds", "1"},
       "",
       "shells_surface.txt",
       true,
       SlideCriterion::bendingEnergy,
       false,
       " in 1 round, "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file + " " + (c.options.empty() ? "" : c.options.front()));
    TempDir dir;
    std::vector<std::string> words{"superimpose", examplePath(c.file), "--to", "csv",
                                   "-o",          dir.file("out.csv")};
    words.insert(words.end(), c.options.begin(), c.options.end());
    const testing::CliRun run = runCli(words);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;

    LandmarkSet set = readlandmarks(examplePath(c.file), std::nullopt, {});
    GpaRounds rounds;
    if (c.slides) {
      Sliding slide;
      slide.sliders = loadsliders(set, c.sliders.empty() ? "" : examplePath(c.sliders),
                                  c.surface.empty() ? "" : examplePath(c.surface));
      slide.criterion = c.criterion;
      slide.project = c.project;
      if (c.said == " in 1 round, ") slide.maxRounds = 1;
      rounds.slide = std::make_shared<const Sliding>(slide);
    }
    const int dims = set.dims;
    const SuperimposedDataSet expected = superimposedataset(
        landmarkdataset(std::move(set)), testing::noNotes(), dims, false, rounds);
    const LandmarkSet written = readlandmarks(dir.file("out.csv"), std::nullopt, {});
    EXPECT_EQ(written.coords, expected.data.leftCols(expected.data.cols() - 1));
  }
}

// The other commands take the same options and say what the fit did.
TEST(CliSlide, EveryCommandSlides) {
  TempDir dir;
  testing::writeText(dir.file("one.txt"), "11 12 13\n");
  const std::string wings = examplePath("wings2d.tps");
  const struct {
    std::vector<std::string> words;
    std::string out;  // a line the output holds
    std::string err;  // and standard error
  } cases[] = {
      {{"info", wings}, "16 semilandmarks slide: 16 on curves, 0 on the surface\n", ""},
      {{"info", examplePath("shells.csv"), "--sliders", dir.file("one.txt")},
       "1 semilandmark slides: 1 on curves, 0 on the surface\n",
       ""},
      {{"info", examplePath("shells.csv"), "--sliders", examplePath("shells_sliders.txt"),
        "--surface", examplePath("shells_surface.txt"), "--slide", "procd"},
       "superimposition: semilandmarks slid by Procrustes distance, ",
       ""},
      {{"standardize", wings, "--transform", "ln"}, "", "semilandmarks slid by bending energy"},
      {{"allometry", wings, "--transform", "ln", "--permutations", "9"},
       "semilandmarks slid by bending energy",
       "semilandmarks slid by bending energy"},
      {{"pca", wings, "--of", "standardized"}, "PC1 ", "semilandmarks slid by bending energy"},
      {{"check", wings}, "", "semilandmarks slid by bending energy"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.words.front());
    const testing::CliRun run = runCli(c.words);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(c.out), std::string::npos) << run.out;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
  }
}

TEST(CliSlide, RefusesWhatCannotSlideNamingTheFile) {
  TempDir dir;
  testing::writeText(dir.file("bad.txt"), "11 12 13\n12 13\n");
  testing::writeText(dir.file("surface.txt"), "5\n");
  testing::writeText(dir.file("surface12.txt"), "40\n12\n");
  testing::writeText(dir.file("empty.txt"), "before,slide,after\n");
  const std::string wings = examplePath("wings2d.tps");
  const std::string shells = examplePath("shells.csv");
  const struct {
    std::vector<std::string> words;
    std::string err;
  } cases[] = {
      {{"superimpose", shells, "--sliders", dir.file("bad.txt")},
       dir.file("bad.txt") + ":2: the row holds 2 fields, not 3 landmark numbers"},
      {{"superimpose", wings, "--surface", dir.file("surface.txt")},
       "points slide on a surface in 3D data only"},
      {{"superimpose", shells, "--sliders", examplePath("shells_sliders.txt"), "--surface",
        dir.file("surface.txt"), "--slide", "none"},
       "--slide none holds every point fixed"},
      {{"superimpose", shells, "--project"}, "--project is for data whose semilandmarks slide"},
      {{"superimpose", shells, "--slide", "procd"},
       "sliding is for data whose semilandmarks slide"},
      {{"superimpose", wings, "--slide", "none", "--project"},
       "--slide none holds every point fixed"},
      {{"superimpose", wings, "--sliders", dir.file("empty.txt")},
       "empty.txt: names no landmark that slides"},
      {{"superimpose", wings, "--slide-rounds", "0"},
       "--slide-rounds: takes a whole number of at least 1, not \"0\""},
      {{"superimpose", shells, "--surface", examplePath("shells_sliders.txt")},
       "shells_sliders.txt:3: the line holds 3 fields, not 1 landmark number"},
      {{"superimpose", shells, "--sliders", dir.file("nothing.txt")},
       "nothing.txt: cannot be read"},
      {{"superimpose", shells, "--sliders", examplePath("shells_sliders.txt"), "--surface",
        dir.file("surface12.txt")},
       "surface12.txt: landmark 12 slides on a curve (" + examplePath("shells_sliders.txt") +
           ") and cannot slide on the surface too"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.err);
    const testing::CliRun run = runCli(c.words);
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());
  }
}

}  // namespace
}  // namespace tarvolin
