#include "formats/tablecolumns.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <unordered_map>

#include "core/errors.h"
#include "core/quotedtext.h"

namespace tarvolin::detail {
namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isAlphanumeric(char c) { return isLetter(c) || isDigit(c); }
char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

struct CoordinateName {
  int axis;         // 0, 1, 2 for x, y, z
  std::string key;  // the landmark: the name without its axis, in lower case
};

// The axis a name stands for and the landmark it names: a lone x, y or z at
// the start or the end of the name, once the digits and punctuation around
// it are set aside (x1, X_1, lm1_z, p1.x), but not the z of "zygoma". The
// landmark is the rest of the name (1, 1, lm1, p1).
std::optional<CoordinateName> coordinateName(std::string_view name) {
  size_t first = 0;
  size_t last = name.size();
  while (first < last && !isLetter(name[first])) ++first;
  while (last > first && !isLetter(name[last - 1])) --last;
  if (first == last) return std::nullopt;
  auto axis = [](char c) -> int {
    const char l = lower(c);
    return l == 'x' ? 0 : l == 'y' ? 1 : l == 'z' ? 2 : -1;
  };
  // A letter with no letter beside it, within the letters of the name.
  auto lone = [&](size_t i) {
    return (i == first || !isLetter(name[i - 1])) && (i + 1 == last || !isLetter(name[i + 1]));
  };
  size_t at = 0;
  if (lone(first) && axis(name[first]) >= 0) {
    at = first;
  } else if (lone(last - 1) && axis(name[last - 1]) >= 0) {
    at = last - 1;
  } else {
    return std::nullopt;
  }
  std::string key;
  for (size_t i = 0; i < name.size(); ++i) {
    if (i != at) key += lower(name[i]);
  }
  size_t from = 0;
  size_t to = key.size();
  while (from < to && !isAlphanumeric(key[from])) ++from;
  while (to > from && !isAlphanumeric(key[to - 1])) --to;
  return CoordinateName{axis(name[at]), key.substr(from, to - from)};
}

bool isSizeName(std::string_view name) {
  std::string key;
  for (char c : name) {
    if (c != ' ' && c != '_' && c != '.' && c != '-') key += lower(c);
  }
  return key == "size" || key == "cs" || key == "centroidsize";
}

bool isLandmarkName(std::string_view name) {
  std::string key;
  for (char c : name) {
    if (isLetter(c)) key += lower(c);
  }
  return key == "landmark" || key == "lm" || key == "lmk" || key == "point" || key == "lmno" ||
         key == "landmarkno";
}

// The one number in `key` and the text around it; nothing when the key
// holds no digits or two runs of them.
std::optional<std::pair<std::string, uint64_t>> numbered(const std::string& key) {
  const size_t start = key.find_first_of("0123456789");
  if (start == std::string::npos) return std::nullopt;
  size_t end = start;
  while (end < key.size() && isDigit(key[end])) ++end;
  if (key.find_first_of("0123456789", end) != std::string::npos || end - start > 18) {
    return std::nullopt;
  }
  return std::make_pair(key.substr(0, start) + "#" + key.substr(end),
                        std::stoull(key.substr(start, end - start)));
}

constexpr char kAxes[] = {'x', 'y', 'z'};

}  // namespace

bool iscoordinatename(std::string_view name) { return coordinateName(name).has_value(); }

