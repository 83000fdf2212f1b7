#include "document/actioncallback.h"

namespace tarvolin {

std::string actioncallback(std::string_view module, std::string_view action) {
  std::string text(module);
  text += "('";
  for (const char c : action) {
    text += c;
    if (c == '\'') text += '\'';
  }
  text += "')";
  return text;
}

}  // namespace tarvolin
