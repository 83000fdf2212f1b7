#include "core/closestword.h"

#include <algorithm>

namespace tarvolin {
namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The optimal string alignment distance: edits, with a swap of two
// neighbours as one, the commonest slip of typing.
size_t edits(std::string_view a, std::string_view b) {
  std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
  for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t change = lower(a[i - 1]) == lower(b[j - 1]) ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
      if (i > 1 && j > 1 && lower(a[i - 1]) == lower(b[j - 2]) &&
          lower(a[i - 2]) == lower(b[j - 1])) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[a.size()][b.size()];
}

}  // namespace

std::optional<std::string> closestword(std::string_view word,
                                       const std::vector<std::string>& known) {
  const size_t limit = std::max<size_t>(1, word.size() / 3);
  std::optional<std::string> best;
  size_t bestEdits = limit + 1;
  for (const std::string& candidate : known) {
    const size_t n = edits(word, candidate);
    if (n < bestEdits) {
      bestEdits = n;
      best = candidate;
    }
  }
  return best;
}

}  // namespace tarvolin