TableColumns tablecolumns(const std::vector<std::string>& names, const std::string& fname,
                          long line) {
  TableColumns result;
  const size_t count = names.size();
  auto column = [&names](size_t i) {
    return "column " + std::to_string(i + 1) + " " + quotedtext(names[i]);
  };

  // A name given twice leaves it open which column is meant.
  std::map<std::string, size_t> seen;
  for (size_t i = 0; i < count; ++i) {
    if (names[i].empty()) continue;
    const auto [earlier, added] = seen.emplace(names[i], i);
    if (!added) {
      throw InputError(fname, line,
                       "the header names " + quotedtext(names[i]) + " twice (columns " +
                           std::to_string(earlier->second + 1) + " and " + std::to_string(i + 1) +
                           "); each column needs a name of its own");
    }
  }

  result.idColumn = count == 0 || !coordinateName(names[0]);
  result.sizeColumn = count > 1 && isSizeName(names.back());
  const size_t firstValue = result.idColumn ? 1 : 0;
  const size_t endValue = count - (result.sizeColumn ? 1 : 0);

  std::vector<CoordinateName> named;
  std::vector<size_t> others;
  bool landmarkColumn = false;
  for (size_t i = firstValue; i < endValue; ++i) {
    std::optional<CoordinateName> c = coordinateName(names[i]);
    if (c) {
      named.push_back(std::move(*c));
    } else {
      others.push_back(i);
      landmarkColumn = landmarkColumn || isLandmarkName(names[i]);
    }
  }
  const bool bare = !named.empty() && std::all_of(named.begin(), named.end(),
                                                  [](const auto& c) { return c.key.empty(); });
  if (bare && (landmarkColumn || !others.empty())) {
    std::string listed;
    for (const std::string& name : names) listed += (listed.empty() ? "" : ", ") + quotedtext(name);
    throw InputError(fname, line,
                     "the table has one row per landmark: reshape to one row per specimen, "
                     "with the columns x1, y1, z1, x2, ... (2D: x1, y1, x2, ...); its columns "
                     "are " +
                         listed);
  }
  if (!others.empty()) {
    throw InputError(fname, line,
                     column(others.front()) +
                         " is neither a coordinate (x1, y1, z1, x2, ...), the specimen ID (the "
                         "first column) nor the size (a last column named size or cs); rename "
                         "it or remove it");
  }
  if (named.empty()) {
    throw InputError(fname, line,
                     "the header names no coordinate column; name them x1, y1, z1, x2, ... (2D: "
                     "x1, y1, x2, ...)");
  }
  result.bareAxes = bare;

  bool hasAxis[3] = {false, false, false};
  for (const CoordinateName& c : named) hasAxis[c.axis] = true;
  result.dims = hasAxis[2] ? 3 : 2;

  // The landmarks, by number where every name gives one alike, else in the
  // order they first appear.
  std::vector<std::string> keys;
  std::unordered_map<std::string, size_t> landmarkOf;
  for (const CoordinateName& c : named) {
    if (landmarkOf.emplace(c.key, keys.size()).second) keys.push_back(c.key);
  }
  std::vector<std::optional<std::pair<std::string, uint64_t>>> numbers;
  for (const std::string& key : keys) numbers.push_back(numbered(key));
  const bool byNumber = std::all_of(numbers.begin(), numbers.end(), [&numbers](const auto& n) {
    return n && n->first == numbers.front()->first;
  });
  if (byNumber) {
    std::vector<size_t> order(keys.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&numbers](size_t a, size_t b) {
      return numbers[a]->second < numbers[b]->second;
    });
    std::vector<std::string> sorted;
    for (size_t i : order) {
      landmarkOf[keys[i]] = sorted.size();
      sorted.push_back(keys[i]);
    }
    keys = std::move(sorted);
  }

  const auto dims = static_cast<size_t>(result.dims);
  std::vector<long> columnOf(keys.size() * dims, -1);
  for (size_t n = 0; n < named.size(); ++n) {
    const size_t landmark = landmarkOf.at(named[n].key);
    const size_t at = landmark * dims + static_cast<size_t>(named[n].axis);
    const size_t file = firstValue + n;
    if (columnOf[at] >= 0) {
      throw InputError(fname, line,
                       column(static_cast<size_t>(columnOf[at])) + " and " + column(file) +
                           " both name " + kAxes[named[n].axis] + " of one landmark");
    }
    columnOf[at] = static_cast<long>(file);
    result.place.push_back(static_cast<Eigen::Index>(at));
  }
  for (size_t at = 0; at < columnOf.size(); ++at) {
    if (columnOf[at] >= 0) continue;
    // The landmark's first column names it in the message.
    const size_t landmark = at / dims;
    long given = -1;
    for (size_t a = landmark * dims; a < (landmark + 1) * dims; ++a) {
      if (columnOf[a] >= 0 && (given < 0 || columnOf[a] < given)) given = columnOf[a];
    }
    throw InputError(fname, line,
                     "the header names no " + std::string(1, kAxes[at % dims]) +
                         " column for the landmark of " + column(static_cast<size_t>(given)) +
                         "; every landmark needs " + (dims == 3 ? "x, y and z" : "x and y"));
  }
  return result;
}

}  // namespace tarvolin::detail
