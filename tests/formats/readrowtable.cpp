#include "formats/readrowtable.h"

#include <cstring>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/str2num.h"
#include "readertesting.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::assert_near;
using testing::dataPath;

constexpr double NA = std::numeric_limits<double>::quiet_NaN();

// NaN equals nothing, itself included: a stand-in lets assert_near compare
// where the missing coordinates are.
Eigen::MatrixXd marked(const Eigen::MatrixXd& m) { return m.array().isNaN().select(-1e300, m); }

ReadOptions withDims(int dims, std::optional<double> missingCode = {}) {
  ReadOptions options;
  options.dims = dims;
  options.missingCode = missingCode;
  return options;
}

// A fixture's name (under formats/csv/) or, when it holds a line end, the text itself.
LandmarkSet readSource(const std::string& source, const ReadOptions& options) {
  if (source.find_first_of("\n\r") != std::string::npos) {
    return readrowtable(source, "mem.csv", options);
  }
  const std::string path = dataPath("formats/csv/" + source);
  return readrowtable(testing::readText(path), path, options);
}

TEST(ReadRowTable, ReadsEachLayout) {
  const struct {
    std::string source;
    ReadOptions options;
    int dims;
    std::vector<std::string> ids;
    std::vector<double> coords;  // row after row
    std::vector<double> size;    // the file's size column; empty when computed
  } cases[] = {
      {"header_and_size.csv", {}, 3, {"skull_a", "skull_b"}, {1, 2, 3.5, 1.5, 2, 3}, {2.5, 3}},
      {"no_header.csv", {}, 3, {"a", "b"}, {1, 2, 3, 4, 5, 6, -1, -2, -3, -4, -5, -60}, {}},
      {"no_header_with_size.csv", {}, 3, {"a", "b"}, {1, 2, 3, 4, 5, 6}, {7.5, 8}},
      {"tab_separated.tsv", {}, 3, {"A 1", "A 2"}, {1, 2, 3, 4, 5, 6}, {}},
      {"semicolon_decimal_comma.csv", {}, 2, {"m1", "m2"}, {1.5, 2, -3.25, 4, 0.5, 10, 2, 2}, {}},
      {"quoted_ids.csv", {}, 3, {"skull, left", "say \"hi\""}, {1, 2, 3, 4, 5, 6}, {}},
      {"header_2d.csv", withDims(3), 2, {"a"}, {1, 2, 3, 4}, {}},
      {"na_and_empty.csv", {}, 3, {"a", "b"}, {NA, NA, NA, 4, 5, 6, 1, 2, 3, NA, NA, NA}, {}},
      {"crlf_blank_lines.csv", {}, 3, {"a", "b"}, {1, 2, 3, 4, 5, 6}, {}},
      {"byte_order_mark.csv", {}, 3, {"a", "b"}, {1, 2, 3, 4, 5, 6}, {}},
      // One line end per file: CR lines with a final LF; stray CRs inside LF lines are blanks.
      {"a,1,2\rb,3,4\rc,5,6\n", withDims(2), 2, {"a", "b", "c"}, {1, 2, 3, 4, 5, 6}, {}},
      {"id,x1,y1\na,1\r,2\nb,3,4\r\n", {}, 2, {"a", "b"}, {1, 2, 3, 4}, {}},
      // Rows of numbers are data rows: no ID column, IDs by row, a size when the count says so.
      {"1;2;3;4;5;6;7\n8;9;10;11;12;13;14\n",
       {},
       3,
       {"1", "2"},
       {1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13},
       {7, 14}},
      {"1,5;2;3;4;9\n", withDims(2), 2, {"1"}, {1.5, 2, 3, 4}, {9}},
      {"NA;NA;3;4;5;6;7\n1;2;3;4;5;6;8\n",
       {},
       3,
       {"1", "2"},
       {NA, NA, NA, 4, 5, 6, 1, 2, 3, 4, 5, 6},
       {7, 8}},
      {"x1;y1;x2;y2\n1;2;3;4\n", {}, 2, {"1"}, {1, 2, 3, 4}, {}},
      {"7;1;2;3\nskull;4;5;6\n", {}, 3, {"7", "skull"}, {1, 2, 3, 4, 5, 6}, {}},
      // Quoted fields as R's write.csv writes them, row names and all.
      {"\"\",\"x1\",\"y1\"\n\"1\",1.5,2\n\"2\",3,4\n", {}, 2, {"1", "2"}, {1.5, 2, 3, 4}, {}},
      {"\"id\",\"x1\",\"y1\",\"cs\"\n\"sk \"\"a\"\"\",1,2,3\n\"b, c\",\"4\",5,6\n",
       {},
       2,
       {"sk \"a\"", "b, c"},
       {1, 2, 4, 5},
       {3, 6}},
      // R's write.table: quoted names apart by blanks, the row names (the
      // IDs) under no name; without row names, or with commas.
      {"\"x1\" \"y1\" \"x2\" \"y2\"\n\"a\" 0 0 3 4\n\"b\" 1 1 4 5\n",
       {},
       2,
       {"a", "b"},
       {0, 0, 3, 4, 1, 1, 4, 5},
       {}},
      {"\"x1\" \"y1\" \"x2\" \"y2\"\n0 0 3 4\n1.5 1 4 5\n",
       {},
       2,
       {"1", "2"},
       {0, 0, 3, 4, 1.5, 1, 4, 5},
       {}},
      {"\"x1\",\"y1\",\"cs\"\n\"a\",1,2,9\n", {}, 2, {"a"}, {1, 2}, {9}},
      {"\r\n  \"x1\"  \"y 1\" \r\n\"skull a\"   NA   2  \r\n\"b\" 3 4\r\n",
       withDims(2),
       2,
       {"skull a", "b"},
       {NA, NA, 3, 4},
       {}},
      // Columns placed by their names, in any order.
      {"id,y1,x1,y2,x2\na,2,1,4,3\n", {}, 2, {"a"}, {1, 2, 3, 4}, {}},
      {"id,x1,x2,y1,y2,z1,z2\na,1,4,2,5,3,6\n", {}, 3, {"a"}, {1, 2, 3, 4, 5, 6}, {}},
      {"id,x2,y2,x10,y10,x1,y1\na,3,4,5,6,1,2\n", {}, 2, {"a"}, {1, 2, 3, 4, 5, 6}, {}},
      {"id,nasion_y,nasion_x,bregma_x,bregma_y\na,2,1,3,4\n", {}, 2, {"a"}, {1, 2, 3, 4}, {}},
      {"a,1,2,3\nb,9999,5,6", withDims(0, 9999), 3, {"a", "b"}, {1, 2, 3, NA, NA, NA}, {}},
      {"id,x1,y1,CS\n a , \"1\" ,2, 5 \n", withDims(2), 2, {"a"}, {1, 2}, {5}},
      {"id,x1,y1,z1\nn, 1.25e2 ,-0,+.5\n", {}, 3, {"n"}, {125, 0, 0.5}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source);
    const LandmarkSet set = readSource(c.source, c.options);
    const auto n = static_cast<Eigen::Index>(c.ids.size());
    using RowMajor = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;
    const Eigen::MatrixXd coords = Eigen::Map<const RowMajor>(
        c.coords.data(), n, static_cast<Eigen::Index>(c.coords.size()) / n);
    EXPECT_EQ(set.dims, c.dims);
    EXPECT_EQ(set.ids, c.ids);
    EXPECT_TRUE(assert_near(marked(set.coords), marked(coords), 1e-12));
    EXPECT_EQ(set.hasMissing(), coords.array().isNaN().any());
    EXPECT_EQ(set.sizeGiven, !c.size.empty());
    EXPECT_EQ(set.size.size(), n);
    if (set.sizeGiven) {
      EXPECT_TRUE(assert_near(set.size, Eigen::Map<const Eigen::VectorXd>(c.size.data(), n), 0));
    }
  }
}

