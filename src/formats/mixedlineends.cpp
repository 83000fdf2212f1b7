#include "formats/mixedlineends.h"

#include "core/lineendof.h"

namespace tarvolin {

std::string mixedlineends(std::string_view text) {
  const char lineEnd = lineendof(text);
  long line = 1;
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    const char c = text[i];
    if (c == lineEnd) {
      ++line;
    } else if (lineEnd == '\n' && c == '\r' && text[i + 1] != '\n') {
      const size_t lf = text.find('\n');
      const bool windows = lf != std::string_view::npos && lf > 0 && text[lf - 1] == '\r';
      return "the file mixes line ends: line " + std::to_string(line) +
             " holds a lone CR (the line end of old Macintosh files) where the other lines end "
             "in " +
             (windows ? "CRLF (Windows)" : "LF (Unix)") +
             "; it was read as a blank, not a line end: save the file with one kind of line end";
    } else if (lineEnd == '\r' && c == '\n' && (i == 0 || text[i - 1] != '\r')) {
      return "the file mixes line ends: line " + std::to_string(line) +
             " holds an LF (the line end of Unix files) where the other lines end in CR (old "
             "Macintosh); it was read as a blank, not a line end: save the file with one kind of "
             "line end";
    }
  }
  return {};
}

}  // namespace tarvolin
