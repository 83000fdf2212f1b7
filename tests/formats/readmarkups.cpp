// 3D Slicer markups: .fcsv and .mrk.json files, and folders of them.

#include <sys/stat.h>

#include <filesystem>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/errors.h"
#include "formats/readfcsv.h"
#include "formats/readmarkupfolder.h"
#include "formats/readmrkjson.h"
#include "readertesting.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::assert_near;
using testing::dataPath;

constexpr double NA = std::numeric_limits<double>::quiet_NaN();

std::string slicerPath(const std::string& name) { return dataPath("formats/slicer/" + name); }

// Reads a fixture (a .fcsv or .mrk.json file or, for any other name, a
// folder) or text (JSON when it holds a brace, else .fcsv), by its reader.
LandmarkSet readSource(const std::string& source, MarkupKind kind) {
  if (source.find('\n') != std::string::npos || source.starts_with("{")) {
    return source.find('{') == std::string::npos ? readfcsv(source, "scans/mem.fcsv", {})
                                                 : readmrkjson(source, "mem.mrk.json", {});
  }
  const std::string path = slicerPath(source);
  if (source.ends_with(".fcsv")) return readfcsv(testing::readText(path), path, {});
  if (source.ends_with(".mrk.json")) return readmrkjson(testing::readText(path), path, {});
  return readmarkupfolder(path, kind, {});
}

Eigen::MatrixXd marked(const Eigen::MatrixXd& m) { return m.array().isNaN().select(-1e300, m); }

TEST(ReadMarkups, ReadsFilesAndFolders) {
  const struct {
    std::string source;
    MarkupKind kind;
    std::vector<std::string> ids;
    std::vector<double> coords;  // row after row
  } cases[] = {
      {"columns_reordered.fcsv", {}, {"columns_reordered"}, {1, 2, 3, 4, 5, 6}},
      // RAS, declared or not, is brought into LPS: x and y negated.
      {"extra_trailing_fields.fcsv", {}, {"extra_trailing_fields"}, {12.5, -30.25, 4, NA, NA, NA}},
      {"no_columns_line.fcsv", {}, {"no_columns_line"}, {-1, -2, 3, -4, -5, 6}},
      {"0,1,2,3\n1,NaN,5,6\n", {}, {"mem"}, {-1, -2, 3, NA, NA, NA}},
      // Slicer on Windows: CRLF lines, the system and columns lines among them.
      {"# Markups fiducial file version = 4.11\r\n# CoordinateSystem = LPS\r\n"
       "# columns = id,x,y,z\r\nv0,1,2,3\r\nv1,4,5,6\r\n",
       {},
       {"mem"},
       {1, 2, 3, 4, 5, 6}},
      // LF lines with a stray CR inside, as the field's sample files have them.
      {"# Markups fiducial file version = 4.11\n# columns = id,x,y,z,desc\nv1,1,2\r,3,a\r\n"
       "v2,4,5,6,\r\n",
       {},
       {"mem"},
       {-1, -2, 3, -4, -5, 6}},
      {"missing_point.mrk.json",
       {},
       {"missing_point"},
       {1, 2, 3, NA, NA, NA, NA, NA, NA, -100, 0.5, 6}},
      {R"({"markups": [{"controlPoints": [{"position": null}, {"position": []}, {},
          {"position": [1, 2.5, -3]}]}]})",
       {},
       {"mem"},
       {NA, NA, NA, NA, NA, NA, NA, NA, NA, 1, 2.5, -3}},
      {"folder_mrkjson",
       MarkupKind::any,
       {"brain_01", "brain_02", "brain_10"},
       {1, 0, 0, 0, 1, 0, 2, 0, 0, 0, 2, 0, 10, 0, 0, 0, 10, 0}},
      {"folder_both_kinds", MarkupKind::fcsv, {"a"}, {-1, -2, 3}},
      {"folder_both_kinds", MarkupKind::mrkjson, {"b"}, {1, 0, 0, 0, 1, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source);
    const LandmarkSet set = readSource(c.source, c.kind);
    const auto n = static_cast<Eigen::Index>(c.ids.size());
    using RowMajor = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;
    const Eigen::MatrixXd coords = Eigen::Map<const RowMajor>(
        c.coords.data(), n, static_cast<Eigen::Index>(c.coords.size()) / n);
    EXPECT_EQ(set.dims, 3);
    EXPECT_EQ(set.ids, c.ids);
    EXPECT_TRUE(assert_near(marked(set.coords), marked(coords), 1e-12));
    EXPECT_EQ(set.hasMissing(), coords.array().isNaN().any());
    EXPECT_EQ(set.size.size(), n);
  }
  EXPECT_EQ(readSource("folder_mrkjson", MarkupKind::mrkjson).path, slicerPath("folder_mrkjson"));
  EXPECT_EQ(markupid("a/b.c/brain_01.MRK.JSON"), "brain_01");
}

