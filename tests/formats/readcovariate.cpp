#include "formats/readcovariate.h"

#include <string>
#include <vector>

#include "core/errors.h"
#include "readertesting.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::assert_near;

// A fixture's name (under formats/csv/) or, when it holds a line end, the
// table's text, written to `dir`.
std::string tablePath(const std::string& source, const testing::TempDir& dir) {
  if (source.find('\n') == std::string::npos) return testing::dataPath("formats/csv/" + source);
  testing::writeText(dir.file("table.csv"), source);
  return dir.file("table.csv");
}

const std::vector<std::string> kSkulls = {"skull_a", "skull_b", "skull_c"};

TEST(ReadCovariate, MatchesRowsToSpecimens) {
  const struct {
    std::string source;
    std::string column;
    std::vector<std::string> ids;
    Eigen::VectorXd values;
  } cases[] = {
      {"covariates.csv", "age", kSkulls, testing::row({7, 12, 9}).transpose()},
      {"covariates.csv",
       " mass ",
       {"skull_c", "skull_a", "skull_b"},
       testing::row({1, 2.25, 3.5}).transpose()},
      {"covariate_decimal_comma.csv",
       "age",
       {"skull_b", "skull_a"},
       testing::row({12, 7.5}).transpose()},
      // An exact match wins over one ignoring letter case.
      {"id\tAGE\tage\nb\t1\t2\na\t3\t4\n", "age", {"a", "b"}, testing::row({4, 2}).transpose()},
      // R's row names, under no name of their own, apart by blanks or commas.
      {"\"mass\" \"age\"\n\"b\" 1 2\n\"a\" 3 4\n",
       "age",
       {"a", "b"},
       testing::row({4, 2}).transpose()},
      {"\"mass\",\"age\"\n\"b\",1,2\n\"a\",3,4\n",
       "mass",
       {"a", "b"},
       testing::row({3, 1}).transpose()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source);
    testing::TempDir dir;
    EXPECT_TRUE(assert_near(readcovariate(tablePath(c.source, dir), c.column, c.ids), c.values, 0));
  }
}

TEST(ReadCovariate, RefusesMismatchedTables) {
  std::vector<std::string> many;
  for (int i = 1; i <= 12; ++i) many.push_back("s" + std::to_string(i));
  const struct {
    std::string source;
    std::string column;
    std::vector<std::string> ids;
    long line;
    const char* fragment;
  } cases[] = {
      {"covariates.csv",
       "mass",
       {"skull_a", "skull_b", "skull_c", "skull_d"},
       0,
       "1 specimen has no row in the table: \"skull_d\""},
      {"covariates.csv",
       "mass",
       {"skull_a", "skull_b"},
       0,
       "1 row names a specimen not in the data set: \"skull_c\" (line 4)"},
      {"covariate_na.tsv",
       "age",
       {"skull_a", "skull_b"},
       3,
       "specimen \"skull_b\": \"NA\" in the column \"age\" is not a finite number"},
      {"covariates.csv", "weight", kSkulls, 1,
       "no column \"weight\"; its columns are \"Age\", \"mass\""},
      {"id,x\na,1\nb,\n", "x", {"a", "b"}, 3, "specimen \"b\": the column \"x\" is empty"},
      {"id,x\na,1\nb,2\na,3\n", "x", {"a", "b"}, 4, "specimen \"a\" is on line 2 and line 4"},
      {"id,x,y\na,1\n", "y", {"a"}, 2, "specimen \"a\": the row has 2 fields, but the column"},
      {"id,aGE,Age\n", "age", {}, 1, "(several match it ignoring letter case)"},
      {"id,mass,sex,mass\na,1,f,2\n",
       "sex",
       {"a"},
       1,
       "the header names \"mass\" twice (columns 2 and 4)"},
      {"id,x\n", "x", many, 0,
       "12 specimens have no row in the table: \"s1\", \"s2\", \"s3\", \"s4\", \"s5\", \"s6\", "
       "\"s7\", \"s8\", \"s9\", \"s10\" and 2 more"},
      {"no_such_table.csv", "x", {"a"}, 0, "cannot be read"},
      // Two rows read as one where a lone CR ends the first: the message says why.
      {"id,x,y\r\na,1,2\rb,3,4\r\n",
       "y",
       {"a", "b"},
       2,
       "; the file mixes line ends: line 2 holds a lone CR (the line end of old Macintosh files) "
       "where the other lines end in CRLF (Windows)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source);
    testing::TempDir dir;
    const std::string path = tablePath(c.source, dir);
    testing::expectRefused([&] { readcovariate(path, c.column, c.ids); }, path, c.line, c.fragment,
                           c.source);
  }
}

}  // namespace
}  // namespace tarvolin
