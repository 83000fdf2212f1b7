#include "document/isvarname.h"

#include <string>

#include "tests/testing.h"

namespace tarvolin {
namespace {

TEST(Isvarname, AtMostThirtyOneCharacters) {
  EXPECT_TRUE(isvarname(Value(std::string(31, 'a'))));
  EXPECT_FALSE(isvarname(Value(std::string(32, 'a'))));
  EXPECT_TRUE(isvarname(Value("x" + std::string(30, '9'))));
  EXPECT_FALSE(isvarname(Value("x" + std::string(31, '_'))));
}

TEST(Isvarname, LetterFirstThenLettersDigitsOrUnderscores) {
  for (const char* name : {"a_1", "a", "Z", "LoadButton", "x2_Y3_", "endx", "End", "FOR"}) {
    EXPECT_TRUE(isvarname(Value(name))) << name;
  }
  for (const char* name :
       {"1abc", "_a", "a b", "", " a", "a-b", "a.b", "a$", "\xc3\xa9t\xc3\xa9"}) {
    EXPECT_FALSE(isvarname(Value(name))) << '"' << name << '"';
  }
}

TEST(Isvarname, KeywordsAreNoNames) {
  for (const char* word : {"end", "for", "while", "function", "otherwise"}) {
    EXPECT_FALSE(isvarname(Value(word))) << word;
  }
}

TEST(Isvarname, OnlyOneRowOfText) {
  EXPECT_FALSE(isvarname(Value("ab\ncd")));
  EXPECT_FALSE(isvarname(Value("ab\r\n")));
  EXPECT_FALSE(isvarname(Value(1.0)));
  EXPECT_FALSE(isvarname(Value()));
  EXPECT_FALSE(isvarname(Value(Eigen::MatrixXd{{97, 98}})));
  EXPECT_FALSE(isvarname(Value(Value::List{Value("abc")})));
  EXPECT_FALSE(isvarname(Value(Value::Record{{"abc", Value("abc")}})));
}

}  // namespace
}  // namespace tarvolin
