#include "formats/readfcsv.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <unordered_set>
#include <vector>

#include "core/errors.h"
#include "core/quotedtext.h"
#include "core/texthelpers.h"
#include "formats/readmarkupfolder.h"
#include "formats/readrowtable.h"

namespace tarvolin {
namespace {

using detail::DelimitedText;

// Blanks around a field or a header's value; the CR of a CRLF line among them.
constexpr std::string_view kAround = " \t\r\n";

// `word` in lower case: a name matches it in any case.
bool sameName(std::string_view name, std::string_view word) { return sameIgnoringCase(name, word); }

// The value after "name =" in a header line's text (after its #), or
// nothing when the line is another header line.
std::optional<std::string_view> headerValue(std::string_view header, std::string_view name) {
  header = trimmed(header, kAround);
  const size_t equals = header.find('=');
  if (equals == std::string_view::npos ||
      !sameName(trimmed(header.substr(0, equals), kAround), name)) {
    return std::nullopt;
  }
  return header.substr(equals + 1);
}

// The system a "# CoordinateSystem =" line names: LPS or RAS, or 1 and 0 as
// Slicer wrote them before it wrote the names.
MarkupSystem systemNamed(std::string_view value, const std::string& fname, long line) {
  value = trimmed(value, kAround);
  if (sameName(value, "lps") || value == "1") return MarkupSystem::lps;
  if (sameName(value, "ras") || value == "0") return MarkupSystem::ras;
  throw InputError(fname, line,
                   "the coordinate system is " + quotedtext(value) +
                       "; Tarvolin reads markups in LPS (or 1) or RAS (or 0)");
}

constexpr char axes[] = {'x', 'y', 'z'};

// Sets where x, y and z stand among a row's fields (0-based) from the names
// of a columns line; an InputError when it lacks one of them.
void findAxes(std::string_view names, size_t column[3], const std::string& fname, long line) {
  bool found[3] = {false, false, false};
  std::unordered_set<std::string_view> seen;
  for (size_t index = 0;; ++index) {
    const size_t comma = std::min(names.find(','), names.size());
    const std::string_view name = trimmed(names.substr(0, comma), kAround);
    if (!name.empty() && !seen.insert(name).second) {
      throw InputError(fname, line,
                       "the columns line names " + quotedtext(name) +
                           " twice; each column needs a name of its own");
    }
    for (int a = 0; a < 3; ++a) {
      if (!found[a] &&
          sameName(trimmed(names.substr(0, comma), kAround), std::string_view(&axes[a], 1))) {
        column[a] = index;
        found[a] = true;
      }
    }
    if (comma == names.size()) break;
    names.remove_prefix(comma + 1);
  }
  for (int a = 0; a < 3; ++a) {
    if (!found[a]) {
      throw InputError(fname, line,
                       std::string("the columns line names no ") + axes[a] + " column");
    }
  }
}

}  // namespace

LandmarkSet readfcsv(std::string_view text, const std::string& fname, const ReadOptions& options) {
  size_t column[3] = {1, 2, 3};
  // Files from before Slicer declared a system hold RAS coordinates.
  MarkupSystem system = MarkupSystem::ras;
  std::vector<double> coords;
  DelimitedText rows(text, ',', fname);
  while (rows.nextLine()) {
    if (rows.peek() == '#') {
      const std::string_view line = rows.restOfLine();
      const std::string_view header = line.substr(line.find('#') + 1);
      if (const std::optional<std::string_view> names = headerValue(header, "columns")) {
        findAxes(*names, column, fname, rows.line());
      } else if (const std::optional<std::string_view> named =
                     headerValue(header, "coordinatesystem")) {
        system = systemNamed(*named, fname, rows.line());
      }
      continue;
    }

    const long point = static_cast<long>(coords.size() / 3) + 1;
    const size_t last = *std::max_element(column, column + 3);
    double xyz[3] = {0, 0, 0};
    DelimitedText::Field field;
    for (size_t index = 0; index <= last; ++index) {
      if (!rows.nextField(field)) {
        throw InputError(fname, rows.line(),
                         "point " + std::to_string(point) + " has " +
                             std::to_string(rows.fieldsRead()) +
                             " fields, but its coordinates need " + std::to_string(last + 1));
      }
      for (int a = 0; a < 3; ++a) {
        if (column[a] != index) continue;
        const Coordinate value = detail::tablecoordinate(field.text, false, options);
        if (value.kind == Coordinate::number) {
          xyz[a] = value.value;
        } else if (value.kind == Coordinate::missing) {
          xyz[a] = std::numeric_limits<double>::quiet_NaN();
        } else {
          throw InputError(fname, rows.line(),
                           "point " + std::to_string(point) + ": " + axes[a] + " " +
                               quotedtext(field.text) + " " + value.problemText());
        }
      }
    }
    coords.insert(coords.end(), xyz, xyz + 3);
  }
  if (coords.empty()) throw InputError(fname, "the file holds no landmark rows");

  return markupspecimen(std::move(coords), fname, system);
}

}  // namespace tarvolin
