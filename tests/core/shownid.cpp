#include "core/shownid.h"

#include <string>

#include "tests/testing.h"

namespace tarvolin {
namespace {

std::string times(int n, const std::string& piece) {
  std::string text;
  for (int i = 0; i < n; ++i) text += piece;
  return text;
}

// Printable, and at most 40 characters, the last three "..." when cut;
// letters of any script count one each, an escape as its characters.
TEST(Shownid, PrintableAndCutToFortyCharacters) {
  const struct {
    std::string id;
    std::string shown;
  } cases[] = {
      {"skull_12", "skull_12"},
      {std::string(40, 'a'), std::string(40, 'a')},
      {std::string(41, 'a'), std::string(37, 'a') + "..."},
      {std::string(200000, 'a'), std::string(37, 'a') + "..."},
      {times(40, "\xc3\xa9"), times(40, "\xc3\xa9")},
      {times(41, "\xc3\xa9"), times(37, "\xc3\xa9") + "..."},
      {"a\x07", "a\\x07"},
      {"\x1b]0;t\x07", "\\e]0;t\\x07"},
      {std::string(36, 'a') + "\x1b" + "bc", std::string(36, 'a') + "\\ebc"},
      {std::string(38, 'a') + "\x1b" + "bc", std::string(37, 'a') + "..."},
  };
  for (const auto& c : cases) EXPECT_EQ(shownid(c.id), c.shown) << c.id.substr(0, 50);
}

}  // namespace
}  // namespace tarvolin
