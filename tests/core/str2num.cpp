#include "core/str2num.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/plaindecimal.h"
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

// parseNumber's value to the last bit and its length, at the edges of the
// fast path and of the full conversion behind it; the expected values are
// the compiler's own correctly rounded literals.
TEST(ParseNumber, EdgeCasesGiveExactValueAndLength) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* text;
    size_t length;
    double value;
  } cases[] = {
      {"-12.345678", 10, -12.345678},
      {"+1.5", 4, 1.5},
      {"+-1", 0, 0},
      {"-+1", 0, 0},
      {".5", 2, 0.5},
      {"-.5e1", 5, -5},
      {"5.", 2, 5},
      {"5.e2", 4, 500},
      {".", 0, 0},
      {"-", 0, 0},
      {"e5", 0, 0},
      {"1e", 1, 1},
      {"1e+", 1, 1},
      {"2E-x", 1, 2},
      {"1e22", 4, 1e22},
      {"1e23", 4, 1e23},
      {"1e0005", 6, 1e5},
      {"1e400", 5, inf},
      {"-1e400", 6, -inf},
      {"1e-400", 6, 0},
      {"0e999", 5, 0},
      {"4.9e-324", 8, 4.9e-324},
      {"1.7976931348623157e308", 22, 1.7976931348623157e308},
      {"inf", 3, inf},
      {"-Infinity", 9, -inf},
      {"nan", 3, nan},
      {"0x1", 1, 0},
      {"007.50", 6, 7.5},
      {"00000000000000000000000001", 26, 1},
      {"12345678901234567890123", 23, 12345678901234567890123.0},
      {"9007199254740992", 16, 9007199254740992.0},
      {"9007199254740993", 16, 9007199254740993.0},
      {"0.1", 3, 0.1},
      {"-0", 2, -0.0},
      {"-0.0e-30", 8, -0.0},
      {"1.5.3", 3, 1.5},
      {"1,5", 1, 1},
      {" 1", 0, 0},
      {"", 0, 0},
  };
  for (const auto& c : cases) {
    double value = 0;
    EXPECT_EQ(parseNumber(c.text, value), c.length) << c.text;
    if (c.length == 0) continue;
    if (std::isnan(c.value)) {
      EXPECT_TRUE(std::isnan(value)) << c.text;
    } else {
      EXPECT_EQ(std::bit_cast<uint64_t>(value), std::bit_cast<uint64_t>(c.value)) << c.text;
    }
  }
}

// Wherever plaindecimal reads a number, std::from_chars reads the same
// characters to the same bits; with ',' for a point it reads the text with
// its points and commas swapped the same way. Texts of every length of
// whole part, fraction and exponent, followed by anything at all.
TEST(PlainDecimal, AgreesWithFromCharsBitForBit) {
  std::mt19937 engine(41);
  std::uniform_int_distribution<int> digit(0, 9), count(0, 12), coin(0, 3), byte(0, 255);
  const std::string_view signs = "+-";
  long accepted = 0;
  for (int trial = 0; trial < 300000; ++trial) {
    std::string text;
    if (coin(engine) == 0) text += signs[coin(engine) % 2];
    for (int d = count(engine); d > 0; --d) text += static_cast<char>('0' + digit(engine));
    if (coin(engine) != 0) text += '.';
    for (int d = count(engine); d > 0; --d) text += static_cast<char>('0' + digit(engine));
    if (coin(engine) == 0) {
      text += coin(engine) % 2 ? 'e' : 'E';
      if (coin(engine) == 0) text += signs[coin(engine) % 2];
      for (int d = count(engine) % 5; d > 0; --d) text += static_cast<char>('0' + digit(engine));
    }
    for (int d = count(engine) % 10; d > 0; --d) {
      text += coin(engine) == 0 ? static_cast<char>(byte(engine)) : ".eE+-0 9,"[digit(engine)];
    }
    double fast = 0;
    const size_t length = plaindecimal(text, '.', fast);
    std::string swapped = text;
    for (char& c : swapped) c = c == '.' ? ',' : c == ',' ? '.' : c;
    double fastComma = 0;
    ASSERT_EQ(plaindecimal(swapped, ',', fastComma), length) << text;
    if (length == 0) continue;
    ++accepted;
    const size_t plus = text[0] == '+' ? 1 : 0;
    double exact = 0;
    const auto [end, error] = std::from_chars(text.data() + plus, text.data() + text.size(), exact);
    ASSERT_EQ(error, std::errc()) << text;
    ASSERT_EQ(static_cast<size_t>(end - text.data()), length) << text;
    ASSERT_EQ(std::bit_cast<uint64_t>(fast), std::bit_cast<uint64_t>(exact)) << text;
    ASSERT_EQ(std::bit_cast<uint64_t>(fastComma), std::bit_cast<uint64_t>(exact)) << text;
  }
  EXPECT_GT(accepted, 100000);
}

}  // namespace
}  // namespace tarvolin
