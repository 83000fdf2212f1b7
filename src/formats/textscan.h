#pragma once
// The small pieces of text handling that the readers of landmark files share:
// blanks and line ends, trimming, a keyword in any letter case, a whole
// number, a token quoted in a message, a count with its noun, and the lines
// of a text by its own line end.
//
// Example:
//   textscan::Lines lines{"LM=2\r1 2\r3 4\n"};
//   while (!lines.atEnd()) use(lines.next(), lines.number);   // "LM=2" 1, "1 2" 2, "3 4" 3
//   textscan::sameWord("Scale", "scale")        -> true
//   textscan::quoted("abc")                     -> "\"abc\"" (see core/quotedtext.h)
//   textscan::plural(2, "record")               -> "2 records"

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/lineendof.h"
#include "core/quotedtext.h"
#include "core/texthelpers.h"

namespace tarvolin::textscan {

// Blanks within a line: space, tab, vertical tab, form feed.
inline bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

inline bool isLineEnd(char c) { return c == '\n' || c == '\r'; }

// Blanks and, at either end of a line, a stray CR (or LF) that is not the
// file's line end.
inline std::string_view trimmed(std::string_view s) {
  return ::tarvolin::trimmed(s, kBlanksAndLineEnds);
}

// True when `a` is `lowerCase` in any letter case.
inline bool sameWord(std::string_view a, std::string_view lowerCase) {
  return sameIgnoringCase(a, lowerCase);
}

// The token in quotes for a message: short, and safe for a terminal.
inline std::string quoted(std::string_view token) { return quotedtext(token); }

using ::tarvolin::plural;

// A whole number 0 or more that is all of `text`, else nothing.
inline std::optional<uint64_t> wholeNumber(std::string_view text) {
  uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Hands out the lines of a text one by one, without their line ends,
// counting them from 1. A text has one line end (lineendof): LF, or the
// lone CR of old Macintosh files; the other of the two at either end of a
// line (the CR of a CRLF, the final LF of a CR file) is left off too.
struct Lines {
  std::string_view text;
  size_t pos = 0;
  long number = 0;
  char lineEnd = '\0';  // told from the text at the first line

  bool atEnd() const { return pos >= text.size(); }
  std::string_view next() {
    if (lineEnd == '\0') lineEnd = lineendof(text);
    const size_t start = pos;
    size_t end = text.find(lineEnd, start);
    if (end == std::string_view::npos) end = text.size();
    pos = end < text.size() ? end + 1 : end;
    ++number;
    std::string_view line = text.substr(start, end - start);
    // The other of CR and LF, at either end, is no part of the line.
    while (!line.empty() && isLineEnd(line.back())) line.remove_suffix(1);
    while (!line.empty() && isLineEnd(line.front())) line.remove_prefix(1);
    return line;
  }
};

}  // namespace tarvolin::textscan
