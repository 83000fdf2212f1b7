#include "cli/tarvolincli.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "clitesting.h"
#include "core/sprintf.h"
#include "formats/dload.h"
#include "numerics/standardsize.h"

namespace tarvolin {
namespace {

using testing::CliRun;
using testing::examplePath;
using testing::readText;
using testing::runCli;
using testing::TempDir;
using testing::writeText;

const std::string zor = examplePath("skulls_zor.txt");
const std::string tps = examplePath("skulls_tps.txt");
const std::string mass = examplePath("skulls_mass.txt");

Eigen::MatrixXd numbers(const std::string& text) { return parsenumericmatrix(text, "output"); }

// Largest slope of any coordinate column on x.
double largestSlope(const Eigen::MatrixXd& data, const Eigen::VectorXd& x) {
  return standardsize(data, x, 0.0).tvect.col(0).cwiseAbs().maxCoeff();
}

TEST(CliInfo, SummaryAsTheWindowShowsItAndSizeRange) {
  const Eigen::MatrixXd file = dload(zor);
  const CliRun run = runCli({"info", zor});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, sprintf("skulls_zor.txt \nhas 40 specimens \nwith 14 landmarks\n"
                             "centroid size from %4.4f to %4.4f\n"
                             "3D landmarks; specimens 1 to 40\n"
                             "superimposition: 3 rounds, as the standardization is defined\n",
                             file.col(42).minCoeff(), file.col(42).maxCoeff()));
  const CliRun fromTps = runCli({"info", "--tps", tps});
  EXPECT_EQ(fromTps.out.substr(fromTps.out.find('\n')), run.out.substr(run.out.find('\n')));
}

TEST(CliSuperimpose, WritesEverySpecimenAsTheStandardizedFileIsWritten) {
  const CliRun run = runCli({"superimpose", zor});
  ASSERT_EQ(run.status, 0) << run.err;
  const Eigen::MatrixXd out = numbers(run.out);
  ASSERT_EQ(out.rows(), 40);
  ASSERT_EQ(out.cols(), 43);
  std::string expectedSizes;
  for (Eigen::Index i = 0; i < 40; ++i) expectedSizes += sprintf("%g  \n", dload(zor)(i, 42));
  std::string sizes;
  size_t start = 0;
  while (start < run.out.size()) {
    const size_t end = run.out.find('\n', start);
    const size_t lastNumber = run.out.rfind(' ', end - 3) + 1;
    sizes += run.out.substr(lastNumber, end + 1 - lastNumber);
    start = end + 1;
  }
  EXPECT_EQ(sizes, expectedSizes);
}

// Flat specimens each paired with its half-turn in the plane: their sum,
// the usual first consensus, has no size.
TEST(CliSuperimpose, SpecimensThatCancelOutStillGiveAFiniteFit) {
  TempDir dir;
  writeText(dir.file("cancelling.txt"),
            "1 0 0 0 2 0 -1 -1 0 0.5 -0.3 0 1\n"
            "-1 0 0 0 -2 0 1 1 0 -0.5 0.3 0 1\n"
            "1.1 0.1 0 0.1 2 0 -1 -1.2 0 0.4 -0.3 0 1\n"
            "-1.1 -0.1 0 -0.1 -2 0 1 1.2 0 -0.4 0.3 0 1\n");
  const CliRun run = runCli({"superimpose", dir.file("cancelling.txt")});
  ASSERT_EQ(run.status, 0) << run.err;
  const Eigen::MatrixXd out = numbers(run.out);
  ASSERT_EQ(out.rows(), 4);
  EXPECT_TRUE(out.allFinite());
  // A specimen and its half-turn have one shape: they fit onto each other.
  EXPECT_TRUE(testing::assert_near(out.row(0), out.row(1), 1e-5));
}

TEST(CliSuperimpose, ZorAndTpsFormsGiveTheSameCoordinates) {
  const CliRun fromZor = runCli({"superimpose", zor});
  const CliRun fromTps = runCli({"superimpose", "--tps", tps});
  ASSERT_EQ(fromTps.status, 0) << fromTps.err;
  const Eigen::MatrixXd a = numbers(fromZor.out);
  const Eigen::MatrixXd b = numbers(fromTps.out);
  EXPECT_EQ(a.leftCols(42), b.leftCols(42));
  EXPECT_TRUE(testing::assert_near(a.col(42), b.col(42), 1e-3));
}

TEST(CliStandardize, RemovesTheSizeRelatedShapeChange) {
  const CliRun loaded = runCli({"superimpose", zor});
  const CliRun run = runCli({"standardize", zor, "--transform", "ln"});
  ASSERT_EQ(run.status, 0) << run.err;
  const Eigen::VectorXd lnSize = dload(zor).col(42).array().log();
  const Eigen::MatrixXd before = numbers(loaded.out);
  const Eigen::MatrixXd after = numbers(run.out);
  EXPECT_GT(largestSlope(before, lnSize), 0.01);
  EXPECT_LT(largestSlope(after, lnSize), 0.05 * largestSlope(before, lnSize));
}

TEST(CliStandardize, LastNumberIsTheStandardValueOnTheRawScale) {
  const double smallest = dload(zor).col(42).minCoeff();
  const auto lastNumbers = [](const std::string& text) -> Eigen::VectorXd {
    return numbers(text).col(42);
  };

  // Default: the minimum of x as "%4.4f" writes it.
  const CliRun plain = runCli({"standardize", zor});
  ASSERT_EQ(plain.status, 0) << plain.err;
  const double proposed = std::stod(sprintf("%4.4f", smallest));
  EXPECT_TRUE(
      testing::assert_near(lastNumbers(plain.out),
                           Eigen::VectorXd::Constant(40, std::stod(sprintf("%g", proposed))), 0));

  // ln: e to the proposed logarithm.
  const CliRun ln = runCli({"standardize", zor, "--transform", "ln"});
  const double lnProposed = std::stod(sprintf("%4.4f", std::log(smallest)));
  EXPECT_NE(ln.out.find(sprintf(" %g  \n", std::exp(lnProposed))), std::string::npos);

  // An x list in log10 with a typed standard value: 10^1.5.
  const CliRun typed =
      runCli({"standardize", zor, "--x", mass, "--transform", "log10", "--standard", "1.5"});
  ASSERT_EQ(typed.status, 0) << typed.err;
  EXPECT_TRUE(
      testing::assert_near(lastNumbers(typed.out), Eigen::VectorXd::Constant(40, 31.6228), 0));
}

TEST(CliStandardize, KeepSizeWritesEachSpecimensOwnSize) {
  const CliRun standard = runCli({"standardize", zor, "--transform", "log10"});
  const CliRun kept = runCli({"standardize", zor, "--transform", "log10", "--keep-size"});
  ASSERT_EQ(kept.status, 0) << kept.err;
  const Eigen::MatrixXd a = numbers(standard.out);
  const Eigen::MatrixXd b = numbers(kept.out);
  EXPECT_EQ(a.leftCols(42), b.leftCols(42));
  EXPECT_TRUE(testing::assert_near(b.col(42), dload(zor).col(42), 1e-3));
}

TEST(CliOutput, FileHoldsWhatStandardOutputWouldAndFailuresLeaveItAlone) {
  TempDir dir;
  const std::string target = dir.file("out.txt");
  writeText(target, "earlier result\n");
  const CliRun toFile = runCli({"standardize", zor, "-o", target});
  ASSERT_EQ(toFile.status, 0) << toFile.err;
  EXPECT_EQ(toFile.out, "");
  EXPECT_EQ(readText(target), runCli({"standardize", zor}).out);

  const std::string before = readText(target);
  writeText(dir.file("bad.txt"), "1 2 3 4\n1 2 x 4\n");
  const CliRun bad = runCli({"standardize", dir.file("bad.txt"), "-o", target});
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(readText(target), before);

  const CliRun nowhere = runCli({"superimpose", zor, "-o", dir.file("no/such/folder/out.txt")});
  EXPECT_EQ(nowhere.status, 1);
  EXPECT_EQ(nowhere.err.rfind("tarvolin-cli: cannot write ", 0), 0u) << nowhere.err;
}

// No result replaces a file the command reads, whatever name it is given
// by; two results never share a file; every result file is tried before any
// is written.
TEST(CliOutput, AResultNeverReplacesAnInput) {
  TempDir dir;
  const std::string data = dir.file("skulls.csv");
  writeText(data, readText(examplePath("skulls.csv")));
  writeText(dir.file("covariates.csv"), readText(examplePath("skulls_covariates.csv")));
  writeText(dir.file("shells.csv"), readText(examplePath("shells.csv")));
  writeText(dir.file("sliders.txt"), readText(examplePath("shells_sliders.txt")));
  std::filesystem::create_symlink(data, dir.file("link.csv"));
  ASSERT_EQ(::link(dir.file("covariates.csv").c_str(), dir.file("hard.csv").c_str()), 0);
  const std::string table = dir.file("covariates.csv");
  const struct {
    std::vector<std::string> words;
    std::string expected;
  } cases[] = {
      {{"check", data, "-o", data},
       "-o " + data +
           " is the landmark file this command reads: the result would replace it; "
           "write the result to another file"},
      {{"superimpose", data, "-o", dir.file("link.csv")},
       "-o " + dir.file("link.csv") + " is the landmark file this command reads (" + data +
           ", by another name): the result would replace it; write the result to another file"},
      {{"standardize", data, "--x", table + ":mass", "-o", dir.file("hard.csv")},
       "-o " + dir.file("hard.csv") + " is the --x file this command reads (" + table +
           ", by another name): the result would replace it; write the result to another file"},
      {{"allometry", data, "--groups", table + ":group", "-o", table},
       "-o " + table +
           " is the --groups file this command reads: the result would replace it; "
           "write the result to another file"},
      {{"superimpose", dir.file("shells.csv"), "--sliders", dir.file("sliders.txt"), "-o",
        dir.file("sliders.txt")},
       "-o " + dir.file("sliders.txt") +
           " is the --sliders file this command reads: the result would replace it; write the "
           "result to another file"},
      {{"pca", data, "--loadings", data},
       "--loadings " + data +
           " is the landmark file this command reads: the result would "
           "replace it; write the result to another file"},
      {{"pca", data, "--loadings", dir.file("new.csv"), "--shapes", dir.file("new.csv")},
       dir.file("new.csv") + ": named for two results (--loadings and --shapes); give each its "
                             "own file"},
      {{"pca", data, "-o", table, "--shapes", dir.file("hard.csv")},
       dir.file("hard.csv") + ": named for two results (-o and --shapes); give each its own file"},
      {{"pca", data, "--pcs", "1,3"},
       "--pcs chooses the components --plot draws, and --plot is "
       "not given"},
  };
  const std::string before = readText(data), tableBefore = readText(table);
  for (const auto& c : cases) {
    const CliRun run = runCli(c.words);
    EXPECT_EQ(run.status, 2) << c.expected;
    EXPECT_EQ(run.err, "tarvolin-cli: " + c.expected + "\n");
  }
  EXPECT_EQ(readText(data), before);
  EXPECT_EQ(readText(table), tableBefore);
  EXPECT_EQ(readText(dir.file("sliders.txt")), readText(examplePath("shells_sliders.txt")));
  EXPECT_FALSE(std::filesystem::exists(dir.file("new.csv")));

  // A result file that cannot be written is found before any is written.
  const CliRun late = runCli({"pca", data, "-o", dir.file("scores.txt"), "--loadings",
                              dir.file("no/such/folder/loadings.csv")});
  EXPECT_EQ(late.status, 1);
  EXPECT_EQ(late.err, "tarvolin-cli: cannot write " + dir.file("no/such/folder/loadings.csv") +
                          ": No such file or directory\n");
  EXPECT_FALSE(std::filesystem::exists(dir.file("scores.txt")));

  // One that still fails once others are written (files may grow to 3,000
  // bytes here: the scores and loadings of two components are smaller, the
  // shapes larger) names those already written.
  {
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const auto previous = ::signal(SIGXFSZ, SIG_IGN);
    rlimit lowered = saved;
    lowered.rlim_cur = 3000;
    ::setrlimit(RLIMIT_FSIZE, &lowered);
    const CliRun full =
        runCli({"pca", data, "--components", "2", "--to", "csv", "-o", dir.file("a.csv"),
                "--loadings", dir.file("b.csv"), "--shapes", dir.file("c.csv")});
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, previous);
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.err, "tarvolin-cli: cannot write " + dir.file("c.csv") +
                            ": File too large (already written: " + dir.file("a.csv") + ", " +
                            dir.file("b.csv") + ")\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("c.csv")));
  }

