#include "core/withoutbom.h"

#include <string>

#include "core/errors.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using namespace std::string_literals;

const std::string kUtf16 =
    "a.txt: is UTF-16 text; save it as UTF-8 (in a spreadsheet: CSV UTF-8, in an editor: the "
    "UTF-8 encoding)";
const std::string kNotText =
    "a.txt: is not a text file: it holds zero (NUL) bytes at its start, which no text does (a "
    "copy or a save cut short can leave such a file)";

TEST(WithoutBom, PassesOverUtf8MarkAndRefusesUtf16) {
  const struct {
    std::string text;
    std::string expected;  // the text passed on, or the message of its refusal
  } cases[] = {
      {"\xEF\xBB\xBF"
       "1 2\n",
       "1 2\n"},
      {"1 2\n", "1 2\n"},
      {"id,x1\n", "id,x1\n"},
      {"\xFF\xFE"
       "1\0 \0"s,
       kUtf16},
      {"\xFE\xFF"
       "\0"
       "1"s,
       kUtf16},
      {"1\0 \0002\0"s, kUtf16},  // UTF-16 without its mark
      {"\0"
       "1\0 "s,
       kUtf16},
      // Zero bytes that are not UTF-16's every other byte: no text at all.
      {"\0\0\0\0\0\0"s, kNotText},
      {"\0"s, kNotText},
      {"1 \0\0"s, kNotText},
  };
  for (const auto& c : cases) {
    if (c.expected.starts_with("a.txt: ")) {
      EXPECT_THROW_TEXT(withoutbom(c.text, "a.txt"), InputError, c.expected);
    } else {
      EXPECT_EQ(withoutbom(c.text, "a.txt"), c.expected);
    }
  }
}

}  // namespace
}  // namespace tarvolin