TEST(ReadMarkups, RefusesBadFilesAndFolders) {
  const struct {
    std::string source;
    long line;
    const char* fragment;
  } cases[] = {
      {"# columns = id,x,y,z\n0,1,2,3\n0,1,2\n", 3,
       "point 2 has 3 fields, but its coordinates need 4"},
      {"# columns = id,label,x,y\n", 1, "the columns line names no z column"},
      {"# columns = id,x,y,z,x\n", 1, "the columns line names \"x\" twice"},
      {"0,1,a,3\n", 1, "point 1: y \"a\" is not a number"},
      {"0,1,2,\"3\n", 1, "field 4 opens a quote that does not close"},
      {"# Markups fiducial file version = 4.11\n", 0, "holds no landmark rows"},
      {"bad_position.mrk.json", 0,
       "control point 2 (\"bregma\"): coordinate 2 of the position is the text \"five\", not a "
       "number"},
      {R"({"markups": [{"controlPoints": [{"label": "n", "position": [1, 2]}]}]})", 0,
       "control point 1 (\"n\"): the position is a list of 2 items, not a list of three numbers"},
      {R"({"markups": [{"controlPoints": [{"position": {"x": 1}}]}]})", 0,
       "the position is an object of 1 member, not a list"},
      {R"({"markups": [{"controlPoints": [{"position": [1, true, 3]}]}]})", 0,
       "coordinate 2 of the position is true, not a number"},
      {R"({"markups": [{"controlPoints": [{"label": "a\u001b[2Jb", "position": 5}]}]})", 0,
       "control point 1 (\"a\\e[2Jb\"): the position is the number 5, not a list"},
      {R"({"markups": [{"controlPoints": [7]}]})", 0,
       "control point 1 is the number 7, not a JSON object"},
      {R"({"markups": [{"coordinateSystem": "IJK", "controlPoints": [{"position": [1,2,3]}]}]})", 0,
       "the coordinate system is the text \"IJK\"; Tarvolin reads markups in LPS or RAS"},
      {R"({"markups": [{"coordinateSystem": 0, "controlPoints": [{"position": [1,2,3]}]}]})", 0,
       "the coordinate system is the number 0;"},
      {"# CoordinateSystem = IJK\n0,1,2,3\n", 1,
       "the coordinate system is \"IJK\"; Tarvolin reads markups in LPS (or 1) or RAS (or 0)"},
      {"# CoordinateSystem = 2\n0,1,2,3\n", 1, "the coordinate system is \"2\""},
      {"{\"markups\": [{\"controlPoints\": \"" + std::string(5000, 'x'), 1,
       "last read: \"...xxxxxxxxxx"},
      {"{\"markups\": [\n{]}", 2, "is not valid JSON (byte 16): parse error at line 2"},
      {R"({"markups": []})", 0, "holds no markups"},
      {R"({"markups": [{"controlPoints": []}]})", 0, "holds no control points"},
      {"folder_both_kinds", 0,
       "holds both .fcsv files (such as a.fcsv) and .mrk.json files (such as b.mrk.json); "
       "choose one kind with --format fcsv or --format mrkjson"},
      {"folder_differing_counts", 0, "has 3 points, but a.fcsv has 2"},
      {"no_such_folder", 0, "the folder cannot be read"},
      {std::string("\xFF\xFE{\0\n\0", 6), 0, "is UTF-16 text; save it as UTF-8"},
      {std::string("\xFF\xFE"
                   "0\0,\0"
                   "1\0\n\0",
                   10),
       0, "is UTF-16 text; save it as UTF-8"},
  };
  for (const auto& c : cases) {
    testing::expectRefused([&] { readSource(c.source, MarkupKind::any); }, "", c.line, c.fragment,
                           c.source);
  }
  EXPECT_THROW_MSG(readSource("folder_mrkjson", MarkupKind::fcsv), InputError,
                   "holds no .fcsv files");
}

// A position, a point or a coordinate system nested deep is described by
// its kind and size, never written out; a file nested deeper than any
// markups file is refused as it is read.
TEST(ReadMarkups, DeeplyNestedValuesAreRefusedByKind) {
  const std::string deep = std::string(50, '[') + std::string(50, ']');
  const struct {
    std::string text;
    const char* fragment;
  } cases[] = {
      {R"({"markups": [{"controlPoints": [{"position": )" + deep + "}]}]}",
       "control point 1: the position is a list of 1 item, not a list of three numbers"},
      {R"({"markups": [{"controlPoints": [)" + deep + "]}]}",
       "control point 1 is a list of 1 item, not a JSON object"},
      {R"({"markups": [{"controlPoints": [{"position": [1, 2, )" + deep + "]}]}]}",
       "coordinate 3 of the position is a list of 1 item, not a number"},
      {R"({"markups": [{"coordinateSystem": )" + deep +
           R"(, "controlPoints": [{"position": [1, 2, 3]}]}]})",
       "the coordinate system is a list of 1 item"},
  };
  for (const auto& c : cases) {
    testing::expectRefused([&] { readmrkjson(c.text, "deep.mrk.json", {}); }, "deep.mrk.json", 0,
                           c.fragment, c.fragment);
    std::string deeper = c.text;
    deeper.replace(deeper.find(deep), deep.size(),
                   std::string(60000, '[') + std::string(60000, ']'));
    testing::expectRefused([&] { readmrkjson(deeper, "deep.mrk.json", {}); }, "deep.mrk.json", 0,
                           "nests lists and objects more than 64 deep", c.fragment);
  }
}

// Each file's coordinate system, declared or not, is brought into LPS; a
// folder that mixes RAS and LPS files gives the specimens of a folder of
// LPS files, never mirror images, and says once how many it converted.
TEST(ReadMarkups, CoordinateSystemsBecomeLps) {
  const std::string rows = "0,1,2,3\n1,4,5,6\n";
  const std::string json =
      R"("controlPoints": [{"position": [1, 2, 3]}, {"position": [4, 5, 6]}]}]})";
  const Eigen::RowVectorXd lps = testing::row({1, 2, 3, 4, 5, 6});
  const Eigen::RowVectorXd ras = testing::row({-1, -2, 3, -4, -5, 6});
  const struct {
    std::string text;
    Eigen::RowVectorXd expected;
    bool converted;
  } cases[] = {
      {"# CoordinateSystem = LPS\n" + rows, lps, false},
      {"# CoordinateSystem = lps\n" + rows, lps, false},
      {"# CoordinateSystem = 1\n" + rows, lps, false},
      {"# CoordinateSystem = RAS\n" + rows, ras, true},
      {"# CoordinateSystem = 0\n" + rows, ras, true},
      {rows, ras, true},
      {R"({"markups": [{"coordinateSystem": "LPS", )" + json, lps, false},
      {R"({"markups": [{"coordinateSystem": "RAS", )" + json, ras, true},
      {R"({"markups": [{)" + json, lps, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const bool isJson = c.text.starts_with("{");
    const LandmarkSet set =
        isJson ? readmrkjson(c.text, "s/a.mrk.json", {}) : readfcsv(c.text, "s/a.fcsv", {});
    EXPECT_TRUE(assert_near(set.coords, c.expected, 0));
    ASSERT_EQ(set.notes.size(), c.converted ? 1u : 0u);
    if (c.converted) {
      EXPECT_EQ(set.notes[0], std::string(isJson ? "s/a.mrk.json" : "s/a.fcsv") +
                                  ": converted 1 RAS file to LPS (x and y negated)");
    }
  }

  testing::TempDir dir;
  testing::writeText(dir.file("a.fcsv"), "# CoordinateSystem = RAS\n0,1,2,3\n1,4,5,6\n2,0,0,1\n");
  testing::writeText(dir.file("b.fcsv"),
                     "# CoordinateSystem = LPS\n0,-1,-2,3\n1,-4,-5,6\n2,0,0,1\n");
  testing::writeText(dir.file("c.fcsv"), "# CoordinateSystem = 0\n0,1,2,3\n1,4,5,6\n2,0,0,1\n");
  const LandmarkSet mixed = readmarkupfolder(dir.path().string(), MarkupKind::any, {});
  // The same specimen three times over, in LPS.
  const Eigen::RowVectorXd same = testing::row({-1, -2, 3, -4, -5, 6, 0, 0, 1});
  for (Eigen::Index i = 0; i < 3; ++i) EXPECT_TRUE(assert_near(mixed.coords.row(i), same, 0));
  EXPECT_EQ(mixed.notes,
            std::vector<std::string>{dir.path().string() +
                                     ": converted 2 RAS files to LPS (x and y negated)"});
}

// Entries named as markup files that are no files to read are passed over,
// each named with the reason; the files are read.
TEST(ReadMarkups, FolderNamesTheEntriesItPassesOver) {
  namespace fs = std::filesystem;
  testing::TempDir dir;
  const std::string point = R"({"markups": [{"controlPoints": [{"position": [1, 2, 3]},
      {"position": [4, 5, 7]}]}]})";
  testing::writeText(dir.file("a.mrk.json"), point);
  testing::writeText(dir.file("b.mrk.json"), point);
  testing::writeText(dir.file("._b.mrk.json"), "\x00\x05macOS");
  fs::create_symlink(dir.file("gone.mrk.json"), dir.file("broken.mrk.json"));
  fs::create_symlink(dir.file("loop.mrk.json"), dir.file("loop.mrk.json"));
  fs::create_directory(dir.file("folder.mrk.json"));
  fs::create_symlink("/dev/null", dir.file("device.mrk.json"));
  ASSERT_EQ(::mkfifo(dir.file("pipe.mrk.json").c_str(), 0600), 0);
  testing::writeText(dir.file("notes.txt"), "not a markup, not named as one");

  const LandmarkSet set = readmarkupfolder(dir.path().string(), MarkupKind::any, {});
  EXPECT_EQ(set.ids, (std::vector<std::string>{"a", "b"}));
  const struct {
    const char* name;
    const char* why;
  } passed[] = {
      {"._b.mrk.json", "a hidden file"},
      {"broken.mrk.json", "a link to nothing"},
      {"device.mrk.json", "a device"},
      {"folder.mrk.json", "a folder"},
      {"loop.mrk.json", "a link that leads round in a loop"},
      {"pipe.mrk.json", "a pipe"},
  };
  // With no file left to read, the refusal names what was passed over.
  std::filesystem::remove(dir.file("a.mrk.json"));
  std::filesystem::remove(dir.file("b.mrk.json"));
  EXPECT_THROW_MSG(readmarkupfolder(dir.path().string(), MarkupKind::any, {}), InputError,
                   "the folder holds no .fcsv or .mrk.json files\n" + dir.file("._b.mrk.json") +
                       ": passed over, a hidden file\n");
  ASSERT_EQ(set.notes.size(), std::size(passed));
  for (size_t i = 0; i < std::size(passed); ++i) {
    EXPECT_TRUE(
        set.notes[i].starts_with(dir.file(passed[i].name) + ": passed over, " + passed[i].why))
        << set.notes[i];
  }
}

