// The command line on the field's formats: every format of the example data
// set gives the same result, each writer reads back, x is matched by
// specimen ID, missing landmarks are refused, dropped or estimated, and 2D
// data is superimposed and standardized in the plane.

#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "cli/tarvolincli.h"
#include "clitesting.h"
#include "formats/dload.h"
#include "formats/readlandmarks.h"
#include "numerics/centsize3Da.h"

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
            "LM3=2\n0 0 0\n2 1 1\nID=b\nSCALE=1\n");
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

// Files as R and spreadsheets write them, read by what they hold: each is
// read with the specimens and landmarks `info` reports and the warning on
// standard error, or refused with the message, naming the file.
TEST(CliFormats, FilesAsRAndSpreadsheetsWriteThem) {
  TempDir dir;
  const struct {
    std::string name;
    std::string text;
    std::vector<std::string> options;
    std::string summary;  // "has N specimens \nwith K landmarks"; empty: refused
    std::string err;      // on standard error (all of it when empty)
  } cases[] = {
      {"semicolons.csv",
       "1;0;0;0;1;0;0;0;1;1,5\n0;0;0;2;0;0;0;2;0;2,5\n1;1;1;0;1;0;0;0;1;3,5\n",
       {},
       "has 3 specimens \nwith 3 landmarks",
       ""},
      {"semicolons2d.csv",
       "1;0;0;1;1;1;7\n0;0;2;0;2;2;8\n1;1;0;2;3;0;9\n",
       {"--dim", "2"},
       "has 3 specimens \nwith 3 landmarks",
       ""},
      {"na.txt",
       "NA NA NA 1 0 0 0 1 0 5\n0 0 1 1 0 0 0 2 0 6\n1 0 1 1 1 0 0 2 1 7\n",
       {"--missing", "drop-specimens"},
       "has 2 specimens \nwith 3 landmarks",
       "tarvolin-cli: left out 1 specimen with missing landmarks (2 remain): \"1\""},
      {"rwrite.csv",
       "\"\",\"x1\",\"y1\",\"x2\",\"y2\",\"x3\",\"y3\"\n\"a, 1\",0,0,1,0,0,1\n"
       "\"b \"\"2\"\"\",0,0,2,0,0,2\n\"c\",1,1,2,0,0,1\n",
       {},
       "has 3 specimens \nwith 3 landmarks",
       ""},
      {"crlast.txt",
       "0 0 0 1 0 0 0 2 0 5\r1 0 0 3 1 0 0 2 1 6\r0 0 1 1 0 2 2 2 0 7\n",
       {},
       "has 3 specimens \nwith 3 landmarks",
       ""},
      {"blank.txt",
       "0 0 0 1 0 0 0 2 0 5\n1 0 0 3 1 0 0 2 1 6\n0 0 1 1 0 2 2 2 0 7\n\n1 1 1 1 1 1 1 1 1 1\n"
       "1 1 1 1 1 1 1 1 1 1\n",
       {},
       "has 3 specimens \nwith 3 landmarks",
       "blank.txt: line 4 is blank: the 2 lines after it were not read"},
      {"bom.txt",
       "\xEF\xBB\xBF"
       "0 0 0 1 0 0 0 2 0 5\n1 0 0 3 1 0 0 2 1 6\n0 0 1 1 0 2 2 2 0 7\n",
       {},
       "has 3 specimens \nwith 3 landmarks",
       ""},
      {"reordered.csv",
       "id,y1,x1,y2,x2,y3,x3\na,0,0,0,1,1,0\nb,0,0,0,2,2,0\nc,1,1,0,2,1,0\n",
       {},
       "has 3 specimens \nwith 3 landmarks",
       ""},
      {"words.txt",
       "skull_a 1 2 3\nskull_b 4 5 6\n",
       {},
       "",
       "is not a landmark file in any format Tarvolin reads; line 1 (\"skull_a 1 2 3\")"},
      {"long.csv",
       "specimen,landmark,x,y\na,1,0,0\na,2,1,0\n",
       {},
       "",
       "one row per landmark: reshape to one row per specimen"},
      {"sex.csv",
       "id,x1,y1,x2,y2,sex\na,0,0,1,0,f\n",
       {},
       "",
       "column 6 \"sex\" is neither a coordinate"},
      {"utf16.txt",
       std::string("\xFF\xFE"
                   "1\0 \0"
                   "2\0\n\0",
                   10),
       {},
       "",
       "is UTF-16 text; save it as UTF-8"},
      {"utf16tps.txt",
       std::string("\xFF\xFE"
                   "L\0M\0=\0"
                   "1\0\n\0",
                   12),
       {"--tps"},
       "",
       "is UTF-16 text; save it as UTF-8"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.file(c.name);
    writeText(path, c.text);
    std::vector<std::string> words = {"info", path};
    words.insert(words.end(), c.options.begin(), c.options.end());
    const CliRun run = runCli(words);
    if (c.summary.empty()) {
      EXPECT_EQ(run.status, 2) << run.err;
      EXPECT_EQ(run.err.rfind("tarvolin-cli: " + path, 0), 0u) << run.err;
      EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
      continue;
    }
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(c.summary), std::string::npos) << run.out;
    if (c.err.empty()) {
      EXPECT_EQ(run.err, "") << run.err;
    } else {
      EXPECT_NE(run.err.find(c.err + "\n"), std::string::npos) << run.err;
    }
  }

  // An x list ended early by a blank line says so too, beside the count it explains.
  writeText(dir.file("x.txt"), "1\n2\n\n3\n");
  const CliRun x = runCli({"standardize", dir.file("crlast.txt"), "--x", dir.file("x.txt")});
  EXPECT_EQ(x.status, 2);
  EXPECT_NE(x.err.find("tarvolin-cli: " + dir.file("x.txt") +
                       ": line 3 is blank: the line after it was not read\n"),
            std::string::npos)
      << x.err;
  EXPECT_NE(x.err.find("has 2 values for 3 specimens"), std::string::npos) << x.err;
}

