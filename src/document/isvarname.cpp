#include "document/isvarname.h"

#include <algorithm>
#include <string>

#include "document/iskeyword.h"

namespace tarvolin {
namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool isvarname(const Value& s) {
  if (!s.isText()) return false;
  const std::string& text = s.text();
  // A line break is no name character, so a text of several rows never passes.
  if (text.empty() || text.size() > 31 || !isLetter(text.front())) return false;
  const bool wordCharacters = std::all_of(
      text.begin(), text.end(), [](char c) { return isLetter(c) || isDigit(c) || c == '_'; });
  return wordCharacters && !iskeyword(s);
}

}  // namespace tarvolin
