// 3D Slicer markups: .fcsv and .mrk.json files, and folders of them.

#include <limits>
#include <random>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "readertesting.h"
#include "shapes/readfcsv.h"
#include "shapes/readmarkupfolder.h"
#include "shapes/readmrkjson.h"
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
      {"extra_trailing_fields.fcsv", {}, {"extra_trailing_fields"}, {-12.5, 30.25, 4, NA, NA, NA}},
      {"no_columns_line.fcsv", {}, {"no_columns_line"}, {1, 2, 3, 4, 5, 6}},
      {"0,1,2,3\n1,NaN,5,6\n", {}, {"mem"}, {1, 2, 3, NA, NA, NA}},
      // LF lines with a stray CR inside, as the field's sample files have them.
      {"# Markups fiducial file version = 4.11\n# columns = id,x,y,z,desc\nv1,1,2\r,3,a\r\n"
       "v2,4,5,6,\r\n",
       {},
       {"mem"},
       {1, 2, 3, 4, 5, 6}},
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
      {"folder_both_kinds", MarkupKind::fcsv, {"a"}, {1, 2, 3}},
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
       "control point 2 (\"bregma\"): coordinate 2 of the position, \"five\", is not a number"},
      {R"({"markups": [{"controlPoints": [{"label": "n", "position": [1, 2]}]}]})", 0,
       "control point 1 (\"n\"): the position [1,2] is not a list of three numbers"},
      {"{\"markups\": [\n{]}", 2, "is not valid JSON (byte 16): parse error at line 2"},
      {R"({"markups": []})", 0, "holds no markups"},
      {R"({"markups": [{"controlPoints": []}]})", 0, "holds no control points"},
      {"folder_both_kinds", 0,
       "holds both .fcsv files (such as a.fcsv) and .mrk.json files (such as b.mrk.json); "
       "choose one kind with --format fcsv or --format mrkjson"},
      {"folder_differing_counts", 0, "has 3 points, but a.fcsv has 2"},
      {"no_such_folder", 0, "the folder cannot be read"},
  };
  for (const auto& c : cases) {
    testing::expectRefused([&] { readSource(c.source, MarkupKind::any); }, "", c.line, c.fragment,
                           c.source);
  }
  EXPECT_THROW_MSG(readSource("folder_mrkjson", MarkupKind::fcsv), InputError,
                   "holds no .fcsv files");
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