// Files as R, spreadsheets and hostile hands write them: each is read right,
// with a note where something was done, or refused naming the file, and no
// control character from a file reaches the terminal.
TEST(CliFormats, PartlyScaledMixedSystemAndHostileFiles) {
  TempDir dir;
  writeText(dir.file("mixed.tps"),
            "LM3=3\n0 0 0\n3 4 0\n0 4 1\nID=a\nSCALE=0.1\nLM3=3\n0 0 0\n3 4 1\n0 5 0\nID=b\n");
  writeText(dir.file("scaled.tps"),
            "LM=2\n0 0\n3 4\nID=a\nSCALE=0.5\nLM=2\n0 0\n4 3\nID=b\nSCALE=2\n");
  writeText(dir.file("evil.tps"),
            "LM=2\n0 0\n3 4\nID=a\x1b]0;owned\x07\nLM=2\n0 0\n4 3\nID=a\x1b]0;owned\x07\n");
  writeText(dir.file("scaled3.tps"),
            "LM3=2\n0 0 0\n3 4 0\nID=a\nSCALE=0.5\nLM3=2\n0 0 0\n4 3 0\nID=b\nSCALE=2\n");
  writeText(dir.file("ctrl.txt"), "skull\x1b[31m \x07 x 1 2 3\n");
  writeText(dir.file("one.txt"), "0 0 0 1 0 0 0 1 1 2\n");
  writeText(dir.file("onelandmark.txt"), "1 2 3 5\n4 5 6 5\n");
  writeText(dir.file("zerosize.txt"), "0 0 0 1 0 0 0 1 0 1\n0 0 0 2 0 0 0 2 1 0\n");
  writeText(dir.file("empty.txt"),
            "[individuals]\n900000000\n[landmarks]\n3\n[dimensions]\n3\n[rawpoints]\n");
  std::filesystem::create_directory(dir.file("slicer"));
  writeText(dir.file("slicer/a.fcsv"), "# CoordinateSystem = RAS\n0,1,2,3\n1,4,5,6\n2,0,0,1\n");
  writeText(dir.file("slicer/b.fcsv"), "# CoordinateSystem = LPS\n0,-1,-2,3\n1,-4,-5,6\n2,0,0,1\n");
  std::filesystem::create_symlink(dir.file("nowhere.fcsv"), dir.file("slicer/c.fcsv"));
  const std::string seedMax = "18446744073709551615";
  const struct {
    std::vector<std::string> words;
    int status;
    std::string err;  // a line of standard error
    std::string out;  // in standard output
  } cases[] = {
      {{"info", dir.file("mixed.tps")},
       2,
       "tarvolin-cli: " + dir.file("mixed.tps") +
           ": record 2 (ID \"b\") has no SCALE= but the 1 other record has one: the sizes would "
           "be in two units (raw and scaled); give every record a SCALE=, or use the raw "
           "coordinates of every record (--scale ignore)",
       ""},
      {{"info", dir.file("mixed.tps"), "--scale", "ignore"},
       0,
       "tarvolin-cli: " + dir.file("mixed.tps") +
           ": SCALE= not applied: sizes are in the raw units of every record",
       "has 2 specimens"},
      {{"info", "--tps", dir.file("mixed.tps")}, 2, "record 2 has no SCALE= but", ""},
      {{"info", "--tps", dir.file("mixed.tps"), "--scale", "ignore"}, 0, "", "has 2 specimens"},
      {{"info", dir.file("mixed.tps"), "--scale", "sometimes"}, 2, "--scale: sometimes not in", ""},
      {{"convert", dir.file("scaled.tps"), "--to", "csv"},
       0,
       "tarvolin-cli: csv has no SCALE=: the coordinates are written times their scale factors, "
       "in the units of the size",
       "\na,0,0,1.5,2,1.76776695"},
      {{"convert", dir.file("scaled.tps"), "--to", "tps"}, 0, "", "3 4\nID=a\nSCALE=0.5\n"},
      // Scaled coordinates keep every digit in ZOR too, and the older TPS
      // reader's sets are scaled as the others are.
      {{"convert", dir.file("scaled.tps"), "--to", "zor"}, 0, "", "0 0 1.5 2 1.7677669529663"},
      {{"convert", "--tps", dir.file("scaled3.tps"), "--to", "csv"}, 0, "", "\n1,0,0,0,1.5,2,0,"},
      {{"info", dir.file("slicer")},
       0,
       "tarvolin-cli: " + dir.file("slicer") + ": converted 1 RAS file to LPS (x and y negated)",
       "has 2 specimens"},
      {{"info", dir.file("slicer")},
       0,
       "tarvolin-cli: " + dir.file("slicer/c.fcsv") + ": passed over, a link to nothing",
       ""},
      {{"info", dir.file("evil.tps")}, 2, "the ID \"a\\e]0;owned\\x07\" of record 1", ""},
      {{"info", dir.file("ctrl.txt")}, 2, "line 1 (\"skull\\e[31m \\x07 x 1 2 3\")", ""},
      {{"allometry", dir.file("one.txt")}, 2, "the model has 2 parameters for 1 specimen", ""},
      {{"info", dir.file("onelandmark.txt")}, 2, "a specimen needs at least 2 landmarks", ""},
      {{"info", dir.file("zerosize.txt")},
       2,
       "zerosize.txt:2: specimen 2 has the size 0 in its last column",
       ""},
      {{"info", dir.file("empty.txt")},
       2,
       "[rawpoints] is empty, but 900000000 specimens of 3 landmarks were declared",
       ""},
      {{"allometry", examplePath("skulls_zor.txt"), "--permutations", "9", "--seed", "-1"},
       2,
       "tarvolin-cli: --seed must be a whole number from 0 to 18446744073709551615, not \"-1\"",
       ""},
      {{"allometry", examplePath("skulls_zor.txt"), "--permutations", "9", "--seed",
        "18446744073709551616"},
       2,
       "--seed must be a whole number",
       ""},
      {{"allometry", examplePath("skulls_zor.txt"), "--permutations", "9", "--seed", seedMax},
       0,
       "",
       "seed " + seedMax},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.words[0] + " " + c.words[1] + (c.words.size() > 2 ? " " + c.words.back() : ""));
    const CliRun run = runCli(c.words);
    EXPECT_EQ(run.status, c.status) << run.err;
    if (!c.err.empty()) {
      EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    }
    if (!c.out.empty()) {
      EXPECT_NE(run.out.find(c.out), std::string::npos) << run.out;
    }
    EXPECT_EQ(run.err.find('\x1b'), std::string::npos);
    EXPECT_EQ(run.out.find('\x1b'), std::string::npos);
  }
}

}  // namespace
}  // namespace tarvolin