// A message asks for --dim only when it was not given.
TEST(ReadRowTable, AsksForTheDimensionOnlyWhenNotGiven) {
  const struct {
    int dims;
    bool asks;
  } cases[] = {{0, true}, {3, false}};
  for (const auto& c : cases) {
    try {
      readrowtable("a,1,2,3,4,5\n", "m.csv", withDims(c.dims));
      ADD_FAILURE() << "read without an error";
    } catch (const InputError& error) {
      EXPECT_EQ(std::string(error.what()).find("--dim") != std::string::npos, c.asks)
          << error.what();
    }
  }
}

TEST(ReadRowTable, RefusesBadTables) {
  const struct {
    std::string source;
    long line;
    std::string fragment;
  } cases[] = {
      {"too_few_fields.csv", 3, "specimen \"b\" has 3 fields, but the header has 4"},
      {"duplicate_ids.csv", 4, "specimen \"a\" is on line 2 and line 4"},
      {"id,x1,y1,x2,y2\n" + std::string(5000, 'a') + ",0,0,1,1\n" + std::string(5000, 'a') +
           ",0,0,1,1\n",
       3, "specimen \"" + std::string(60, 'a') + "...\" is on line 2 and line 3"},
      {"a,1,2,3\nb,1,2,3,4\n", 2, "has 5 fields, but the first row (line 1) has 4"},
      {"a,1,2,3,4,5\n", 1, "5 values after the ID, which do not make landmarks of 3"},
      {"id,x1,y1,z1,x2\na,1,2,3,4\n", 1,
       "the header names no y column for the landmark of column 5 \"x2\""},
      {"id,x1,y1,sex\na,1,2,m\n", 1, "column 4 \"sex\" is neither a coordinate"},
      {"id,lm1,lm2\na,1,2\n", 1, "column 2 \"lm1\" is neither a coordinate"},
      {"id,x1,y1,x1\na,1,2,3\n", 1, "the header names \"x1\" twice (columns 2 and 4)"},
      {"id,x1,y1,X_1\na,1,2,3\n", 1, "column 2 \"x1\" and column 4 \"X_1\" both name x"},
      {"specimen,landmark,x,y\na,1,1,2\n", 1, "one row per landmark: reshape to one row per"},
      {"id,x,y\na,1,2\na,3,4\n", 3, "one row per landmark: reshape to one row per specimen"},
      {"id,size\na,1\n", 1, "the header names no coordinate column"},
      {"a,1,2,3\n,4,5,6\n", 2, "the specimen ID (the first field) is empty"},
      {"a,1,2,3\nb,4,x,6\n", 2, "specimen \"b\": \"x\" (field 3) is not a number"},
      {"a,1e999,2,3\n", 1, "\"1e999\" (field 2) is too large for a number"},
      {"a,1,inf,3\n", 1, "\"inf\" (field 3) is not a finite number"},
      {"id,x1,y1,z1,size\na,1,2,3,NA\n", 2, "specimen \"a\": the size \"NA\" is not a finite"},
      {"a,1,2,3\n\"b,1,2,3\n", 2, "field 1 opens a quote that does not close on its line"},
      {"\"a\"x,1,2,3\n", 1, "field 1 has text after its closing quote"},
      {"\"x1\" \"y1\"\n\"a\" 1 2\n\"b\" 1 2 3\n", 3,
       "specimen \"b\" has 4 fields, but the row names and the header's 2 names make 3"},
      {"\"x1\" \"y1\"\n\"a\" 1 2\n\"b\"1 2\n", 3, "field 1 has text after its closing quote"},
      {"a\nb\n", 1, "no coordinate columns"},
      {"id,x1,y1,z1\n\n", 0, "holds no specimen rows"},
      {" \n\t\n", 0, "holds no rows"},
  };
  for (const auto& c : cases) {
    testing::expectRefused([&] { readSource(c.source, {}); }, "", c.line, c.fragment, c.source);
  }
}

