#include "core/quotedtext.h"

#include <string>

#include "core/printable.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using namespace std::string_literals;

TEST(Printable, EscapesWhatATerminalWouldObey) {
  const struct {
    std::string text;
    bool keepLayout;
    std::string expected;
  } cases[] = {
      {"plain text 1.5", false, "plain text 1.5"},
      {"colour\x1b[31mred", false, "colour\\e[31mred"},
      {"title\x1b]0;owned\x07", false, "title\\e]0;owned\\x07"},
      {"tab\there", false, "tab\\there"},
      {"two\nlines\r", false, "two\\nlines\\r"},
      {"two\nlines\tand a tab\r", true, "two\nlines\tand a tab\\r"},
      {"nul\0byte"s, false, "nul\\x00byte"},
      {"del\x7f", false, "del\\x7f"},
      {"stray \xff byte", false, "stray \\xff byte"},
      {"cut \xc3", false, "cut \\xc3"},
      {"overlong \xc0\xaf", false, "overlong \\xc0\\xaf"},
      {"surrogate \xed\xa0\x80", false, "surrogate \\xed\\xa0\\x80"},
      {"C1 csi \xc2\x9b", false, "C1 csi \\u009b"},
      {"Größe Ø 頭骨 🦴", false, "Größe Ø 頭骨 🦴"},
  };
  for (const auto& c : cases) EXPECT_EQ(printable(c.text, c.keepLayout), c.expected) << c.text;
}

TEST(Quoted, ShowsAtMostSixtyCharactersAroundThePlace) {
  const std::string sixty(60, 'a');
  const std::string long_ = std::string(100, 'a') + "XYZ" + std::string(100, 'b');
  const std::string letters = std::string(70, 'a') + std::string(10, 'b');
  const std::string wide = std::string(20, 'x') + "ä" + std::string(50, 'y');
  const struct {
    std::string text;
    size_t at;
    std::string expected;
  } cases[] = {
      {"abc", 0, "\"abc\""},
      {"", 0, "\"\""},
      {sixty, 0, "\"" + sixty + "\""},
      {sixty + "b", 0, "\"" + sixty + "...\""},
      {long_, 100, "\"..." + std::string(30, 'a') + "XYZ" + std::string(27, 'b') + "...\""},
      // Near either end the window moves inside the text.
      {letters, 5, "\"" + std::string(60, 'a') + "...\""},
      {letters, 79, "\"..." + std::string(50, 'a') + std::string(10, 'b') + "\""},
      {letters, 500, "\"..." + std::string(50, 'a') + std::string(10, 'b') + "\""},
      // Characters, not bytes: the ä is one of the 60 and is not cut.
      {wide, 0, "\"" + std::string(20, 'x') + "ä" + std::string(39, 'y') + "...\""},
      {"id\x1b[2J", 0, "\"id\\e[2J\""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(quotedtext(c.text, c.at), c.expected) << c.text << " @" << c.at;
  EXPECT_EQ(quotedtext(long_), "\"" + std::string(60, 'a') + "...\"");
}

TEST(Quoted, ABinaryLineGivesAShortSafeMessage) {
  std::string binary;
  for (int i = 0; i < 100000; ++i) binary += static_cast<char>(i % 256);
  const std::string shown = quotedtext(binary, 50000);
  EXPECT_LT(shown.size(), 60u * 4 + 10);
  for (const char c : shown) {
    const auto u = static_cast<unsigned char>(c);
    EXPECT_TRUE(u >= 0x20 && u < 0x7f) << static_cast<int>(u);
  }
}

}  // namespace
}  // namespace tarvolin