  // A pipe without a name, as a shell gives one for >(...), is written into.
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  const CliRun piped = runCli({"superimpose", data, "-o", "/dev/fd/" + std::to_string(ends[1])});
  ::close(ends[1]);
  std::string received;
  char buffer[4096];
  for (ssize_t got; (got = ::read(ends[0], buffer, sizeof buffer)) > 0;) {
    received.append(buffer, static_cast<size_t>(got));
  }
  ::close(ends[0]);
  EXPECT_EQ(piped.status, 0) << piped.err;
  EXPECT_EQ(received, runCli({"superimpose", data}).out);
}

TEST(CliErrors, OneLineNamingFileAndLineWithStatusTwo) {
  TempDir dir;
  writeText(dir.file("bad.txt"), "1 2 3 4\n1 2 x 4\n");
  writeText(dir.file("short_list.txt"), "1\n2\n");
  std::string negativeList;
  for (int i = 1; i <= 40; ++i) negativeList += (i == 7 ? "-3" : std::to_string(i)) + "\n";
  writeText(dir.file("negative_list.txt"), negativeList);
  writeText(dir.file("huge.txt"),
            "0 0 0 1e200 0 0 0 2e200 0 0 0 1e200 5\n"
            "0 0 0 2e200 0 0 0 1e200 0 1e200 0 0 6\n");

  const struct {
    std::vector<std::string> words;
    std::string expected;
  } cases[] = {
      {{"info", dir.file("missing.txt")},
       "tarvolin-cli: " + dir.file("missing.txt") +
           ": cannot be opened: No such file or directory\n"},
      {{"superimpose", dir.file("bad.txt")},
       "tarvolin-cli: " + dir.file("bad.txt") + ":2: \"x\" is not a number\n"},
      {{"standardize", zor, "--x", dir.file("short_list.txt")},
       "tarvolin-cli: " + dir.file("short_list.txt") +
           ": has 2 values for 40 specimens; an x list needs one value per specimen\n"},
      {{"standardize", zor, "--x", dir.file("negative_list.txt"), "--transform", "ln"},
       "tarvolin-cli: " + dir.file("negative_list.txt") +
           ": specimen 7 has the x value -3, whose natural logarithm is not defined\n"},
      {{"standardize", zor, "--standard", "abc"},
       "tarvolin-cli: --standard: \"abc\" is not a number\n"},
      {{"standardize", zor, "--standard", "1e400"},
       "tarvolin-cli: --standard: \"1e400\" is too large for a number\n"},
      {{"superimpose", dir.file("huge.txt")},
       "tarvolin-cli: " + dir.file("huge.txt") +
           ":1: specimen 1 has coordinates so large that its size cannot be computed\n"},
      {{"standardize", zor, "--transform", "ln", "--standard", "1000"},
       "tarvolin-cli: the standard value 1000 lies outside ln x, 3.0030 to 4.0965: the result is "
       "an extrapolation\n"
       "tarvolin-cli: the result holds numbers too large to represent (is the standard value far "
       "outside the range of x?); nothing was written\n"},
  };
  for (const auto& c : cases) {
    const CliRun run = runCli(c.words);
    EXPECT_EQ(run.status, 2) << c.expected;
    EXPECT_EQ(run.err, c.expected);
    EXPECT_EQ(run.out, "");
  }
}

