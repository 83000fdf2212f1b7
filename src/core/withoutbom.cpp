#include "core/withoutbom.h"

#include "core/errors.h"

namespace tarvolin {
namespace {

// Text in UTF-16 has a zero byte beside every ASCII character: at the odd
// bytes (little-endian) or the even ones (big-endian) of its start, and
// only there. A file of zero bytes (a copy or a save cut short) has them
// everywhere.
bool looksLikeUtf16(std::string_view start) {
  start = start.substr(0, 4);
  if (start.size() < 2) return false;
  bool littleEndian = true;
  bool bigEndian = true;
  for (size_t i = 0; i < start.size(); ++i) {
    const bool zero = start[i] == '\0';
    littleEndian = littleEndian && zero == (i % 2 == 1);
    bigEndian = bigEndian && zero == (i % 2 == 0);
  }
  return littleEndian || bigEndian;
}

}  // namespace

std::string_view withoutbom(std::string_view start, const std::string& fname) {
  if (start.starts_with("\xEF\xBB\xBF")) return start.substr(3);
  if (start.starts_with("\xFF\xFE") || start.starts_with("\xFE\xFF") || looksLikeUtf16(start)) {
    throw InputError(fname,
                     "is UTF-16 text; save it as UTF-8 (in a spreadsheet: CSV UTF-8, in an "
                     "editor: the UTF-8 encoding)");
  }
  if (start.substr(0, 4).find('\0') != std::string_view::npos) {
    throw InputError(fname,
                     "is not a text file: it holds zero (NUL) bytes at its start, which no text "
                     "does (a copy or a save cut short can leave such a file)");
  }
  return start;
}

}  // namespace tarvolin
