#include "core/texthelpers.h"

#include <gtest/gtest.h>

#include <string>

namespace tarvolin {
namespace {

TEST(Texthelpers, TrimLowerCompareAndCount) {
  const struct {
    std::string what;
    std::string got;
    std::string expected;
  } cases[] = {
      {"blanks trimmed", std::string(trimmed("  a b \t")), "a b"},
      {"line ends kept by default", std::string(trimmed("\ra\n")), "\ra\n"},
      {"line ends trimmed when asked", std::string(trimmed("\r\n a\v\f\r\n", kBlanksAndLineEnds)),
       "a"},
      {"all blanks", std::string(trimmed(" \t ")), ""},
      {"empty", std::string(trimmed("")), ""},
      {"own blanks", std::string(trimmed("xxaxx", "x")), "a"},
      {"lowered ASCII", lowered("Size CS"), "size cs"},
      // Bytes of other texts are left alone in every locale.
      {"lowered leaves UTF-8 alone", lowered("\xC3\x84X"), "\xC3\x84x"},
      {"same ignoring case", sameIgnoringCase("Centroid SIZE", "centroid size") ? "yes" : "no",
       "yes"},
      {"not the same length", sameIgnoringCase("size", "sizes") ? "yes" : "no", "no"},
      {"not the same letters", sameIgnoringCase("cs", "cz") ? "yes" : "no", "no"},
      {"not a letter apart", sameIgnoringCase("[", "{") ? "yes" : "no", "no"},
      {"one", plural(1, "field"), "1 field"},
      {"none", plural(0, "field"), "0 fields"},
      {"many", plural(12, "specimen"), "12 specimens"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.expected) << c.what;
}

}  // namespace
}  // namespace tarvolin
