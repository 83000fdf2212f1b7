// An ID given to two specimens: refused by every reader that reads IDs,
// naming both, unless the caller keeps it (the data check, which lists it).
#include <functional>
#include <string>
#include <vector>

#include "formats/readmorphologika.h"
#include "formats/readnts.h"
#include "formats/readrowtable.h"
#include "formats/readtps.h"
#include "readertesting.h"

namespace tarvolin {
namespace {

using Reader = std::function<LandmarkSet(std::string_view, const std::string&, const ReadOptions&)>;

TEST(RepeatedIds, RefusedUnlessKept) {
  const struct {
    const char* name;
    Reader read;
    std::string text;
    long line;
    const char* refusal;
  } cases[] = {
      {"tps", readtps, "LM=2\n1 2\n3 4\nID=a\nLM=2\n5 6\n7 9\nID=b\nLM=2\n1 3\n3 5\nID=a\n", 9,
       "record 3 has the ID \"a\" of record 1 (line 1)"},
      {"nts", readnts, "1 3L 4 0 DIM=2\na b a\n1 2 3 4\n5 6 7 9\n1 3 3 5\n", 2,
       "rows 1 and 3 have the same label \"a\""},
      {"morphologika", readmorphologika,
       "[individuals]\n3\n[landmarks]\n2\n[dimensions]\n2\n[names]\na\nb\na\n[rawpoints]\n1 2\n3 "
       "4\n5 6\n7 9\n1 3\n3 5\n",
       10, "[names]: specimens 1 and 3 are both \"a\""},
      {"csv", readrowtable, "id,x1,y1,x2,y2\na,1,2,3,4\nb,5,6,7,9\na,1,3,3,5\n", 4,
       "specimen \"a\" is on line 2 and line 4"},
  };
  for (const auto& c : cases) {
    testing::expectRefused([&] { c.read(c.text, c.name, {}); }, c.name, c.line, c.refusal, c.name);
    ReadOptions kept;
    kept.repeatedIds = true;
    const LandmarkSet set = c.read(c.text, c.name, kept);
    EXPECT_EQ(set.ids, (std::vector<std::string>{"a", "b", "a"})) << c.name;
    EXPECT_EQ(set.coords(2, 3), 5) << c.name;
  }
  // Rows of one landmark each are a layout to reshape, kept IDs or not.
  ReadOptions kept;
  kept.repeatedIds = true;
  testing::expectRefused([&] { readrowtable("id,x,y\na,1,2\na,3,4\n", "long.csv", kept); },
                         "long.csv", 3, "one row per landmark", "long table");
}

}  // namespace
}  // namespace tarvolin
