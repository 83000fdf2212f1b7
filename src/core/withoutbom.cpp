#include "core/withoutbom.h"

#include "core/errors.h"

namespace tarvolin {

std::string_view withoutbom(std::string_view start, const std::string& fname) {
  if (start.starts_with("\xEF\xBB\xBF")) return start.substr(3);
  // Text in UTF-16 has a zero byte beside every ASCII character; no text
  // file of numbers and names holds one otherwise.
  const bool utf16 = start.starts_with("\xFF\xFE") || start.starts_with("\xFE\xFF") ||
                     start.substr(0, 4).find('\0') != std::string_view::npos;
  if (utf16) {
    throw InputError(fname,
                     "is UTF-16 text; save it as UTF-8 (in a spreadsheet: CSV UTF-8, in an "
                     "editor: the UTF-8 encoding)");
  }
  return start;
}

}  // namespace tarvolin
