#include "formats/readgroups.h"

#include <string>
#include <vector>

#include "core/errors.h"
#include "readertesting.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

// The argument of --groups for `text` written to `dir`: a list file when
// column is empty, else TABLE:COLUMN.
std::string groupsArgument(const std::string& text, const std::string& column,
                           const testing::TempDir& dir, std::string& file) {
  file = dir.file(column.empty() ? "groups.txt" : "groups.csv");
  testing::writeText(file, text);
  return column.empty() ? file : file + ":" + column;
}

const std::vector<std::string> kIds = {"a", "b", "c"};

TEST(ReadGroups, ListsByOrderAndTablesById) {
  const struct {
    const char* name;
    std::string text;
    std::string column;
    std::vector<std::string> ids;
    std::vector<std::string> names;
    std::vector<int> of;
  } cases[] = {
      {"list", "fox\nwolf\nfox\n", "", kIds, {"fox", "wolf"}, {0, 1, 0}},
      {"list with blanks, CRLF, a byte order mark and blank lines at the end",
       "\xEF\xBB\xBF  red fox \r\nwolf\r\n\tred fox\r\n\r\n  \n",
       "",
       kIds,
       {"red fox", "wolf"},
       {0, 1, 0}},
      {"list with CR line ends and no last line end", "x\ry\rx", "", kIds, {"x", "y"}, {0, 1, 0}},
      // Names in the order of the data set's specimens, not the table's rows.
      {"table", "id,sex\nc,f\na,m\nb,f\n", "sex", kIds, {"m", "f"}, {0, 1, 1}},
      {"table, tabs, column ignoring case",
       "id\tmass\tSpecies\nb\t3\tC. lupus\na\t2\t\"V. vulpes\"\nc\t4\tC. lupus\n",
       "species",
       kIds,
       {"V. vulpes", "C. lupus"},
       {0, 1, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing::TempDir dir;
    std::string file;
    const SpecimenGroups groups = readgroups(groupsArgument(c.text, c.column, dir, file), c.ids);
    EXPECT_EQ(groups.names, c.names);
    EXPECT_EQ(groups.of, c.of);
    EXPECT_EQ(groups.source, file);
  }
}

TEST(ReadGroups, RefusesListsAndTablesThatDoNotFit) {
  const struct {
    std::string text;
    std::string column;
    long line;
    const char* fragment;
  } cases[] = {
      {"fox\nwolf\n", "", 0, "the file holds 2 labels for 3 specimens"},
      {"fox\nwolf\nfox\nfox\n", "", 0, "the file holds 4 labels for 3 specimens"},
      {"fox\n\nwolf\nfox\n", "", 2, "the line is empty; each specimen needs a group label"},
      {"id,sex\na,m\nb,f\nc,f\n", "species", 1, "no column \"species\"; its columns are \"sex\""},
      {"id,sex\na,m\nc,f\n", "sex", 0, "1 specimen has no row in the table: \"b\""},
      {"id,sex\na,m\nb,f\nc,f\nd,m\n", "sex", 0,
       "1 row names a specimen not in the data set: \"d\" (line 5)"},
      {"id,sex\na,m\nb,f\nc,f\nb,m\n", "sex", 5, "specimen \"b\" is on line 3 and line 5"},
      {"id,sex\na,m\nb, \nc,f\n", "sex", 3, "specimen \"b\": the column \"sex\" is empty"},
  };
  for (const auto& c : cases) {
    testing::TempDir dir;
    std::string file;
    const std::string argument = groupsArgument(c.text, c.column, dir, file);
    testing::expectRefused([&] { readgroups(argument, kIds); }, file, c.line, c.fragment, c.text);
  }
  // Neither a file nor a table's column.
  testing::expectRefused([] { readgroups("no_such_groups.txt", kIds); }, "no_such_groups.txt", 0,
                         "cannot be read", "missing file");
  testing::expectRefused([] { readgroups("no_such_table.csv:sex", kIds); }, "no_such_table.csv", 0,
                         "cannot be read", "missing table");
}

}  // namespace
}  // namespace tarvolin
