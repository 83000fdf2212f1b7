#include <sys/wait.h>

#include <Eigen/Core>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "numerics/shapepca.h"
#include "numerics/shapespacedimensions.h"
#include "tests/cli/clitesting.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::examplePath;
using testing::readText;
using testing::runCli;
using testing::TempDir;

// A CSV table of the program's own writing: a header, then rows whose
// first field is a name (no quotes in these) and the rest numbers.
struct Table {
  std::vector<std::string> header;
  std::vector<std::string> names;
  Eigen::MatrixXd numbers;
};

Table readTable(const std::string& text) {
  Table table;
  std::istringstream lines(text);
  std::string line;
  std::vector<std::vector<double>> rows;
  while (std::getline(lines, line)) {
    std::vector<std::string> fields;
    std::istringstream cells(line);
    std::string cell;
    while (std::getline(cells, cell, ',')) fields.push_back(cell);
    if (table.header.empty()) {
      table.header = fields;
      continue;
    }
    table.names.push_back(fields.front());
    rows.emplace_back();
    for (size_t c = 1; c < fields.size(); ++c) rows.back().push_back(std::stod(fields[c]));
  }
  table.numbers.resize(static_cast<Eigen::Index>(rows.size()),
                       rows.empty() ? 0 : static_cast<Eigen::Index>(rows.front().size()));
  for (size_t r = 0; r < rows.size(); ++r) {
    for (size_t c = 0; c < rows[r].size(); ++c) {
      table.numbers(static_cast<Eigen::Index>(r), static_cast<Eigen::Index>(c)) = rows[r][c];
    }
  }
  return table;
}

Eigen::VectorXd vectorOf(const nlohmann::json& array) {
  Eigen::VectorXd v(static_cast<Eigen::Index>(array.size()));
  for (size_t i = 0; i < array.size(); ++i)
    v(static_cast<Eigen::Index>(i)) = array[i].get<double>();
  return v;
}

std::vector<std::string> with(std::vector<std::string> words,
                              const std::vector<std::string>& more) {
  words.insert(words.end(), more.begin(), more.end());
  return words;
}

