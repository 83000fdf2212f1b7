// The command line on the field's formats: every format of the example data
// set gives the same result, each writer reads back, x is matched by
// specimen ID, missing landmarks are refused, dropped or estimated, and 2D
// data is superimposed and standardized in the plane.

#include <sys/stat.h>

#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "app/tarvolincli.h"
#include "clitesting.h"
#include "geometry/centsize3Da.h"
#include "shapes/dload.h"
#include "shapes/readlandmarks.h"

namespace tarvolin {
namespace {

using testing::CliRun;
using testing::examplePath;
using testing::mentions;
using testing::runCli;
using testing::TempDir;
using testing::writeText;

Eigen::MatrixXd numbers(const std::string& text) { return parsenumericmatrix(text, "output"); }

CliRun ok(const std::vector<std::string>& words) {
  CliRun run = runCli(words);
  EXPECT_EQ(run.status, 0) << run.err;
  return run;
}

// Every copy of the example holds the same numbers, the sizes included
// (those with a size column hold the size computed from the coordinates,
// with every digit), so every command gives the same figures from each.
TEST(CliFormats, EveryCopyOfTheExampleGivesTheSameFiguresToTheLastDigit) {
  const std::vector<std::vector<std::string>> commands = {
      {"superimpose"},
      {"standardize", "--transform", "ln"},
      {"standardize", "--x", examplePath("skulls_covariates.csv") + ":mass", "--transform", "log10",
       "--to", "csv"},
  };
  const auto run = [](std::vector<std::string> command, const std::string& file) {
    command.insert(command.begin() + 1, examplePath(file));
    return ok(command).out;
  };
  for (const std::vector<std::string>& command : commands) {
    SCOPED_TRACE(command.front() + " " + command.back());
    const std::string fromCsv = run(command, "skulls.csv");
    for (const char* name :
         {"skulls.tps", "skulls.nts", "skulls_morphologika.txt", "skulls_slicer"}) {
      EXPECT_EQ(run(command, name), fromCsv) << name;
    }
    if (command.back() == "csv") continue;  // the copies without IDs
    EXPECT_EQ(run(command, "skulls_zor.txt"), fromCsv);
    EXPECT_EQ(run(command, "skulls_tps.txt"), fromCsv);
  }
  const std::vector<std::string> flat = {"standardize", "--transform", "ln", "--dim", "2"};
  EXPECT_EQ(run(flat, "skulls2d.txt"), run(flat, "skulls2d.tps"));
}

// convert writes what it read to the last digit, ZOR included; the results
// of superimpose and standardize keep the window's six digits.
TEST(CliFormats, ConvertKeepsEveryDigitAndResultsKeepSix) {
  TempDir dir;
  const std::string rows =
      "0.12345678901234566 -0 3 4 5.5 6 1e-300 8 9 1.0000000000000002  \n"
      "1 2 3 4.000000000000001 5 6 7 8 9.5 2.5  \n"
      "3 1 2 5 4 6 9 7 8 3.25  \n";
  writeText(dir.file("exact.txt"), rows);
  EXPECT_EQ(ok({"convert", dir.file("exact.txt")}).out, rows);
  EXPECT_EQ(ok({"convert", dir.file("exact.txt"), "--to", "zor"}).out, rows);
  const std::string superimposed = ok({"superimpose", dir.file("exact.txt")}).out;
  EXPECT_NE(superimposed.find(" 1  \n"), std::string::npos) << superimposed;
  EXPECT_EQ(superimposed.find("1.0000000000000002"), std::string::npos) << superimposed;
}

TEST(CliFormats, EachWriterReadsBackToTheSameSpecimens) {
  TempDir dir;
  const std::string csv = examplePath("skulls.csv");
  const std::string asCsv = ok({"convert", csv, "--to", "csv"}).out;
  for (const char* to : {"zor", "csv", "tps", "nts", "morphologika"}) {
    const std::string written = dir.file(std::string("skulls.") + to);
    ok({"convert", csv, "--to", to, "-o", written});
    const CliRun back = ok({"convert", written, "--to", "csv"});
    if (std::string(to) == "zor") {
      // ZOR rows carry no IDs (the specimens are numbered), but every digit.
      auto withoutIds = [](const std::string& text) {
        std::string kept;
        for (size_t start = 0; start < text.size();) {
          const size_t end = text.find('\n', start);
          kept += text.substr(text.find(',', start), end - text.find(',', start)) + "\n";
          start = end + 1;
        }
        return kept;
      };
      EXPECT_EQ(withoutIds(back.out), withoutIds(asCsv));
      continue;
    }
    // Everything but the size column, which formats without one compute.
    auto withoutSizes = [](const std::string& text) {
      std::string kept;
      for (size_t start = 0; start < text.size();) {
        const size_t end = text.find('\n', start);
        kept += text.substr(start, text.rfind(',', end) - start) + "\n";
        start = end + 1;
      }
      return kept;
    };
    EXPECT_EQ(withoutSizes(back.out), withoutSizes(asCsv)) << to;
  }
}

TEST(CliFormats, TwoDimensionsOnTheCommandLine) {
  const std::string rows = examplePath("skulls2d.txt");
  const std::string tps = examplePath("skulls2d.tps");
  EXPECT_NE(ok({"info", rows, "--dim", "2"}).out.find("with 14 landmarks"), std::string::npos);
  EXPECT_NE(ok({"info", tps}).out.find("2D landmarks; specimens skull_01 to skull_40"),
            std::string::npos);

  const Eigen::MatrixXd superimposed = numbers(ok({"superimpose", tps}).out);
  ASSERT_EQ(superimposed.cols(), 29);
  for (Eigen::Index i = 0; i < superimposed.rows(); ++i) {
    const Eigen::MatrixXd configuration =
        Eigen::Map<const Eigen::MatrixXd, 0, Eigen::InnerStride<>>(
            superimposed.row(i).data(), 2, 14, Eigen::InnerStride<>(superimposed.rows()))
            .transpose();
    EXPECT_NEAR(centsize3Da(configuration), 1.0, 1e-5) << "specimen " << i + 1;
  }
  const Eigen::MatrixXd fromRows =
      numbers(ok({"standardize", rows, "--dim", "2", "--transform", "ln"}).out);
  const Eigen::MatrixXd fromTps = numbers(ok({"standardize", tps, "--transform", "ln"}).out);
  EXPECT_TRUE(testing::assert_near(fromRows, fromTps, 1e-3));

  const CliRun wrong = runCli({"info", tps, "--dim", "3"});
  EXPECT_EQ(wrong.status, 2);
  EXPECT_NE(wrong.err.find("holds 2D landmarks, but --dim 3 was given"), std::string::npos)
      << wrong.err;
}

TEST(CliFormats, CovariatesMatchedBySpecimenId) {
  const std::string csv = examplePath("skulls.csv");
  const std::string byOrder =
      ok({"standardize", csv, "--x", examplePath("skulls_mass.txt"), "--transform", "ln"}).out;
  EXPECT_EQ(ok({"standardize", csv, "--x", examplePath("skulls_covariates.csv") + ":mass",
                "--transform", "ln"})
                .out,
            byOrder);

  TempDir dir;
  writeText(dir.file("short.csv"), "id,mass\nskull_02,4\nskull_01,5\n");
  writeText(dir.file("text.csv"), "id,mass\nskull_01,heavy\n");
  const struct {
    std::string x;
    std::string fragment;
  } refused[] = {
      {dir.file("short.csv") + ":mass", "skull_03"},
      {dir.file("short.csv") + ":weight", "mass"},
      {dir.file("text.csv") + ":mass", "heavy"},
  };
  for (const auto& c : refused) {
    const CliRun run = runCli({"standardize", csv, "--x", c.x});
    EXPECT_EQ(run.status, 2) << c.x;
    EXPECT_NE(run.err.find(c.fragment), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
  }
}

TEST(CliFormats, MissingLandmarksRefusedDroppedOrEstimated) {
  const std::string missing = examplePath("skulls_missing.csv");
  const CliRun refused = runCli({"superimpose", missing});
  EXPECT_EQ(refused.status, 2);
  for (const char* fragment : {"skull_03", "skull_17", "2 specimens"}) {
    EXPECT_NE(refused.err.find(fragment), std::string::npos) << refused.err;
  }

  const struct {
    std::string policy;
    Eigen::Index rows;
    Eigen::Index columns;
  } kept[] = {{"drop-specimens", 38, 43}, {"drop-landmarks", 40, 34}, {"estimate", 40, 43}};
  for (const auto& c : kept) {
    const CliRun run = ok({"superimpose", missing, "--missing", c.policy});
    const Eigen::MatrixXd out = numbers(run.out);
    EXPECT_EQ(out.rows(), c.rows) << c.policy;
    EXPECT_EQ(out.cols(), c.columns) << c.policy;
    EXPECT_FALSE(run.err.empty()) << c.policy << ": says what it did";
  }

  // Estimated landmarks lie near the ones that were measured; the present
  // ones are as read.
  const LandmarkSet truth = readlandmarks(examplePath("skulls.csv"), std::nullopt, {});
  TempDir dir;
  ok({"convert", missing, "--missing", "estimate", "--to", "csv", "-o", dir.file("filled.csv")});
  const LandmarkSet filled = readlandmarks(dir.file("filled.csv"), std::nullopt, {});
  const Eigen::MatrixXd difference = filled.coords - truth.coords;
  const Eigen::Index estimated = (difference.array() != 0).count();
  EXPECT_LE(estimated, 9);
  EXPECT_LT(difference.cwiseAbs().maxCoeff(), 0.1 * truth.size.minCoeff());

  const CliRun keptAsMissing = ok({"convert", missing, "--missing", "keep", "--to", "tps"});
  EXPECT_NE(keptAsMissing.out.find("NA NA NA"), std::string::npos);
}

TEST(CliFormats, StrangeFilesAreReadRightOrRefusedNamingTheFile) {
  TempDir dir;
  // A pipe is read once, whole, whatever its format.
  const std::string pipe = dir.file("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  std::thread writer([&] { writeText(pipe, testing::readText(examplePath("skulls.nts"))); });
  const CliRun fromPipe = ok({"info", pipe});
  writer.join();
  EXPECT_NE(fromPipe.out.find("has 40 specimens"), std::string::npos) << fromPipe.out;

  // Lines ended by a lone carriage return, as old Macintosh programs write.
  writeText(dir.file("mac.txt"), "0 0 0 1 0 0 0 2 0 5\r1 0 0 3 1 0 0 2 1 6\r0 0 1 1 0 2 2 2 0 7\r");
  writeText(dir.file("scaled.tps"),
            "LM3=2\n0 0 0\n10 10 10\nID=a\nSCALE=1e308\n"
            "LM3=2\n0 0 0\n2 1 1\nID=b\n");
  writeText(dir.file("same.txt"),
            "0 0 0 1 0 0 0 2 0 5\n1 0 0 3 1 0 0 2 1 5\n0 0 1 1 0 2 2 2 0 5\n");
  const CliRun mac = ok({"info", dir.file("mac.txt")});
  EXPECT_NE(mac.out.find("has 3 specimens \nwith 3 landmarks"), std::string::npos) << mac.out;

  const struct {
    std::vector<std::string> words;
    std::string expected;
  } refused[] = {
      {{"info", dir.file("scaled.tps")},
       dir.file("scaled.tps") + ": specimen \"a\" has coordinates so large (or a scale so large)"},
      {{"standardize", dir.file("same.txt")},
       dir.file("same.txt") + ": every specimen has the same x value"},
      {{"info", "/dev/zero"}, "/dev/zero: cannot be opened: is a device, not a file"},
      {{"info", "--tps", dir.file("scaled.tps")},
       dir.file("scaled.tps") + ": record 1 has a size too large to represent"},
  };
  for (const auto& c : refused) {
    const CliRun run = runCli(c.words);
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_EQ(run.err.rfind("tarvolin-cli: " + c.expected, 0), 0u) << run.err;
  }
}

}  // namespace
}  // namespace tarvolin
