#include "core/csvtext.h"

namespace tarvolin {

std::string csvfield(const std::string& text) {
  const bool plain = text.find_first_of(",\";\t\r\n") == std::string::npos &&
                     (text.empty() || (text.front() != ' ' && text.back() != ' '));
  if (plain) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace tarvolin
