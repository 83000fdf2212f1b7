#include "core/quotedtext.h"

#include <vector>

#include "core/printable.h"

namespace tarvolin {
namespace {

// The byte just after `count` characters from `from`, or the end of text.
size_t forward(std::string_view text, size_t from, size_t count) {
  for (; from < text.size() && count > 0; --count) {
    const size_t length = detail::utf8length(text, from);
    from += length == 0 ? 1 : length;
  }
  return from;
}

// The start of the character `count` characters before `from`, or 0.
size_t backward(std::string_view text, size_t from, size_t count) {
  // A character is at most 4 bytes: its starts are found going forward from
  // far enough back, past any continuation bytes there.
  size_t p = from > 4 * count + 4 ? from - 4 * count - 4 : 0;
  while (p > 0 && p < from && (static_cast<unsigned char>(text[p]) & 0xC0) == 0x80) ++p;
  std::vector<size_t> starts;
  for (; p < from; p = forward(text, p, 1)) starts.push_back(p);
  if (starts.size() <= count) return starts.empty() ? from : starts.front();
  return starts[starts.size() - count];
}

}  // namespace

std::string quotedtext(std::string_view text) { return quotedtext(text, 0); }

std::string quotedtext(std::string_view text, size_t at) {
  if (at > text.size()) at = text.size();
  const size_t half = kQuotedCharacters / 2;
  size_t start = backward(text, at, half);
  // Near the start the characters not used before `at` are shown after it.
  size_t before = 0;
  for (size_t p = start; p < at; p = forward(text, p, 1)) ++before;
  const size_t end = forward(text, at, kQuotedCharacters - before);
  if (end == text.size() && start > 0) {
    // Near the end, likewise the other way.
    size_t after = 0;
    for (size_t p = at; p < end; p = forward(text, p, 1)) ++after;
    start = backward(text, at, kQuotedCharacters - after);
  }
  std::string shown = "\"";
  if (start > 0) shown += "...";
  shown += printable(text.substr(start, end - start));
  if (end < text.size()) shown += "...";
  shown += "\"";
  return shown;
}

}  // namespace tarvolin
