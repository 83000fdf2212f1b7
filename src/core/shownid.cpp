#include "core/shownid.h"

#include "core/printable.h"

namespace tarvolin {

std::string shownid(std::string_view id) {
  std::string shown = printable(id);
  // The printable text is valid UTF-8: a code point starts at every byte
  // that is not a continuation byte.
  size_t characters = 0;
  size_t cut = shown.size();
  for (size_t at = 0; at < shown.size(); ++at) {
    if ((static_cast<unsigned char>(shown[at]) & 0xC0) == 0x80) continue;
    if (characters == kShownIdLength - 3) cut = at;
    if (++characters > kShownIdLength) {
      shown.resize(cut);
      return shown + "...";
    }
  }
  return shown;
}

}  // namespace tarvolin
