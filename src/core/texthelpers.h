#pragma once
// The small text helpers every reader and message shares: trimming,
// letter case (ASCII only: a file's bytes mean the same in every locale),
// and a count with its noun. A token quoted for a message is quotedtext
// (quotedtext.h), a text without its byte order mark withoutbom
// (withoutbom.h).
//
// Example:
//   trimmed("  a b \t")                    -> "a b"
//   trimmed("\r\na\r\n", kBlanksAndLineEnds) -> "a"
//   sameIgnoringCase("Size", "SIZE")       -> true
//   lowered("CS")                          -> "cs"
//   plural(1, "field"), plural(3, "field") -> "1 field", "3 fields"

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvolin {

// Blanks within a line: space and tab.
inline constexpr std::string_view kBlanks = " \t";
// Blanks and line ends: what std::isspace takes in the C locale.
inline constexpr std::string_view kBlanksAndLineEnds = " \t\n\v\f\r";

// `text` without the characters of `blanks` at either end.
std::string_view trimmed(std::string_view text, std::string_view blanks = kBlanks);

// The ASCII letters of `text` in lower case; other bytes as they are.
std::string lowered(std::string_view text);

// True when a and b are the same text but for the case of ASCII letters.
bool sameIgnoringCase(std::string_view a, std::string_view b);

// The count and its noun, with an s unless the count is 1.
std::string plural(std::uint64_t n, const char* word);

}  // namespace tarvolin
