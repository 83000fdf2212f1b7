#include "core/sprintf.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/clocalescope.h"
#include "tests/decimalcomma.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

// What C's snprintf writes for one value.
std::string cFormat(const char* format, double value) {
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

// Signs, zeros, tiny and huge magnitudes, and values at the rounding
// boundaries of six significant digits and of four decimals.
std::vector<double> awkwardValues() {
  const char* text =
      "0 -0 1 -1 0.5 -2.75 1e-5 -1e-5 0.0001 0.00009999995 0.000099999949 123456 1234567 "
      "-1234567 999999.5 999999.4 9999995 0.123456789 2.5 0.00005 0.00004999 0.00015 1.23445 "
      "1.23455 1.00000049999 12345.67891 1e15 1e300 -1e300 4.9e-324 2.2250738585072014e-308 "
      "1.7976931348623157e308 inf -inf nan";
  std::vector<double> values;
  for (char* end = nullptr;; text = end) {
    const double v = std::strtod(text, &end);
    if (end == text) return values;
    values.push_back(v);
  }
}

TEST(Sprintf, GeneralFormatMatchesSnprintf) {
  for (double v : awkwardValues()) {
    EXPECT_EQ(sprintf("%g ", v), cFormat("%g ", v)) << "value " << cFormat("%.17g", v);
  }
}

TEST(Sprintf, FixedFormatMatchesSnprintf) {
  for (double v : awkwardValues()) {
    EXPECT_EQ(sprintf("%4.4f", v), cFormat("%4.4f", v)) << "value " << cFormat("%.17g", v);
  }
}

TEST(Sprintf, AppendGMatchesSnprintf) {
  std::vector<double> values = awkwardValues();
  // A sweep over magnitudes and digits, with values just below and above each
  // rounding boundary of the sixth significant digit.
  for (int e = -12; e <= 12; ++e) {
    for (double mantissa : {1.0, 1.234565, 9.999995, 5.0000049, 7.77777777}) {
      const double v = mantissa * std::pow(10.0, e);
      values.push_back(v);
      values.push_back(-v);
      values.push_back(std::nextafter(v, 0.0));
      values.push_back(std::nextafter(v, 1e308));
    }
  }
  for (double v : values) {
    std::string out = "x";
    appendG(out, v);
    EXPECT_EQ(out, "x" + cFormat("%g", v)) << "value " << cFormat("%.17g", v);
  }
}

// appendG writes the numbers of every data file, through its own integer
// formatter where it can: over ten million values it must write what printf
// writes, byte for byte. The values: every decade's boundaries and their
// neighbours, ties of the sixth digit that are exact in binary, the
// neighbours of the sixth digit's rounding boundaries, and random doubles of
// every magnitude the formatter takes and some it leaves to the library.
TEST(Sprintf, AppendGWritesWhatPrintfWritesForTenMillionValues) {
  std::vector<double> values;
  for (int e = -20; e <= 20; ++e) {
    const double decade = std::pow(10.0, e);
    for (double v : {decade, 9.999995 * decade, 9.9999949 * decade, 1.0000005 * decade}) {
      double below = v, above = v;
      for (int step = 0; step < 8; ++step) {
        values.insert(values.end(), {below, above, -below});
        below = std::nextafter(below, 0.0);
        above = std::nextafter(above, 1e308);
      }
    }
  }
  for (int whole = 100000; whole < 1000000; whole += 7) {
    for (double v : {whole + 0.5, whole + 0.25, (whole + 0.5) / 1024, (whole + 0.5) * 0.125}) {
      values.push_back(v);
    }
  }
  std::mt19937_64 random(20261207);
  std::uniform_int_distribution<int> decades(-19, 8);
  std::uniform_real_distribution<double> digits(1.0, 10.0);
  while (values.size() < 10'000'000) {
    const double v = digits(random) * std::pow(10.0, decades(random));
    const std::uint64_t bits = random();
    // Half of them just beside a boundary of the sixth digit.
    const double boundary = (std::floor(v / std::pow(10.0, std::floor(std::log10(v)) - 6)) + 0.5) *
                            std::pow(10.0, std::floor(std::log10(v)) - 6);
    values.push_back((bits & 1) ? v : std::nextafter(boundary, (bits & 2) ? 0.0 : 1e308));
    if (bits & 4) values.back() = -values.back();
  }
  const CLocaleScope cNumbers;
  size_t differences = 0;
  std::string out;
  char expected[64];
  for (double v : values) {
    out.clear();
    appendG(out, v);
    const int length = std::snprintf(expected, sizeof expected, "%g", v);
    if (out != std::string_view(expected, static_cast<size_t>(length)) && ++differences <= 5) {
      ADD_FAILURE() << "appendG wrote " << out << " where printf writes " << expected << " for "
                    << cFormat("%.17g", v);
    }
  }
  EXPECT_EQ(differences, 0u);
}

TEST(Sprintf, SummaryFormatsMatchSnprintf) {
  char expected[256];
  std::snprintf(expected, sizeof expected, "%s \nhas %i specimens \nwith %i landmarks",
                "skulls.txt", 12, 40);
  EXPECT_EQ(sprintf("%s \nhas %i specimens \nwith %i landmarks", "skulls.txt", 12, 40), expected);

  std::snprintf(expected, sizeof expected, "File %s \n %4.0f listed x values", "mass.txt", 12.0);
  EXPECT_EQ(sprintf("File %s \n %4.0f listed x values", "mass.txt", 12.0), expected);
  std::snprintf(expected, sizeof expected, "File %s \n %4.0f listed x values", "mass.txt", 12345.5);
  EXPECT_EQ(sprintf("File %s \n %4.0f listed x values", std::string("mass.txt"), 12345.5),
            expected);
}

TEST(Sprintf, DecimalCommaLocaleWritesAsTheCLocale) {
  const struct {
    const char* format;
    std::vector<FormatArg> values;
    const char* expected;
  } cases[] = {
      {"%4.4f", {3.003}, "3.0030"},
      {"%g ", {1.5, -2e-5}, "1.5 -2e-05 "},
      {"%10.3g|", {1234.5678}, "  1.23e+03|"},
      {"%.3g", {0.5}, "0.5"},
      {"%e", {-2.5}, "-2.500000e+00"},
      {"%i;", {42.0, 2.5}, "42;2.500000e+00;"},
      {"%s \nhas %i specimens \nwith %i landmarks",
       {std::string("skulls.txt"), 12.0, 40.0},
       "skulls.txt \nhas 12 specimens \nwith 40 landmarks"},
  };
  const testing::DecimalComma comma;
  for (const auto& c : cases) EXPECT_EQ(vsprintf(c.format, c.values), c.expected) << c.format;
  // The locale is in force around the formatter, and is left so.
  EXPECT_EQ(cFormat("%.1f", 2.5), "2,5");
}

TEST(Sprintf, BackslashNWrittenAsTwoCharactersIsALineBreak) {
  EXPECT_EQ(sprintf("%s \\nhas %i specimens \\nwith %i landmarks", "a.txt", 3, 10),
            "a.txt \nhas 3 specimens \nwith 10 landmarks");
  EXPECT_EQ(sprintf("a\\tb\\\\c"), "a\tb\\c");
}

TEST(Sprintf, FormatIsReusedOverEveryValueInColumnOrder) {
  const std::vector<double> list{1.5, 2e-5, 1e6};
  EXPECT_EQ(sprintf("%g ", list), cFormat("%g ", 1.5) + cFormat("%g ", 2e-5) + cFormat("%g ", 1e6));

  Eigen::MatrixXd m(2, 3);
  m << 1, 3, 5, 2, 4, 6;
  EXPECT_EQ(sprintf("%g ", m), "1 2 3 4 5 6 ");
  EXPECT_EQ(sprintf("%g,%g;", m), "1,2;3,4;5,6;");
  // Values from several arguments form one list.
  EXPECT_EQ(sprintf("<%g>", 7, list, 8.0), "<7><1.5><2e-05><1e+06><8>");
}

TEST(Sprintf, IntegerConversionOfFractionFallsBackToExponent) {
  EXPECT_EQ(sprintf("%i", 2.5), cFormat("%e", 2.5));
  EXPECT_EQ(sprintf("%d", -0.125), cFormat("%e", -0.125));
  EXPECT_EQ(sprintf("n=%i;", 42.0), "n=42;");
  EXPECT_EQ(sprintf("%i", -7), "-7");
  EXPECT_EQ(sprintf("%5i|", 3), "    3|");
}

TEST(Sprintf, WithoutValuesLiteralTextIsWrittenOnce) {
  EXPECT_EQ(sprintf("no values here"), "no values here");
  EXPECT_EQ(sprintf("before %g after"), "before  after");
  EXPECT_EQ(sprintf("100%% done"), "100% done");
}

TEST(Sprintf, TooFewValuesStopAtFirstConversionLackingAValue) {
  EXPECT_EQ(sprintf("%g and %g; ", 1, 2, 3), "1 and 2; 3 and ");
  EXPECT_EQ(sprintf("%s has %i", "a.txt"), "a.txt has ");
}

}  // namespace
}  // namespace tarvolin