TEST(CliPca, FiguresAreTheAnalysisOfTheCoordinatesWrittenAndAgreeWithEachOther) {
  TempDir dir;
  const std::string covariates = examplePath("skulls_covariates.csv") + ":group";
  struct Case {
    std::string file;
    std::vector<std::string> options;  // of pca, and of the command writing the same coordinates
    std::string writer;                // superimpose or standardize
    std::string of;
    int dims;
    Eigen::Index limit;                     // --components, 0: every one
    std::vector<std::string> pcaOnly = {};  // options of pca alone
  };
  const Case cases[] = {
      // 3D, fewer specimens than variables: the cross-product's route.
      {examplePath("skulls.csv"), {}, "superimpose", "superimposed", 3, 0},
      {examplePath("skulls.csv"), {"--transform", "ln"}, "standardize", "standardized", 3, 0},
      // 2D, more specimens than variables: the covariance's route.
      {examplePath("skulls2d.tps"), {}, "superimpose", "superimposed", 2, 0},
      {examplePath("skulls2d.tps"),
       {"--transform", "ln", "--groups", covariates, "--standard", "3.5"},
       "standardize",
       "standardized",
       2,
       0,
       {"--within-groups"}},
      {examplePath("skulls_zor.txt"), {"--gpa", "converged"}, "superimpose", "superimposed", 3, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file + " " + c.of);
    std::vector<std::string> pca = with(with({"pca", c.file, "--of", c.of}, c.options), c.pcaOnly);
    if (c.limit > 0) pca = with(pca, {"--components", std::to_string(c.limit)});
    const testing::CliRun json = runCli(with(pca, {"--json"}));
    ASSERT_EQ(json.status, 0) << json.err;
    const nlohmann::json report = nlohmann::json::parse(json.out);
    const testing::CliRun csv =
        runCli(with(pca, {"--to", "csv", "--loadings", dir.file("loadings.csv"), "--shapes",
                          dir.file("shapes.csv")}));
    ASSERT_EQ(csv.status, 0) << csv.err;
    const testing::CliRun text = runCli(pca);
    ASSERT_EQ(text.status, 0) << text.err;
    const testing::CliRun coordinates = runCli(with({c.writer, c.file, "--to", "csv"}, c.options));
    ASSERT_EQ(coordinates.status, 0) << coordinates.err;
    const Table data = readTable(coordinates.out);
    const Eigen::Index v = data.numbers.cols() - 1;  // the size column aside
    const Eigen::MatrixXd coords = data.numbers.leftCols(v);

    // The report's fields, in the order given.
    std::vector<std::string> keys;
    const nlohmann::ordered_json ordered = nlohmann::ordered_json::parse(json.out);
    for (const auto& [key, value] : ordered.items()) {
      keys.push_back(key);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"file", "of", "specimens", "variables",
                                              "total_variance", "components", "scores"}));
    EXPECT_EQ(report["of"], c.of);
    EXPECT_EQ(report["file"], std::filesystem::path(c.file).filename().string());
    EXPECT_EQ(report["specimens"], coords.rows());
    EXPECT_EQ(report["variables"], v);

    // The analysis of the coordinates the writer gives, every digit (its
    // figures against the definition are the numerics' tests).
    const ShapePca d =
        shapepca(data.numbers, v, c.limit, PcaRoute::automatic,
                 shapespacedimensions(c.dims, v / c.dims, nullptr, c.of == "standardized"));
    const Eigen::Index m = static_cast<Eigen::Index>(report["components"].size());
    ASSERT_EQ(m, d.components());
    EXPECT_EQ(report["total_variance"].get<double>(), d.totalVariance);
    Eigen::VectorXd eigenvalues(m), proportions(m), cumulative(m);
    for (Eigen::Index i = 0; i < m; ++i) {
      const nlohmann::json& component = report["components"][static_cast<size_t>(i)];
      EXPECT_EQ(component["pc"], i + 1);
      eigenvalues(i) = component["eigenvalue"];
      proportions(i) = component["proportion"];
      cumulative(i) = component["cumulative"];
    }
    EXPECT_EQ(eigenvalues, d.eigenvalues);
    EXPECT_EQ(proportions, d.proportions());
    EXPECT_EQ(cumulative, d.cumulative());
    // Every dimension of shape space reported: what the total holds beyond
    // them is the curvature of the space of unit-size shapes (and, after a
    // standardization, what is left along the slope), a small share.
    if (c.limit == 0) {
      EXPECT_LT(cumulative(m - 1), 1);
      EXPECT_GT(cumulative(m - 1), 0.99);
    }
    Eigen::MatrixXd scores(coords.rows(), m);
    ASSERT_EQ(report["scores"].size(), static_cast<size_t>(coords.rows()));
    for (Eigen::Index i = 0; i < coords.rows(); ++i) {
      const nlohmann::json& s = report["scores"][static_cast<size_t>(i)];
      EXPECT_EQ(s["id"], data.names[static_cast<size_t>(i)]);
      scores.row(i) = vectorOf(s["pc"]).transpose();
    }
    EXPECT_EQ(scores, d.scores());

    // The CSV holds the JSON's scores, digit for digit, and the IDs.
    const Table scoreTable = readTable(csv.out);
    EXPECT_EQ(scoreTable.header.front(), "id");
    EXPECT_EQ(scoreTable.header.back(), "PC" + std::to_string(m));
    EXPECT_EQ(scoreTable.names, data.names);
    EXPECT_EQ(scoreTable.numbers, scores);

    // The loadings are the unit eigenvectors, a row per coordinate.
    const Table loadings = readTable(readText(dir.file("loadings.csv")));
    ASSERT_EQ(loadings.numbers.rows(), v);
    EXPECT_EQ(loadings.names.front(), "x1");
    EXPECT_EQ(loadings.names.back(), (c.dims == 2 ? "y" : "z") + std::to_string(v / c.dims));
    EXPECT_EQ(loadings.numbers, d.vectors);

    // The shapes: the mean, and mean + score x vector at each end.
    const Table shapes = readTable(readText(dir.file("shapes.csv")));
    ASSERT_EQ(shapes.numbers.rows(), 2 * m + 1);
    EXPECT_EQ(shapes.names[0], "mean");
    EXPECT_EQ(shapes.names[1], "PC1_min");
    EXPECT_EQ(shapes.names[2 * static_cast<size_t>(m)], "PC" + std::to_string(m) + "_max");
    const Eigen::RowVectorXd mean = coords.colwise().mean();
    EXPECT_TRUE(testing::assert_near(shapes.numbers.row(0).head(v), mean, 1e-12));
    for (Eigen::Index k = 0; k < m; ++k) {
      const Eigen::RowVectorXd vector = loadings.numbers.col(k).transpose();
      EXPECT_TRUE(testing::assert_near(shapes.numbers.row(2 * k + 1).head(v),
                                       mean + scores.col(k).minCoeff() * vector, 1e-12));
      EXPECT_TRUE(testing::assert_near(shapes.numbers.row(2 * k + 2).head(v),
                                       mean + scores.col(k).maxCoeff() * vector, 1e-12));
    }

    // Any writer's format reads back to the same shapes, named as in CSV.
    ASSERT_EQ(runCli(with(pca, {"--shapes", dir.file("shapes.tps"), "--to", "tps"})).status, 0);
    const testing::CliRun back = runCli({"convert", dir.file("shapes.tps"), "--to", "csv"});
    ASSERT_EQ(back.status, 0) << back.err;
    const Table tps = readTable(back.out);
    EXPECT_EQ(tps.names, shapes.names);
    EXPECT_EQ(tps.numbers.leftCols(v), shapes.numbers.leftCols(v));
    EXPECT_TRUE(testing::assert_near(tps.numbers.col(v), shapes.numbers.col(v), 1e-12));

    // The text: what was analysed, a row per component, a row per specimen.
    EXPECT_NE(text.out.find(c.of == "superimposed" ? "of the superimposed coordinates: "
                                                   : "of the coordinates standardized to "),
              std::string::npos);
    EXPECT_NE(text.out.find("\nPC" + std::to_string(m) + " "), std::string::npos);
    EXPECT_EQ(text.out.find("\nPC" + std::to_string(m + 1) + " "), std::string::npos);
    EXPECT_NE(text.out.find("\n" + data.names.back() + " "), std::string::npos);
    EXPECT_EQ(text.out.find(" \n"), std::string::npos) << "a line ends in a blank";
  }
}

