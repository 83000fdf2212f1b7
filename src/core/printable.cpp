#include "core/printable.h"

#include <cstdio>

namespace tarvolin {

namespace detail {

size_t utf8length(std::string_view text, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) return 1;
  // The second byte's range depends on the lead: this refuses overlong
  // forms, surrogates and code points above U+10FFFF.
  size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  if (byte(at + 1) < low || byte(at + 1) > high) return 0;
  for (size_t i = 2; i < length; ++i) {
    if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 0;
  }
  return length;
}

}  // namespace detail

std::string printable(std::string_view text, bool keepLayout) {
  std::string shown;
  shown.reserve(text.size());
  char escape[8];
  for (size_t at = 0; at < text.size();) {
    const auto c = static_cast<unsigned char>(text[at]);
    const size_t length = detail::utf8length(text, at);
    if (length == 0) {
      std::snprintf(escape, sizeof escape, "\\x%02x", c);
      shown += escape;
      ++at;
      continue;
    }
    if (length == 2 && c == 0xC2 && static_cast<unsigned char>(text[at + 1]) < 0xA0) {
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned char>(text[at + 1]));
      shown += escape;
    } else if (length > 1 || (c >= 0x20 && c != 0x7F)) {
      shown.append(text.substr(at, length));
    } else if (c == '\n') {
      shown += keepLayout ? "\n" : "\\n";
    } else if (c == '\t') {
      shown += keepLayout ? "\t" : "\\t";
    } else if (c == '\r') {
      shown += "\\r";
    } else if (c == 0x1B) {
      shown += "\\e";
    } else {
      std::snprintf(escape, sizeof escape, "\\x%02x", c);
      shown += escape;
    }
    at += length;
  }
  return shown;
}

}  // namespace tarvolin