TEST(CliStandardize, AStandardValueOutsideXIsWarnedAboutAndUsed) {
  const CliRun outside = runCli({"standardize", zor, "--transform", "ln", "--standard", "5"});
  EXPECT_EQ(outside.status, 0);
  EXPECT_EQ(outside.err,
            "tarvolin-cli: the standard value 5 lies outside ln x, 3.0030 to 4.0965: the result "
            "is an extrapolation\n");
  EXPECT_NE(outside.out.find(" 148.413  \n"), std::string::npos);  // e^5
  for (const char* inside : {"3.0030", "4.0965", "3.5"}) {
    const CliRun run = runCli({"standardize", zor, "--transform", "ln", "--standard", inside});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "") << inside;
  }
}

// A file far larger than the memory the run may use: the message says how
// much was needed, in words, with status 1.
TEST(CliErrors, MemoryThatRunsOutIsSaidInWords) {
  TempDir dir;
  const std::string big = dir.file("big.txt");
  writeText(big, "1 2 3 4 5 6 7 8 9 10\n");
  ASSERT_EQ(::truncate(big.c_str(), 2000000000), 0);  // sparse: it takes no room on the disk
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // A ceiling on this process's memory some way above what it has now.
    std::ifstream statm("/proc/self/statm");
    rlim_t pages = 0;
    statm >> pages;
    const rlim_t limit = pages * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + (512u << 20);
    const rlimit lowered{limit, limit};
    if (::setrlimit(RLIMIT_AS, &lowered) != 0) _exit(10);
    const CliRun run = runCli({"info", big});
    if (run.status != 1) _exit(11);
    if (run.err != "tarvolin-cli: not enough memory to read " + big + " (2.0 GB)\n") _exit(12);
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(CliUsage, MistakesAreSaidInTheUsersWordsWithTheNearestOption) {
  const struct {
    std::vector<std::string> words;
    std::string expected;
  } cases[] = {
      {{"standardise", zor}, "unknown command \"standardise\"; did you mean standardize?"},
      {{"Info", zor}, "unknown command \"Info\"; did you mean info?"},
      {{"frobnicate", zor}, "unknown command \"frobnicate\""},
      {{"--verison"}, "unknown option --verison; did you mean --version?"},
      {{"standardize", zor, "--tranform", "ln"},
       "unknown option --tranform of standardize; did you mean --transform?"},
      {{"standardize", zor, "--tranform=ln"},
       "unknown option --tranform of standardize; did you mean --transform?"},
      // A negative value is a value, not an option.
      {{"standardize", zor, "--standard", "-1", "--keepsize"},
       "unknown option --keepsize of standardize; did you mean --keep-size?"},
      {{"info", zor, "--transform", "ln"}, "unknown option --transform of info"},
      {{"standardize", zor, "-x", "3"}, "unknown option -x of standardize; did you mean --x?"},
      {{"allometry", zor, "--interaction"}, "--interaction requires --groups"},
      // Values the parser cannot take, said without its jargon.
      {{"superimpose", zor, "--slide-rounds", "1.5"},
       "--slide-rounds: takes a whole number of at least 1, not \"1.5\""},
      {{"superimpose", zor, "--dim", "4"}, "--dim: takes a whole number from 2 to 3, not \"4\""},
      {{"superimpose", zor, "--tolerance", "tiny"}, "--tolerance takes a number, not \"tiny\""},
      {{"superimpose", zor, "-o", ""}, "--output: an empty name names no file"},
      {{"pca", zor, "--plot", ""}, "--plot: an empty name names no file"},
      {{"standardize", zor, "--x", ""}, "--x: an empty name names no file"},
  };
  for (const auto& c : cases) {
    const CliRun run = runCli(c.words);
    EXPECT_EQ(run.status, 2) << c.expected;
    EXPECT_EQ(run.err, "tarvolin-cli: " + c.expected + " (see --help)\n");
    EXPECT_EQ(run.out, "");
  }
}

TEST(CliUsage, HelpForEachCommandAndUsageErrors) {
  for (const char* command : {"info", "superimpose", "standardize"}) {
    const CliRun help = runCli({command, "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find(std::string("tarvolin-cli ") + command), std::string::npos) << help.out;
  }
  EXPECT_NE(runCli({"standardize", "--help"}).out.find("--keep-size"), std::string::npos);
  const CliRun version = runCli({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "tarvolin-cli " TARVOLIN_VERSION "\n");

  for (const std::vector<std::string>& words :
       std::vector<std::vector<std::string>>{{},
                                             {"info"},
                                             {"standardize", zor, "--transform", "log2"},
                                             {"superimpose", zor, "--bogus"}}) {
    const CliRun run = runCli(words);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.rfind("tarvolin-cli: ", 0), 0u);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  }
}

}  // namespace
}  // namespace tarvolin