// The program itself, as a user runs it: --plot loads the picture module
// found beside it.
int runProgram(const std::string& program, const std::string& arguments, const TempDir& dir) {
  const std::string command =
      program + " " + arguments + " >" + dir.file("out") + " 2>" + dir.file("err");
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(CliPca, RefusesWhatItCannotDoNamingTheOptionOrFile) {
  TempDir dir;
  testing::writeText(dir.file("kept.csv"), "old\n");
  const std::string skull = "1 0 0 0 1 0 0 0 1 1 1 1 2\n";
  testing::writeText(dir.file("same.txt"), skull + skull + skull);
  testing::writeText(dir.file("one.txt"), skull);
  struct Case {
    std::vector<std::string> words;
    int status;
    std::string says;
    std::string data = examplePath("skulls.csv");
    // Run as the program, which finds its picture module, for --plot.
    bool program = false;
  };
  const std::string plot = dir.file("p.svg");
  const Case cases[] = {
      {{}, 2, "same.txt: the 3 specimens have one and the same shape", dir.file("same.txt")},
      {{}, 2, "one.txt: ", dir.file("one.txt")},
      {{"--components", "0"}, 2, "--components"},
      {{"--pcs", "1,99", "--plot", plot}, 2, "--pcs 1,99: there are only ", {}, true},
      {{"--components", "2", "--pcs", "1,3", "--plot", plot},
       2,
       "--pcs 1,3: there are only 2 components",
       {},
       true},
      {{"--pcs", "two,1", "--plot", plot}, 2, "--pcs must be two component numbers"},
      {{"--pcs", "0,1", "--plot", plot}, 2, "--pcs must be two component numbers"},
      {{"--components", "1", "--plot", plot},
       2,
       "--plot draws the scores on two components, and there is only 1; nothing was written",
       {},
       true},
      {{"--within-groups"}, 2, "--within-groups chooses the slope of --of standardized"},
      {{"--transform", "ln"}, 2, "--of standardized"},
      {{"--of", "raw"}, 2, "--of"},
      {{"--json", "--to", "csv"}, 2, "choose one"},
      {{"--to", "tps"}, 2, "--to tps is the format of --shapes"},
      {{"-o", dir.file("same.csv"), "--loadings", dir.file("same.csv")},
       2,
       "same.csv: named for two"},
      {{"--plot", dir.file("morphospace.gif")}, 1, "morphospace.gif: a picture is saved as"},
      {{"--loadings", dir.file("no/such/folder/loadings.csv")}, 1, "loadings.csv"},
      {{"--shapes", dir.file("kept.csv"), "--to", "fcsv"}, 2, "--to"},
  };
  for (const Case& c : cases) {
    testing::CliRun run;
    if (c.program) {
      std::string arguments = "pca " + (c.data.empty() ? examplePath("skulls.csv") : c.data);
      for (const std::string& word : c.words) arguments += " " + word;
      run.status = runProgram(TARVOLIN_CLI_PROGRAM, arguments, dir);
      run.err = readText(dir.file("err"));
    } else {
      run = runCli(with({"pca", c.data}, c.words));
    }
    EXPECT_EQ(run.status, c.status) << c.says << ": " << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_EQ(readText(dir.file("kept.csv")), "old\n") << c.says;
    EXPECT_FALSE(std::filesystem::exists(plot)) << c.says;
  }
}

TEST(CliPca, PlotWritesTheMorphospaceInEachFormat) {
  TempDir dir;
  std::string groups;
  for (int i = 1; i <= 40; ++i) groups += i <= 20 ? "smallskulls\n" : "bigskulls\n";
  testing::writeText(dir.file("groups.txt"), groups);
  struct Case {
    std::string picture;
    std::string begins;  // the format's own first bytes
  };
  const Case cases[] = {
      {"morphospace.svg", "<?xml"}, {"morphospace.png", "\x89PNG"}, {"MORPHOSPACE.PDF", "%PDF"}};
  for (const Case& c : cases) {
    const std::string picture = dir.file(c.picture);
    ASSERT_EQ(runProgram(TARVOLIN_CLI_PROGRAM,
                         "pca " + examplePath("skulls_zor.txt") + " --groups " +
                             dir.file("groups.txt") + " --pcs 2,1 --plot " + picture,
                         dir),
              0)
        << readText(dir.file("err"));
    const std::string bytes = readText(picture);
    EXPECT_EQ(bytes.substr(0, c.begins.size()), c.begins) << c.picture;
    if (c.picture.ends_with(".svg")) {
      EXPECT_NE(bytes.find("<svg"), std::string::npos);
      for (const char* name : {"smallskulls", "bigskulls", "PC2 (", "PC1 ("}) {
        EXPECT_NE(bytes.find(name), std::string::npos) << name;
      }
    }
  }
}

TEST(CliPca, PlotWithoutThePictureModuleSaysWhereItLooked) {
  TempDir dir;
  std::filesystem::create_directory(dir.file("bin"));
  std::filesystem::copy_file(TARVOLIN_CLI_PROGRAM, dir.file("bin/tarvolin-cli"));
  EXPECT_EQ(
      runProgram(dir.file("bin/tarvolin-cli"),
                 "pca " + examplePath("skulls_zor.txt") + " --plot " + dir.file("p.svg"), dir),
      1);
  const std::string err = readText(dir.file("err"));
  EXPECT_NE(err.find(dir.file("p.svg")), std::string::npos) << err;
  EXPECT_NE(err.find(dir.file("lib/tarvolin/tarvolin-picture.so")), std::string::npos) << err;
  EXPECT_FALSE(std::filesystem::exists(dir.file("p.svg")));
}

// A data set has no more components than its shape space has dimensions,
// counted by hand: 3k - 7 in 3D and 2k - 4 in 2D after the fit, one fewer
// for each curve semilandmark that slid and after a standardization.
TEST(CliPca, NoMoreComponentsThanShapeSpaceHas) {
  TempDir dir;
  // 12 specimens of 6 landmarks in 2D, each a little different, point 3
  // sliding between 2 and 4.
  std::string tps;
  for (int i = 0; i < 12; ++i) {
    tps += "LM=6\n";
    for (int j = 0; j < 6; ++j) {
      tps += std::to_string(10 * std::cos(j) + std::sin(3.1 * i + 1.7 * j)) + " " +
             std::to_string(10 * std::sin(j) + std::cos(2.3 * i + 0.9 * j)) + "\n";
    }
    tps += "ID=s" + std::to_string(i + 1) + "\n";
  }
  testing::writeText(dir.file("six.tps"), tps);
  testing::writeText(dir.file("sliders.txt"), "2 3 4\n");
  struct Case {
    std::vector<std::string> words;
    size_t components;
  };
  const Case cases[] = {
      {{examplePath("skulls.csv")}, 3 * 14 - 7},
      {{examplePath("skulls.csv"), "--of", "standardized"}, 3 * 14 - 7 - 1},
      {{dir.file("six.tps"), "--slide", "none"}, 2 * 6 - 4},
      {{dir.file("six.tps"), "--sliders", dir.file("sliders.txt")}, 2 * 6 - 4 - 1},
  };
  for (const Case& c : cases) {
    const testing::CliRun run = runCli(with(with({"pca"}, c.words), {"--to", "csv"}));
    ASSERT_EQ(run.status, 0) << c.words.front() << ": " << run.err;
    const Table table = readTable(run.out);
    EXPECT_EQ(table.header.size(), c.components + 1) << c.words.front() << " " << c.words.size();
  }
}

}  // namespace
}  // namespace tarvolin
