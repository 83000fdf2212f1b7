#include "core/readnumber.h"

#include "tests/testing.h"

namespace tarvolin {
namespace {

TEST(Readnumber, OneNumberOrWhatKeepsTheTextFromBeingOne) {
  using Problem = NumberText::Problem;
  const struct {
    const char* text;
    std::optional<double> value;
    Problem problem;
  } cases[] = {
      {" 3.0030 ", 3.003, Problem::none}, {"-1.5e-3", -0.0015, Problem::none},
      {"1e400", {}, Problem::tooLarge},   {"-1e400", {}, Problem::tooLarge},
      {"inf", {}, Problem::notFinite},    {"nan", {}, Problem::notFinite},
      {"3,5", {}, Problem::notANumber},   {"3 5", {}, Problem::notANumber},
      {"", {}, Problem::notANumber},      {"3.5x", {}, Problem::notANumber},
  };
  for (const auto& c : cases) {
    const NumberText read = readnumber(c.text);
    EXPECT_EQ(read.value, c.value) << c.text;
    EXPECT_EQ(read.problem, c.problem) << c.text;
  }
  EXPECT_EQ(readnumber("1e400").problemText(), "is too large for a number");
}

}  // namespace
}  // namespace tarvolin
