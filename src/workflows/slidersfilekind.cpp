#include "workflows/slidersfilekind.h"

#include <algorithm>
#include <cctype>
#include <utility>
#include <vector>

namespace tarvolin {
namespace {

bool separator(char c) { return c == ' ' || c == '\t' || c == ',' || c == ';'; }

std::vector<std::string_view> fieldsof(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && separator(line[at])) ++at;
    const size_t start = at;
    while (at < line.size() && !separator(line[at])) ++at;
    if (at > start) fields.push_back(line.substr(start, at - start));
  }
  return fields;
}

bool hasdigit(std::string_view field) {
  return std::any_of(field.begin(), field.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

}  // namespace

SlidersFileKind slidersfilekind(std::string_view text) {
  // A byte order mark is not a field.
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  bool first = true;
  while (!text.empty()) {
    const size_t end = text.find_first_of("\r\n");
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    const std::vector<std::string_view> fields = fieldsof(line);
    if (fields.empty() || fields.front().front() == '#') continue;
    const bool words = std::none_of(fields.begin(), fields.end(), hasdigit);
    if (std::exchange(first, false) && words) continue;
    return fields.size() == 1 ? SlidersFileKind::surface : SlidersFileKind::curves;
  }
  return SlidersFileKind::curves;
}

}  // namespace tarvolin
