#include "detectlandmarkformat.h"

#include <array>
#include <cctype>
#include <vector>

#include "platform/errors.h"
#include "platform/str2num.h"

namespace tarvolin {
namespace {

constexpr size_t kLookedAt = 64 * 1024;

std::string lowered(std::string_view text) {
  std::string s(text);
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

// The lines of the start of `text`; a lone CR ends a line too.
std::vector<std::string_view> firstLines(std::string_view text) {
  std::vector<std::string_view> lines;
  text = text.substr(0, kLookedAt);
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == '\n' || text[i] == '\r') {
      lines.push_back(text.substr(start, i - start));
      if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  return lines;
}

std::vector<std::string_view> words(std::string_view line) {
  std::vector<std::string_view> result;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
    const size_t start = i;
    while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) ++i;
    if (i > start) result.push_back(line.substr(start, i - start));
  }
  return result;
}

bool isCount(std::string_view word, bool labelsAllowed) {
  if (labelsAllowed && !word.empty() && (word.back() == 'L' || word.back() == 'l')) {
    word.remove_suffix(1);
  }
  if (word.empty()) return false;
  for (char c : word) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

bool isNumber(std::string_view word) {
  double value = 0;
  return !word.empty() && parseNumber(word, value) == word.size();
}

// 1 N[L] P[L] M [code] [DIM=d]
bool isNtsParameterLine(std::string_view line) {
  const std::vector<std::string_view> w = words(line);
  if (w.size() < 4 || w.size() > 6 || w[0] != "1") return false;
  if (!isCount(w[1], true) || !isCount(w[2], true) || (w[3] != "0" && w[3] != "1")) return false;
  size_t next = 4;
  if (w[3] == "1") {
    if (w.size() < 5 || !isNumber(w[4])) return false;
    next = 5;
  }
  if (next == w.size()) return true;
  return next + 1 == w.size() && lowered(w[next]).starts_with("dim=");
}

bool isTpsKeywordLine(std::string_view line) {
  const std::string l = lowered(trimmed(line));
  return l.starts_with("lm=") || l.starts_with("lm3=");
}

bool isMorphologikaHeader(std::string_view line) {
  static constexpr std::array<std::string_view, 5> kBlocks = {
      "[individuals]", "[landmarks]", "[dimensions]", "[rawpoints]", "[names]"};
  const std::string l = lowered(trimmed(line));
  for (std::string_view block : kBlocks) {
    if (l == block) return true;
  }
  return false;
}

// A row of a table holds a field that is not a number: a header or an ID.
bool isTableRow(std::string_view line) {
  if (line.find(';') != std::string_view::npos) return true;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && isNumberSeparator(line[i])) ++i;
    const size_t start = i;
    while (i < line.size() && !isNumberSeparator(line[i])) ++i;
    if (i > start && !isNumber(line.substr(start, i - start))) return true;
  }
  return false;
}

}  // namespace

std::string_view landmarkformatname(LandmarkFormat format) {
  switch (format) {
    case LandmarkFormat::zor:
      return "zor";
    case LandmarkFormat::tps:
      return "tps";
    case LandmarkFormat::nts:
      return "nts";
    case LandmarkFormat::morphologika:
      return "morphologika";
    case LandmarkFormat::csv:
      return "csv";
    case LandmarkFormat::fcsv:
      return "fcsv";
    case LandmarkFormat::mrkjson:
      return "mrkjson";
  }
  return "zor";
}

LandmarkFormat detectlandmarkformat(std::string_view text, const std::string& fname) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  const std::vector<std::string_view> lines = firstLines(text);

  std::string_view first;
  for (std::string_view line : lines) {
    if (!trimmed(line).empty()) {
      first = trimmed(line);
      break;
    }
  }
  // A first line longer than what is looked at (a row of thousands of
  // landmarks) ends in the middle of a number: that last piece says nothing.
  const bool cut = text.size() >= kLookedAt && lines.size() == 1;
  if (cut) {
    size_t end = first.size();
    while (end > 0 && !isNumberSeparator(first[end - 1])) --end;
    first = trimmed(first.substr(0, end));
    if (first.empty()) first = text.substr(0, 1);
  }
  if (first.empty()) throw InputError(fname, "holds no landmark data: every line is blank");
  if (first.front() == '{') return LandmarkFormat::mrkjson;

  for (std::string_view line : lines) {
    const std::string l = lowered(trimmed(line));
    if (l.starts_with("#") &&
        (l.find("markups fiducial") != std::string::npos ||
         l.find("columns =") != std::string::npos || l.find("columns=") != std::string::npos)) {
      return LandmarkFormat::fcsv;
    }
  }
  for (std::string_view line : lines) {
    if (isMorphologikaHeader(line)) return LandmarkFormat::morphologika;
  }
  for (std::string_view line : lines) {
    if (isTpsKeywordLine(line)) return LandmarkFormat::tps;
  }
  if (first.front() == '"' || isNtsParameterLine(first)) return LandmarkFormat::nts;
  if (isTableRow(first)) return LandmarkFormat::csv;
  return LandmarkFormat::zor;
}

}  // namespace tarvolin
