#include "document/iskeyword.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace tarvolin {
namespace {

constexpr std::array<std::string_view, 17> kKeywords{
    "break",  "case", "catch",     "continue",   "else",   "elseif", "end", "for",  "function",
    "global", "if",   "otherwise", "persistent", "return", "switch", "try", "while"};

}  // namespace

bool iskeyword(const Value& s) {
  return s.isText() && std::find(kKeywords.begin(), kKeywords.end(), s.text()) != kKeywords.end();
}

std::vector<std::string> iskeyword() { return {kKeywords.begin(), kKeywords.end()}; }

}  // namespace tarvolin
