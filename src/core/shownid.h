#pragma once
// A specimen ID as a text table shows it on a terminal or in a window:
// made printable (printable.h), and cut to kShownIdLength characters, its
// last three "...", when it is longer. One ID of a few hundred thousand
// characters would otherwise widen every row of an aligned table to its
// length. Files written for other programs (CSV, JSON) keep IDs whole.
//
// Characters are counted as code points of the printable text (a letter
// of any script counts one, an escape such as \e its two).
//
// Example:
//   shownid("skull_12")              -> "skull_12"
//   shownid(std::string(200, 'a'))  -> 37 'a's and "..."
//   shownid("a\x07")                 -> "a\x07" (as five characters)

#include <cstddef>
#include <string>
#include <string_view>

namespace tarvolin {

inline constexpr size_t kShownIdLength = 40;

std::string shownid(std::string_view id);

}  // namespace tarvolin