// The reader's own number parsing for plain decimals must give parseNumber's
// double to the last bit, for every length of mantissa and exponent.
TEST(ReadRowTable, NumbersMatchParseNumber) {
  std::mt19937 engine(31);
  std::uniform_int_distribution<int> digit(0, 9), length(1, 21), exponent(-30, 30), coin(0, 3);
  std::string text;
  std::vector<std::string> numbers;
  for (int i = 0; i < 4000; ++i) {
    std::string number = coin(engine) == 0 ? "-" : "";
    const int whole = length(engine) % 8;
    for (int d = 0; d < whole; ++d) number += static_cast<char>('0' + digit(engine));
    number += ".";
    for (int d = length(engine); d > 0; --d) number += static_cast<char>('0' + digit(engine));
    if (coin(engine) == 0) number += "e" + std::to_string(exponent(engine));
    text += "s" + std::to_string(i) + "," + number + ",0\n";
    numbers.push_back(number);
  }
  const LandmarkSet set = readrowtable(text, "numbers.csv", withDims(2));
  for (size_t i = 0; i < numbers.size(); ++i) {
    double expected = 0;
    ASSERT_EQ(parseNumber(numbers[i], expected), numbers[i].size());
    const double read = set.coords(static_cast<Eigen::Index>(i), 0);
    EXPECT_EQ(std::memcmp(&read, &expected, sizeof read), 0) << numbers[i];
  }
}

// Random texts from the format's pieces: each is read into a consistent set
// or refused with an InputError naming the file, never anything else.
TEST(ReadRowTable, RandomTextIsReadOrRefused) {
  std::mt19937 engine(32);
  const std::vector<std::string> pieces = {"1",  "2.5",  "-3", "1e400", "NA", "x",  "\"a\"", "\"",
                                           ",",  ",",    ",",  ",",     ";",  "\t", " ",     "\n",
                                           "\n", "\r\n", "\r", "0,5",   "b",  "b"};
  std::uniform_int_distribution<size_t> length(0, 40), pick(0, pieces.size() - 1);
  int read = 0;
  for (int trial = 0; trial < 4000; ++trial) {
    const char* const starts[] = {"id,x1,y1\n", "a,1,2,3\n", "\"x1\" \"y1\"\n"};
    std::string text = starts[trial % 3];
    for (size_t n = length(engine); n > 0; --n) text += pieces[pick(engine)];
    try {
      const LandmarkSet set = readrowtable(text, "random.csv", {});
      ++read;
      ASSERT_TRUE(set.dims == 2 || set.dims == 3) << text;
      ASSERT_TRUE(testing::consistent(set)) << text;
    } catch (const InputError& error) {
      ASSERT_EQ(error.file(), "random.csv") << text;
    }
  }
  EXPECT_GT(read, 40);
}

}  // namespace
}  // namespace tarvolin
