#include "formats/delimitedtext.h"

#include <cstring>

#include "core/errors.h"
#include "core/lineendof.h"
#include "core/plaindecimal.h"
#include "core/withoutbom.h"

namespace tarvolin {
namespace detail {
namespace {

bool isLineEnd(char c) { return c == '\n' || c == '\r'; }

}  // namespace

char tabledelimiter(std::string_view text) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = start;
    while (end < text.size() && !isLineEnd(text[end])) ++end;
    const std::string_view line = text.substr(start, end - start);
    const size_t first = line.find_first_not_of(" \t");
    if (first != std::string_view::npos) {
      bool inQuotes = false;
      bool semicolon = false;
      bool comma = false;
      bool blankBetween = false;
      const size_t last = line.find_last_not_of(" \t");
      for (size_t i = first; i <= last; ++i) {
        const char c = line[i];
        if (c == '"') {
          inQuotes = !inQuotes;
        } else if (!inQuotes && c == '\t') {
          return '\t';
        } else if (!inQuotes && c == ';') {
          semicolon = true;
        } else if (!inQuotes && c == ',') {
          comma = true;
        } else if (!inQuotes && c == ' ') {
          blankBetween = true;
        }
      }
      if (semicolon) return ';';
      // Quoted names apart by blanks alone: R's write.table.
      if (!comma && blankBetween && line[first] == '"') return ' ';
      return ',';
    }
    start = end + 1;
  }
  return ',';
}

DelimitedText::DelimitedText(std::string_view text, char delimiter, const std::string& fname)
    : text_(withoutbom(text, fname)),
      fname_(fname),
      delimiter_(delimiter),
      lineEnd_(lineendof(text_)) {}

std::string DelimitedText::Field::value() const {
  if (!doubledQuotes) return std::string(text);
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    out += text[i];
    if (text[i] == '"') ++i;
  }
  return out;
}

void DelimitedText::moveToNextLine() {
  const size_t n = text_.size();
  while (pos_ < n && text_[pos_] != lineEnd_) ++pos_;
  if (pos_ < n) ++pos_;
}

bool DelimitedText::nextLine() {
  if (line_ > 0) moveToNextLine();
  const size_t n = text_.size();
  while (pos_ < n) {
    ++line_;
    size_t p = pos_;
    while (p < n && (text_[p] == '\t' || isBlank(text_[p]))) ++p;
    if (p < n && text_[p] != lineEnd_) {
      moreFields_ = true;
      fieldsRead_ = 0;
      return true;
    }
    pos_ = p;
    moveToNextLine();
  }
  moreFields_ = false;
  return false;
}

char DelimitedText::peek() const {
  size_t p = pos_;
  while (p < text_.size() && isBlank(text_[p])) ++p;
  return p < text_.size() && text_[p] != lineEnd_ ? text_[p] : '\0';
}

bool DelimitedText::nextField(Field& field) {
  if (!moreFields_) return false;
  ++fieldsRead_;
  const char* s = text_.data();
  const size_t n = text_.size();
  size_t p = pos_;
  while (p < n && isBlank(s[p])) ++p;
  field.doubledQuotes = false;
  field.quoted = p < n && s[p] == '"';
  if (field.quoted) {
    const size_t start = ++p;
    while (true) {
      while (p < n && s[p] != '"' && s[p] != lineEnd_) ++p;
      if (p == n || s[p] != '"') {
        throw InputError(fname_, line_,
                         "field " + std::to_string(fieldsRead_) +
                             " opens a quote that does not close on its line");
      }
      if (p + 1 < n && s[p + 1] == '"') {
        field.doubledQuotes = true;
        p += 2;
        continue;
      }
      break;
    }
    field.text = text_.substr(start, p - start);
    const size_t afterQuote = ++p;
    while (p < n && isBlank(s[p])) ++p;
    const bool blanksApart = delimiter_ == ' ' && p > afterQuote;
    if (p < n && s[p] != delimiter_ && s[p] != lineEnd_ && !blanksApart) {
      throw InputError(fname_, line_,
                       "field " + std::to_string(fieldsRead_) +
                           " has text after its closing quote; a quote inside quotes is "
                           "written twice (\"\")");
    }
  } else {
    const size_t start = p;
    const char delimiter = delimiter_;
    const char lineEnd = lineEnd_;
    while (p < n && s[p] != delimiter && s[p] != lineEnd) ++p;
    size_t end = p;
    while (end > start && isBlank(s[end - 1])) --end;
    field.text = text_.substr(start, end - start);
  }
  if (delimiter_ == ' ') {
    // A run of blanks parts two fields; blanks that end the line part none.
    while (p < n && isBlank(s[p])) ++p;
    moreFields_ = p < n && s[p] != lineEnd_;
    pos_ = p;
    return true;
  }
  moreFields_ = p < n && s[p] == delimiter_;
  pos_ = moreFields_ ? p + 1 : p;
  return true;
}

