#include "platform/str2num.h"

#include <string>
#include <vector>

#include "tests/decimalcomma.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::assert_near;

using testing::row;

TEST(Str2num, BlanksTabsCommasAndLineEndsSeparateNumbers) {
  EXPECT_TRUE(assert_near(str2num("1, 2\t3e2 \r\n"), row({1, 2, 300}), 0));
  EXPECT_TRUE(assert_near(str2num("  7 ,,\t 8  "), row({7, 8}), 0));
  EXPECT_TRUE(assert_near(str2num("4\r"), row({4}), 0));
}

TEST(Str2num, SignsFractionsAndExponents) {
  EXPECT_TRUE(
      assert_near(str2num("+3 -.5 1e3 -2.5E-2 .25"), row({3, -0.5, 1000, -0.025, 0.25}), 0));
}

TEST(Str2num, LineWithoutNumbersGivesEmptyRow) {
  EXPECT_EQ(str2num("").size(), 0);
  EXPECT_EQ(str2num(" \t\r\n").size(), 0);
}

TEST(Str2num, TextAnywhereGivesEmptyRow) {
  EXPECT_EQ(str2num("1 2 abc").size(), 0);
  EXPECT_EQ(str2num("1.5.3").size(), 0);
  EXPECT_EQ(str2num("12abc").size(), 0);
  EXPECT_EQ(str2num("inf").size(), 0);
}

TEST(Scannumbers, TextStopsWithNotANumberAndKeepsEarlierNumbers) {
  std::vector<double> out{9};
  NumberScan scan = scannumbers("1 2 abc 4", out);
  EXPECT_EQ(scan.stop, NumberScan::Stop::notANumber);
  EXPECT_FALSE(scan.ok());
  EXPECT_EQ(scan.offset, 4u);
  EXPECT_EQ(scan.token, "abc");
  EXPECT_EQ(out, (std::vector<double>{9, 1, 2}));

  for (const char* text : {"1.5.3", "12abc", "+-3", "--1", "e5"}) {
    std::vector<double> none;
    NumberScan bad = scannumbers(text, none);
    EXPECT_EQ(bad.stop, NumberScan::Stop::notANumber) << text;
    EXPECT_EQ(bad.token, text);
  }
}

TEST(Scannumbers, InfinityNanAndOverflowAreNotFinite) {
  for (const char* text : {"inf", "-inf", "nan", "Infinity", "1e999", "-1e999"}) {
    std::vector<double> out;
    const std::string line = std::string("3, ") + text + " 4";
    NumberScan scan = scannumbers(line, out);
    EXPECT_EQ(scan.stop, NumberScan::Stop::notFinite) << text;
    EXPECT_EQ(scan.offset, 3u) << text;
    EXPECT_EQ(scan.token, text);
  }
}

TEST(Scannumbers, CleanLineEndsOk) {
  std::vector<double> out;
  NumberScan scan = scannumbers("1,2\t3\r\n", out);
  EXPECT_TRUE(scan.ok());
  EXPECT_EQ(out, (std::vector<double>{1, 2, 3}));
  // A number too small for a double is zero, not an error.
  std::vector<double> tiny;
  EXPECT_TRUE(scannumbers("1e-999", tiny).ok());
  ASSERT_EQ(tiny.size(), 1u);
  EXPECT_EQ(tiny[0], 0.0);
}

TEST(Scannumbers, DecimalCommaLocaleReadsAsTheCLocale) {
  using Stop = NumberScan::Stop;
  const struct {
    const char* text;
    std::vector<double> numbers;
    Stop stop;
  } cases[] = {
      {"3.0030", {3.003}, Stop::end},   {"1.5e-3", {0.0015}, Stop::end},
      {"1.5e400", {}, Stop::notFinite}, {"-1.5e400", {}, Stop::notFinite},
      {"1e-400", {0}, Stop::end},       {"3,5", {3, 5}, Stop::end},
  };
  const testing::DecimalComma comma;
  for (const auto& c : cases) {
    std::vector<double> out;
    EXPECT_EQ(scannumbers(c.text, out).stop, c.stop) << c.text;
    EXPECT_EQ(out, c.numbers) << c.text;
  }
}

}  // namespace
}  // namespace tarvolin
