#include "formats/readtableids.h"

#include <string>
#include <vector>

#include "readertesting.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

// A fixture's name (under formats/csv/) or, when it holds a line end, the
// table's text, written to `dir`.
std::string tablePath(const std::string& source, const testing::TempDir& dir) {
  if (source.find('\n') == std::string::npos && source.find('\r') == std::string::npos) {
    return testing::dataPath("formats/csv/" + source);
  }
  testing::writeText(dir.file("table.csv"), source);
  return dir.file("table.csv");
}

// The IDs come in the table's order, by the rules the covariate reader
// reads its rows with, a specimen's repeated rows included; the column's
// fields are kept, and for a covariate those that are not numbers (an empty
// field and NA among them) are listed.
TEST(ReadTableIds, ReadsEveryRowInOrderAndTheValuesThatAreNotNumbers) {
  const struct {
    std::string source;
    std::string column;
    bool numbers;
    std::vector<std::string> ids;
    std::vector<long> lines;
    std::vector<size_t> notNumbers;
  } cases[] = {
      {"covariates.csv", "mass", true, {"skull_b", "skull_a", "skull_c"}, {2, 3, 4}, {}},
      {"covariates.csv", "age", false, {"skull_b", "skull_a", "skull_c"}, {2, 3, 4}, {}},
      {"covariate_decimal_comma.csv", "age", true, {"skull_a", "skull_b"}, {2, 3}, {}},
      {"\xEF\xBB\xBFid\tgroup\r\nb\t\r\n\r\n\"a, left\"\tNA\r\n",
       "group",
       false,
       {"b", "a, left"},
       {2, 4},
       {}},
      {"id;x\rz;1,5\ry;\r", "x", true, {"z", "y"}, {2, 3}, {1}},
      {"id,mass\na,1.5\nb,n/a\nc,\nd,NA\na,2\n",
       "mass",
       true,
       {"a", "b", "c", "d", "a"},
       {2, 3, 4, 5, 6},
       {1, 2, 3}},
      {"id,mass\na,1.5\nb,n/a\n", "MASS", false, {"a", "b"}, {2, 3}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source);
    testing::TempDir dir;
    const TableIdRows read = readtableids(tablePath(c.source, dir), c.column, c.numbers);
    EXPECT_EQ(read.ids, c.ids);
    EXPECT_EQ(read.lines, c.lines);
    EXPECT_EQ(read.notNumbers, c.notNumbers);
    EXPECT_EQ(read.values.size(), c.ids.size());
  }
}

TEST(ReadTableIds, RefusesTablesItCannotRead) {
  const struct {
    std::string source;
    std::string column;
    long line;
    const char* fragment;
  } cases[] = {
      {"no_such_table.csv", "x", 0, "cannot be read"},
      {"\n\n", "x", 0, "the table is empty; it needs a header row"},
      {"id,x\n", "x", 0, "the table has no rows below its header"},
      {"covariates.csv", "weight", 1, "no column \"weight\"; its columns are \"Age\", \"mass\""},
      {"id,x\na,1\n,2\n", "x", 3, "the specimen ID (the first field) is empty"},
      {"id,x,y\na,1\n", "y", 2, "specimen \"a\": the row has 2 fields, but the column \"y\""},
      {"id,x,x\na,1,2\n", "x", 1, "the header names \"x\" twice"},
  };
  for (const auto& c : cases) {
    testing::TempDir dir;
    const std::string path = tablePath(c.source, dir);
    testing::expectRefused([&] { readtableids(path, c.column); }, path, c.line, c.fragment,
                           c.source);
  }
}

}  // namespace
}  // namespace tarvolin
