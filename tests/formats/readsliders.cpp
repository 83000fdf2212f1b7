#include "formats/readsliders.h"

#include "core/errors.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

// What the field's tools write is read, numbers from 0; each refusal names
// the file and the line.
TEST(ReadSliders, ReadsTheFieldsFilesAndRefusesWithTheLine) {
  const struct {
    std::string text;
    std::vector<CurveSlider> expected;
    std::string error;  // what() of the InputError, or empty
  } cases[] = {
      {"1 2 3\n2 3 4\n", {{0, 1, 2}, {1, 2, 3}}, ""},
      {"\xEF\xBB\xBF\"before\",\"slide\",\"after\"\r\n4,5,6\r\n\r\n# end\r\n7;8;9",
       {{3, 4, 5}, {6, 7, 8}},
       ""},
      {"# the orbit\n\n  10\t9\t8  \n", {{9, 8, 7}}, ""},
      {"", {}, ""},
      {"1 2 3\n2 3\n", {}, "c.txt:2: the row holds 2 fields, not 3 landmark numbers"},
      {"1 2 3\nbefore slide after\n",
       {},
       "c.txt:2: \"before\" is not a landmark number (a whole number from 1 to 10)"},
      {"1 2.5 3\n", {}, "c.txt:1: \"2.5\" is not a landmark number (a whole number from 1 to 10)"},
      {"1 2 11\n", {}, "c.txt:1: landmark 11 does not exist: the data have 10 landmarks"},
      {"0 2 3\n", {}, "c.txt:1: landmark 0 does not exist: the data have 10 landmarks"},
      {"3 2 3\n",
       {},
       "c.txt:1: landmark 2 slides between landmark 3 and itself: the points before and after must "
       "differ"},
      {"1 1 3\n",
       {},
       "c.txt:1: landmark 1 cannot slide towards itself: it must differ from the points before and "
       "after it"},
      {"1 3 3\n",
       {},
       "c.txt:1: landmark 3 cannot slide towards itself: it must differ from the points before and "
       "after it"},
      {"1 2 3\n\n4 2 5\n", {}, "c.txt:3: landmark 2 slides in two rows (line 1 too)"},
      // A comma or semicolon leaves no field empty; commas alone are a blank row.
      {"1,2,3\n,,\n", {{0, 1, 2}}, ""},
      {"1 2 3\n4,,5,6\n",
       {},
       "c.txt:2: \"4,,5,6\" has an empty field (field 2): each field must be a landmark number"},
      {"4,5,6,\n",
       {},
       "c.txt:1: \"4,5,6,\" has an empty field (field 4): each field must be a landmark number"},
      {" ; 4;5;6\n",
       {},
       "c.txt:1: \" ; 4;5;6\" has an empty field (field 1): each field must be a landmark number"},
      {"1 2 3 4\n", {}, "c.txt:1: the row holds 4 fields, not 3 landmark numbers"},
      {"1 2 " + std::string(100, 'x') + "\n",
       {},
       "c.txt:1: \"" + std::string(60, 'x') +
           "...\" is not a landmark number (a whole number from 1 to 10)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      const Sliders s = readsliders(c.text, "c.txt", 10);
      EXPECT_EQ(s.curve, c.expected);
      EXPECT_TRUE(s.surface.empty());
      EXPECT_EQ(c.error, "");
    } catch (const InputError& e) {
      EXPECT_EQ(e.what(), c.error);
      EXPECT_EQ(e.input(), Input::sliders);
    }
  }
}

TEST(ReadSliders, SurfacePointsOnePerLine) {
  const struct {
    std::string text;
    std::vector<int> expected;
    std::string error;
  } cases[] = {
      {"point\n5\n6\n\n# last\n10\n", {4, 5, 9}, ""},
      {"5 6\n", {}, "s.txt:1: the line holds 2 fields, not 1 landmark number"},
      {"5\n11\n", {}, "s.txt:2: landmark 11 does not exist: the data have 10 landmarks"},
      {"5\n6\n5\n", {}, "s.txt:3: landmark 5 is named twice (line 1 too)"},
      {"5,\n",
       {},
       "s.txt:1: \"5,\" has an empty field (field 2): each field must be a landmark number"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      EXPECT_EQ(readsurface(c.text, "s.txt", 10), c.expected);
      EXPECT_EQ(c.error, "");
    } catch (const InputError& e) {
      EXPECT_EQ(e.what(), c.error);
    }
  }
}

// A row of a million numbers is refused by its count without being split
// into as many pieces; the quoted text stays short.
TEST(ReadSliders, LongRowsAreCountedAndQuotedShort) {
  std::string row;
  for (int i = 0; i < 1000000; ++i) row += "1,";
  EXPECT_THROW_TEXT(readsliders(row + "1\n", "c.txt", 10), InputError,
                    "c.txt:1: the row holds 1000001 fields, not 3 landmark numbers");
  std::string lastSixty;
  for (int i = 0; i < 30; ++i) lastSixty += "1,";
  EXPECT_THROW_TEXT(
      readsliders(row + "\n", "c.txt", 10), InputError,
      "c.txt:1: \"..." + lastSixty +
          "\" has an empty field (field 1000001): each field must be a landmark number");
  EXPECT_EQ(sliderrowwidth(row + "1\n"), 1000001U);
}

}  // namespace
}  // namespace tarvolin
