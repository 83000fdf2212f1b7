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
// reads its rows with; the column's fields are not looked at.
TEST(ReadTableIds, ReadsTheFirstFieldOfEveryRowInOrder) {
  const struct {
    std::string source;
    std::string column;
    std::vector<std::string> ids;
  } cases[] = {
      {"covariates.csv", "mass", {"skull_b", "skull_a", "skull_c"}},
      {"covariates.csv", "age", {"skull_b", "skull_a", "skull_c"}},
      {"covariate_decimal_comma.csv", "age", {"skull_a", "skull_b"}},
      {"\xEF\xBB\xBFid\tgroup\r\nb\t\r\n\r\n\"a, left\"\tNA\r\n", "group", {"b", "a, left"}},
      {"id;x\rz;1,5\ry;\r", "x", {"z", "y"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source);
    testing::TempDir dir;
    EXPECT_EQ(readtableids(tablePath(c.source, dir), c.column), c.ids);
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
      {"id,x\na,1\nb,2\na,3\n", "x", 4, "specimen \"a\" is on line 2 and line 4"},
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
