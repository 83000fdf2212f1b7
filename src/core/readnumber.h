#pragma once
// The one number that a short text holds, such as a box or an option the
// user typed in, or why it holds none.
//
// Returns the number, or the problem; problemText() says it as the end of a
// sentence that begins with the text: "is not a number" (no number, text,
// or several numbers), "is too large for a number" (beyond the range of a
// double, such as 1e400), or "is not a finite number" (inf, nan). Blanks
// around the number do not matter.
//
// Example:
//   readnumber(" 3.0030 ").value          -> 3.003
//   readnumber("1e400").problemText()     -> "is too large for a number"

#include <optional>
#include <string>
#include <string_view>

namespace tarvolin {

struct NumberText {
  enum class Problem { none, notANumber, tooLarge, notFinite };
  std::optional<double> value;
  Problem problem = Problem::none;

  std::string problemText() const;
};

NumberText readnumber(std::string_view text);

}  // namespace tarvolin
