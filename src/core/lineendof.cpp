#include "core/lineendof.h"

#include <cstddef>

namespace tarvolin {

char lineendof(std::string_view text) {
  // The start says enough, and a large file costs no more than a small one.
  text = text.substr(0, 64 * 1024);
  size_t lineFeeds = 0;
  size_t loneReturns = 0;
  char first = '\0';
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++lineFeeds;
      if (first == '\0') first = '\n';
    } else if (text[i] == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') continue;
      // A CR that ends the start looked at may be the half of a CRLF cut
      // off: it says nothing.
      if (i + 1 == text.size() && text.size() == 64 * 1024) continue;
      ++loneReturns;
      if (first == '\0') first = '\r';
    }
  }
  if (loneReturns > lineFeeds) return '\r';
  if (loneReturns == lineFeeds && first == '\r') return '\r';
  return '\n';
}

}  // namespace tarvolin