// Random texts from the .fcsv format's pieces: each is read into a
// consistent set or refused with an InputError naming the file.
TEST(ReadMarkups, RandomFcsvIsReadOrRefused) {
  std::mt19937 engine(41);
  const std::vector<std::string> pieces = {"# columns = id,x,y,z\n",
                                           "# columns = x,y\n",
                                           "1",
                                           "2.5",
                                           "-3",
                                           "1e400",
                                           "NA",
                                           "x",
                                           "\"",
                                           ",",
                                           ",",
                                           ",",
                                           ",",
                                           " ",
                                           "\n",
                                           "\n",
                                           "\r\n",
                                           "#"};
  std::uniform_int_distribution<size_t> length(0, 40), pick(0, pieces.size() - 1);
  int read = 0;
  for (int trial = 0; trial < 4000; ++trial) {
    std::string text = "0,1,2,3\n";
    for (size_t n = length(engine); n > 0; --n) text += pieces[pick(engine)];
    try {
      const LandmarkSet set = readfcsv(text, "random.fcsv", {});
      ++read;
      ASSERT_EQ(set.ids, std::vector<std::string>{"random"}) << text;
      ASSERT_TRUE(testing::consistent(set)) << text;
    } catch (const InputError& error) {
      ASSERT_EQ(error.file(), "random.fcsv") << text;
    }
  }
  EXPECT_GT(read, 100);
}

}  // namespace
}  // namespace tarvolin
