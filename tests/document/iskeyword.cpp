#include "document/iskeyword.h"

#include <string>
#include <vector>

#include "tests/testing.h"

namespace tarvolin {
namespace {

TEST(Iskeyword, ListsTheSeventeenKeywordsInOrder) {
  const std::vector<std::string> expected{
      "break",  "case", "catch",     "continue",   "else",   "elseif", "end", "for",  "function",
      "global", "if",   "otherwise", "persistent", "return", "switch", "try", "while"};
  EXPECT_EQ(iskeyword(), expected);
}

TEST(Iskeyword, EveryListedKeywordIsOne) {
  for (const std::string& word : iskeyword()) EXPECT_TRUE(iskeyword(Value(word))) << word;
}

TEST(Iskeyword, MatchIsExactAndCaseSensitive) {
  EXPECT_TRUE(iskeyword(Value("end")));
  for (const char* text : {"End", "END", "ends", " end", "end ", "", "elsif", "endfunction"}) {
    EXPECT_FALSE(iskeyword(Value(text))) << '"' << text << '"';
  }
}

TEST(Iskeyword, ValuesThatAreNotTextAreNoKeywords) {
  EXPECT_FALSE(iskeyword(Value(1.0)));
  EXPECT_FALSE(iskeyword(Value()));
  EXPECT_FALSE(iskeyword(Value(Value::List{Value("end")})));
  EXPECT_FALSE(iskeyword(Value(Value::Record{{"end", Value("end")}})));
}

}  // namespace
}  // namespace tarvolin
