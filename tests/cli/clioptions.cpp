// tarvolin-cli's words arrive as enum members from the parser, refused words
// are refused as before, and an error of the regression names the file of
// the input it concerns.
#include "cli/clioptions.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/cli/clitesting.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::runCli;
using testing::TempDir;
using testing::writeText;

TEST(CliOptions, WordsBecomeEnumMembers) {
  struct Case {
    std::vector<std::string> words;
    std::function<bool(const CliOptions&)> holds;
  };
  const std::vector<Case> cases = {
      {{},
       [](const CliOptions& o) {
         return o.format == ReadFormat::content && o.missing == MissingChoice::refuse &&
                o.scale == ScaleChoice::apply && o.to == LandmarkFormat::zor &&
                o.transform == Transform::none && o.gpa == GpaChoice::three;
       }},
      {{"--format", "mrkjson"},
       [](const CliOptions& o) { return o.format == ReadFormat::mrkjson; }},
      {{"--format", "zor"}, [](const CliOptions& o) { return o.format == ReadFormat::zor; }},
      {{"--missing", "drop-landmarks"},
       [](const CliOptions& o) { return o.missing == MissingChoice::dropLandmarks; }},
      {{"--missing", "keep"}, [](const CliOptions& o) { return o.missing == MissingChoice::keep; }},
      {{"--scale", "ignore"}, [](const CliOptions& o) { return o.scale == ScaleChoice::ignore; }},
      {{"--to", "morphologika"},
       [](const CliOptions& o) { return o.to == LandmarkFormat::morphologika; }},
      {{"--to", "csv"}, [](const CliOptions& o) { return o.to == LandmarkFormat::csv; }},
      {{"--transform", "log10"},
       [](const CliOptions& o) { return o.transform == Transform::log10; }},
      {{"--gpa", "converged"}, [](const CliOptions& o) { return o.gpa == GpaChoice::converged; }},
  };
  for (const Case& c : cases) {
    CliOptions options;
    CLI::App app;
    addinputoptions(&app, options, true);
    addoutputoptions(&app, options);
    addxoptions(&app, options);
    addfitoptions(&app, options);
    std::vector<std::string> words = {"data.txt"};
    words.insert(words.end(), c.words.begin(), c.words.end());
    std::vector<std::string> reversed(words.rbegin(), words.rend());
    app.parse(reversed);
    EXPECT_TRUE(c.holds(options)) << (c.words.empty() ? "(defaults)" : c.words.back());
    EXPECT_EQ(options.file, "data.txt");
  }
}

TEST(CliOptions, WordsNotOnTheListAreRefusedNamingTheList) {
  struct Case {
    std::vector<std::string> words;
    std::string fragment;
  };
  const std::vector<Case> cases = {
      {{"convert", "a.txt", "--to", "fcsv"}, "--to: fcsv not in {zor,csv,tps,nts,morphologika}"},
      {{"info", "a.txt", "--missing", "keep"}, "--missing: keep not in"},
      {{"standardize", "a.txt", "--transform", "sqrt"}, "--transform: sqrt not in {none,ln,log10}"},
      {{"info", "a.txt", "--gpa", "all"}, "--gpa: all not in {three,converged}"},
      {{"info", "a.txt", "--scale", "some"}, "--scale: some not in {apply,ignore}"},
  };
  for (const Case& c : cases) {
    const testing::CliRun run = runCli(c.words);
    EXPECT_EQ(run.status, 2) << c.fragment;
    EXPECT_NE(run.err.find(c.fragment), std::string::npos) << run.err;
  }
}

TEST(CliOptions, ErrorsOfTheRegressionNameTheFileOfTheirInput) {
  TempDir dir;
  const std::string data = dir.file("six.txt");
  std::string rows;
  for (int i = 0; i < 6; ++i) {
    const double s = 1 + 0.2 * i;
    rows += std::to_string(0.01 * (i % 3)) + " 0 0 " + std::to_string(s) + " 0 0 0 " +
            std::to_string(s + 0.03 * (i % 2)) + " 0 0 0 " + std::to_string(s) + " " +
            std::to_string(10 * s) + "\n";
  }
  writeText(data, rows);
  writeText(dir.file("same.txt"), "2\n2\n2\n2\n2\n2\n");
  writeText(dir.file("groups.txt"), "p\np\np\np\np\nq\n");
  writeText(dir.file("within.txt"), "1\n1\n1\n2\n2\n2\n");
  writeText(dir.file("halves.txt"), "p\np\np\nq\nq\nq\n");
  struct Case {
    std::vector<std::string> words;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {{"standardize", data, "--x", dir.file("same.txt")},
       dir.file("same.txt") + ": every specimen has the same x value"},
      {{"standardize", data, "--groups", dir.file("groups.txt")},
       dir.file("groups.txt") + ": group \"q\" has one specimen"},
      {{"standardize", data, "--x", dir.file("within.txt"), "--groups", dir.file("halves.txt")},
       dir.file("halves.txt") + ": x does not vary within any group"},
      {{"allometry", data, "--x", dir.file("same.txt")},
       dir.file("same.txt") + ": every specimen has the same x value"},
      {{"allometry", data, "--groups", dir.file("groups.txt")},
       dir.file("groups.txt") + ": group \"q\" has one specimen"},
      {{"standardize", data, "--standard", "1e308"}, data + ": the standard value"},
  };
  for (const Case& c : cases) {
    const testing::CliRun run = runCli(c.words);
    EXPECT_EQ(run.status, 2) << c.expected;
    EXPECT_NE(run.err.find("tarvolin-cli: " + c.expected), std::string::npos) << run.err;
  }
}

}  // namespace
}  // namespace tarvolin
