#include "formats/readsliders.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>
#include <optional>
#include <utility>

#include "core/errors.h"
#include "core/quotedtext.h"
#include "core/withoutbom.h"

namespace tarvolin {
namespace {

// The next line of `text` from `at`, without its line end (LF, CRLF or a
// lone CR).
std::string_view nextline(std::string_view text, size_t& at) {
  const size_t start = at;
  size_t end = start;
  while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
  at = end;
  if (at < text.size() && text[at] == '\r') ++at;
  if (at < text.size() && text[at] == '\n') ++at;
  return text.substr(start, end - start);
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDelimiter(char c) { return c == ',' || c == ';'; }

// The fields of a line: the first `keep` of them, how many there are, and
// the first that is empty (from 1; 0 when none is) with the byte where it
// is missed. Blanks part fields as a comma or semicolon does, but only a
// comma or semicolon can leave a field empty: at the start or end of the
// line, or beside another.
struct RowFields {
  std::vector<std::string_view> fields;
  size_t count = 0;
  size_t emptyField = 0;
  size_t emptyAt = 0;
};

// Keeping only the first few fields, a one-line file of millions of
// numbers costs no memory of its own.
RowFields fieldsof(std::string_view line, size_t keep) {
  RowFields row;
  bool fieldDue = false;  // a comma or semicolon since the last field
  size_t at = 0;
  while (at < line.size()) {
    if (isBlank(line[at])) {
      ++at;
    } else if (isDelimiter(line[at])) {
      if ((fieldDue || row.count == 0) && row.emptyField == 0) {
        row.emptyField = row.count + 1;
        row.emptyAt = at;
      }
      fieldDue = true;
      ++at;
    } else {
      const size_t start = at;
      while (at < line.size() && !isBlank(line[at]) && !isDelimiter(line[at])) ++at;
      if (++row.count <= keep) row.fields.push_back(line.substr(start, at - start));
      fieldDue = false;
    }
  }
  if (fieldDue && row.emptyField == 0) {
    row.emptyField = row.count + 1;
    row.emptyAt = line.size();
  }
  // Commas alone are the empty row a spreadsheet writes: a blank line.
  if (row.count == 0) row.emptyField = 0;
  return row;
}

bool hasdigit(std::string_view field) {
  for (char c : field) {
    if (std::isdigit(static_cast<unsigned char>(c))) return true;
  }
  return false;
}

// The rows of `text` that hold fields (the first `keep` of each), with
// their lines and line numbers: blank lines, comments and a first row of
// words passed over.
template <class Take>
void eachrow(std::string_view text, size_t keep, const Take& take) {
  size_t at = 0;
  long number = 0;
  bool first = true;
  while (at < text.size()) {
    const std::string_view line = nextline(text, at);
    ++number;
    const RowFields row = fieldsof(line, keep);
    if (row.count == 0 || row.fields.front().front() == '#') continue;
    const bool words = std::none_of(row.fields.begin(), row.fields.end(), hasdigit);
    if (std::exchange(first, false) && words) continue;
    if (!take(row, line, number)) return;
  }
}

// Reads the rows of `width` landmark numbers, skipping blank lines,
// comments and a first row of words; each number checked to lie in 1..k
// and given back from 0.
template <class Take>
void readrows(std::string_view text, const std::string& fname, int k, size_t width,
              const char* rowName, const Take& take) {
  const auto readRow = [&](const RowFields& fields, std::string_view line, long number) {
    if (fields.emptyField != 0) {
      throw InputError(fname, number,
                       quotedtext(line, fields.emptyAt) + " has an empty field (field " +
                           std::to_string(fields.emptyField) +
                           "): each field must be a landmark number")
          .concerning(Input::sliders);
    }
    if (fields.count != width) {
      throw InputError(fname, number,
                       std::string(rowName) + " holds " + std::to_string(fields.count) +
                           (fields.count == 1 ? " field" : " fields") + ", not " +
                           std::to_string(width) +
                           (width == 1 ? " landmark number" : " landmark numbers"))
          .concerning(Input::sliders);
    }
    std::vector<int> row;
    for (std::string_view field : fields.fields) {
      int value = 0;
      const auto [end, problem] = std::from_chars(field.data(), field.data() + field.size(), value);
      if (problem != std::errc() || end != field.data() + field.size()) {
        throw InputError(fname, number,
                         quotedtext(field) +
                             " is not a landmark number (a whole number from 1 to " +
                             std::to_string(k) + ")")
            .concerning(Input::sliders);
      }
      if (value < 1 || value > k) {
        throw InputError(fname, number,
                         "landmark " + std::to_string(value) + " does not exist: the data have " +
                             std::to_string(k) + (k == 1 ? " landmark" : " landmarks"))
            .concerning(Input::sliders);
      }
      row.push_back(value - 1);
    }
    take(row, number);
    return true;
  };
  eachrow(withoutbom(text, fname), width + 1, readRow);
}

}  // namespace

size_t sliderrowwidth(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  size_t width = 0;
  eachrow(text, 4, [&](const RowFields& fields, std::string_view, long) {
    width = fields.count;
    return false;
  });
  return width;
}

Sliders readsliders(std::string_view text, const std::string& fname, int k) {
  Sliders sliders;
  std::map<int, long> rowOf;
  readrows(text, fname, k, 3, "the row", [&](const std::vector<int>& row, long line) {
    const CurveSlider slider{row[0], row[1], row[2]};
    const std::string point = std::to_string(slider.point + 1);
    if (slider.before == slider.after) {
      throw InputError(fname, line,
                       "landmark " + point + " slides between landmark " +
                           std::to_string(slider.before + 1) +
                           " and itself: the points before and after must differ")
          .concerning(Input::sliders);
    }
    if (slider.point == slider.before || slider.point == slider.after) {
      throw InputError(fname, line,
                       "landmark " + point +
                           " cannot slide towards itself: it must differ from the points before "
                           "and after it")
          .concerning(Input::sliders);
    }
    const auto [found, added] = rowOf.emplace(slider.point, line);
    if (!added) {
      throw InputError(fname, line,
                       "landmark " + point + " slides in two rows (line " +
                           std::to_string(found->second) + " too)")
          .concerning(Input::sliders);
    }
    sliders.curve.push_back(slider);
  });
  return sliders;
}

std::vector<int> readsurface(std::string_view text, const std::string& fname, int k) {
  std::vector<int> surface;
  std::map<int, long> lineOf;
  readrows(text, fname, k, 1, "the line", [&](const std::vector<int>& row, long line) {
    const auto [found, added] = lineOf.emplace(row[0], line);
    if (!added) {
      throw InputError(fname, line,
                       "landmark " + std::to_string(row[0] + 1) + " is named twice (line " +
                           std::to_string(found->second) + " too)")
          .concerning(Input::sliders);
    }
    surface.push_back(row[0]);
  });
  return surface;
}

}  // namespace tarvolin