namespace {

// Reads the number at s when plaindecimal reads it, with `point` or, in a
// semicolon table (point ','), with a point as well, and it ends its field;
// leaves s at the delimiter or line end after it. False, leaving s alone,
// otherwise: tablecoordinate then reads the field.
[[gnu::always_inline]] inline bool plainNumber(const char*& at, const char* end, char delimiter,
                                               char lineEnd, char point, double& value) {
  auto isBlank = [delimiter, lineEnd](char c) {
    return c == ' ' || (c == '\t' && delimiter != '\t') ||
           ((c == '\r' || c == '\n') && c != lineEnd);
  };
  const char* s = at;
  while (s < end && isBlank(*s)) ++s;
  const std::string_view rest(s, static_cast<size_t>(end - s));
  double number = 0;
  size_t length = plaindecimal(rest, point, number);
  if (point == ',' && (length == 0 || (length < rest.size() && rest[length] == '.'))) [[unlikely]] {
    length = plaindecimal(rest, '.', number);
  }
  if (length == 0) [[unlikely]] {
    return false;
  }
  s += length;
  const char* const afterNumber = s;
  while (s < end && isBlank(*s)) ++s;
  // With blanks apart, the blanks after the number are its delimiter, and
  // `at` is left at the next field.
  const bool blanksApart = delimiter == ' ' && s > afterNumber;
  if (s < end && *s != delimiter && *s != lineEnd && !blanksApart) [[unlikely]] {
    return false;
  }
  value = number;
  at = s;
  return true;
}

}  // namespace

long DelimitedText::nextPlainNumbers(double* out, std::ptrdiff_t stride, long count,
                                     bool decimalComma) {
  if (!moreFields_) return 0;
  const char* s = text_.data() + pos_;
  const char* const end = text_.data() + text_.size();
  const char point = decimalComma ? ',' : '.';
  long read = 0;
  while (read < count) {
    const char* after = s;
    if (!plainNumber(after, end, delimiter_, lineEnd_, point, *out)) break;
    ++read;
    out += stride;
    if (delimiter_ == ' ' && after < end && *after != lineEnd_) {
      s = after;
    } else if (delimiter_ != ' ' && after < end && *after == delimiter_) {
      s = after + 1;
    } else {
      s = after;
      moreFields_ = false;
      break;
    }
  }
  pos_ = static_cast<size_t>(s - text_.data());
  fieldsRead_ += read;
  return read;
}

std::string_view DelimitedText::restOfLine() {
  const size_t start = pos_;
  while (pos_ < text_.size() && text_[pos_] != lineEnd_) ++pos_;
  moreFields_ = false;
  // The CR of a CRLF line is no part of it.
  std::string_view rest = text_.substr(start, pos_ - start);
  while (!rest.empty() && isLineEnd(rest.back())) rest.remove_suffix(1);
  return rest;
}

Coordinate tablecoordinate(std::string_view field, bool decimalComma, const ReadOptions& options) {
  if (field.empty()) return {Coordinate::missing, 0};
  if (decimalComma) {
    const size_t comma = field.find(',');
    char buffer[64];
    if (comma != std::string_view::npos && field.size() <= sizeof buffer) {
      std::memcpy(buffer, field.data(), field.size());
      buffer[comma] = '.';
      return readcoordinate(std::string_view(buffer, field.size()), options);
    }
  }
  return readcoordinate(field, options);
}

}  // namespace detail

}  // namespace tarvolin
