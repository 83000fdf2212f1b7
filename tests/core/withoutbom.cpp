#include "core/withoutbom.h"

#include <string>

#include "core/errors.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using namespace std::string_literals;

TEST(WithoutBom, PassesOverUtf8MarkAndRefusesUtf16) {
  const struct {
    std::string text;
    std::string expected;  // empty: refused as UTF-16
  } cases[] = {
      {"\xEF\xBB\xBF"
       "1 2\n",
       "1 2\n"},
      {"1 2\n", "1 2\n"},
      {"id,x1\n", "id,x1\n"},
      {"\xFF\xFE"
       "1\0 \0"s,
       ""},
      {"\xFE\xFF"
       "\0"
       "1"s,
       ""},
      {"1\0 \0002\0"s, ""},  // UTF-16 without its mark
  };
  for (const auto& c : cases) {
    if (c.expected.empty()) {
      EXPECT_THROW_MSG(withoutbom(c.text, "a.txt"), InputError,
                       "a.txt: is UTF-16 text; save it as UTF-8");
    } else {
      EXPECT_EQ(withoutbom(c.text, "a.txt"), c.expected);
    }
  }
}

}  // namespace
}  // namespace tarvolin
