#include <Eigen/Core>
#include <chrono>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "cli/slideprogress.h"
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
    SlideOrder order = SlideOrder::reference;
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
       " in 1 round "},
      // The refit order settles on the shells, which the default order does not.
      {"shells.csv",
       {"--sliders", examplePath("shells_sliders.txt"), "--surface",
        examplePath("shells_surface.txt"), "--slide-order", "refit"},
       "shells_sliders.txt",
       "shells_surface.txt",
       true,
       SlideCriterion::bendingEnergy,
       false,
       "semilandmarks slid by bending energy, refit order, converged in ",
       SlideOrder::refit},
      {"wings2d.tps",
       {"--slide", "procd", "--slide-order", "refit", "--slide-rounds", "200"},
       "",
       "",
       true,
       SlideCriterion::procrustesDistance,
       false,
       "semilandmarks slid by Procrustes distance, refit order, converged in ",
       SlideOrder::refit},
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
      slide.order = c.order;
      for (size_t w = 0; w + 1 < c.options.size(); ++w) {
        if (c.options[w] == "--slide-rounds") slide.maxRounds = std::stoi(c.options[w + 1]);
      }
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
      {{"info", wings, "--slide-order", "refit"},
       "superimposition: semilandmarks slid by bending energy, refit order, ",
       ""},
      {{"allometry", wings, "--permutations", "9", "--slide-order", "default"},
       "semilandmarks slid by bending energy, default order, ",
       "semilandmarks slid by bending energy, default order, "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.words.front());
    const testing::CliRun run = runCli(c.words);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(c.out), std::string::npos) << run.out;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
  }
}

// The lines a long fit writes within a round and at its end, once it has
// gone on for a while; a short fit says nothing.
TEST(CliSlide, ALongSlideSaysHowFarItGot) {
  const struct {
    std::chrono::steady_clock::duration quiet;
    std::string said;
  } cases[] = {
      {std::chrono::seconds(0),
       "tarvolin-cli: sliding: round 3 of at most 9, 12 of 40 specimens slid\n"
       "tarvolin-cli: sliding: round 3 of at most 9, change 0.0123\n"},
      {std::chrono::hours(1), ""},
  };
  for (const auto& c : cases) {
    std::string said;
    const SlideRoundHook hook =
        slideprogress([&said](std::string_view line) { said += line; }, c.quiet);
    hook({.round = 3, .maxRounds = 9, .slid = 12, .specimens = 40});
    hook({.round = 3, .maxRounds = 9, .slid = 40, .specimens = 40, .change = 0.012345});
    EXPECT_EQ(said, c.said);
  }
}

// A semilandmark that ends off its curve is named on standard error with
// its specimen's ID; the result is written all the same.
TEST(CliSlide, WarnsOfASemilandmarkOffItsCurve) {
  TempDir dir;
  // A rectangle's corners and an arch over it (landmarks 5 to 10), the arch
  // of the fourth specimen pulled far up at landmark 7.
  const double base[10][2] = {{0, 0},   {4, 0},   {4, 3},   {0, 3},   {0, 3.5},
                              {1, 4.2}, {2, 4.5}, {3, 4.3}, {3.6, 4}, {4, 3.5}};
  std::string csv = "id";
  for (int j = 1; j <= 10; ++j) csv += ",x" + std::to_string(j) + ",y" + std::to_string(j);
  csv += "\n";
  for (int i = 0; i < 6; ++i) {
    csv += "w" + std::to_string(i + 1);
    for (int j = 0; j < 10; ++j) {
      for (int d = 0; d < 2; ++d) {
        const double wobble = 0.15 * std::sin(1.7 * i + 2.3 * j + 0.9 * d);
        const double far = i == 3 && j == 6 && d == 1 ? 12 : 0;
        csv += "," + std::to_string((1 + 0.1 * i) * (base[j][d] + wobble + far) + i);
      }
    }
    csv += "\n";
  }
  testing::writeText(dir.file("arch.csv"), csv);
  testing::writeText(dir.file("arch.txt"), "5 6 7\n6 7 8\n7 8 9\n8 9 10\n");
  const testing::CliRun run =
      runCli({"superimpose", dir.file("arch.csv"), "--sliders", dir.file("arch.txt"), "--to", "csv",
              "-o", dir.file("out.csv")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("tarvolin-cli: w4: semilandmark 7 slid "), std::string::npos) << run.err;
  EXPECT_NE(run.err.find(" centroid sizes off its curve\n"), std::string::npos) << run.err;
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
      {{"superimpose", wings, "--slide", "none", "--slide-order", "refit"},
       "--slide none holds every point fixed; leave out --sliders, --surface, --slide-rounds, "
       "--slide-tolerance, --slide-order and --project"},
      {{"superimpose", shells, "--slide-order", "refit"},
       "sliding is for data whose semilandmarks slide"},
      {{"superimpose", wings, "--slide-order", "converged"}, "--slide-order"},
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
