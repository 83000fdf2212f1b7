#include "formats/detectlandmarkformat.h"

#include <array>
#include <cctype>
#include <vector>

#include "core/errors.h"
#include "core/lineendof.h"
#include "core/quotedtext.h"
#include "core/str2num.h"
#include "core/texthelpers.h"
#include "core/withoutbom.h"

namespace tarvolin {
namespace {

constexpr size_t kLookedAt = 64 * 1024;

// The lines of the start of `text`, split at its own line end (lineendof);
// the other of CR and LF is a blank within a line.
std::vector<std::string_view> firstLines(std::string_view text) {
  std::vector<std::string_view> lines;
  text = text.substr(0, kLookedAt);
  const char lineEnd = lineendof(text);
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == lineEnd) {
      lines.push_back(text.substr(start, i - start));
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

// A number, or a coordinate not measured as R and its kin write it.
bool isNumberOrMissing(std::string_view word) {
  const std::string l = lowered(word);
  return l == "na" || l == "nan" || isNumber(word);
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
  const std::string l = lowered(trimmed(line, kBlanksAndLineEnds));
  return l.starts_with("lm=") || l.starts_with("lm3=");
}

bool isMorphologikaHeader(std::string_view line) {
  static constexpr std::array<std::string_view, 5> kBlocks = {
      "[individuals]", "[landmarks]", "[dimensions]", "[rawpoints]", "[names]"};
  const std::string l = lowered(trimmed(line, kBlanksAndLineEnds));
  for (std::string_view block : kBlocks) {
    if (l == block) return true;
  }
  return false;
}

// Every word of the line, between blanks and commas, is a number or NA.
bool isRowOfNumbers(std::string_view line) {
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && isNumberSeparator(line[i])) ++i;
    const size_t start = i;
    while (i < line.size() && !isNumberSeparator(line[i])) ++i;
    if (i > start && !isNumberOrMissing(line.substr(start, i - start))) return false;
  }
  return true;
}

// The line has fields apart: a comma, semicolon or tab outside quotes.
bool hasDelimiter(std::string_view line) {
  bool inQuotes = false;
  for (char c : line) {
    if (c == '"') {
      inQuotes = !inQuotes;
    } else if (!inQuotes && (c == ',' || c == ';' || c == '\t')) {
      return true;
    }
  }
  return false;
}

// A first field in quotes that closes before a delimiter: a table's row
// ("id","x1",...) as R writes it, not an NTS comment.
bool opensWithQuotedField(std::string_view line) {
  if (!line.starts_with('"')) return false;
  size_t i = 1;
  while (i < line.size()) {
    if (line[i] != '"') {
      ++i;
    } else if (i + 1 < line.size() && line[i + 1] == '"') {
      i += 2;
    } else {
      break;
    }
  }
  if (i >= line.size()) return false;
  ++i;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\r' || line[i] == '\n')) ++i;
  return i < line.size() && (line[i] == ',' || line[i] == ';' || line[i] == '\t');
}

// Two or more quoted fields apart by blanks: the header of a table as R's
// write.table writes it ("x1" "y1" "x2" "y2").
bool isBlankSeparatedQuotedRow(std::string_view line) {
  size_t fields = 0;
  size_t i = 0;
  while (true) {
    while (i < line.size() && line[i] == ' ') ++i;
    if (i == line.size()) return fields >= 2;
    if (line[i] != '"') return false;
    for (++i; i < line.size(); ++i) {
      if (line[i] != '"') continue;
      if (i + 1 < line.size() && line[i + 1] == '"') {
        ++i;
        continue;
      }
      break;
    }
    if (i == line.size()) return false;
    ++i;
    ++fields;
    if (i < line.size() && line[i] != ' ') return false;
  }
}

bool isNtsComment(std::string_view trimmedLine) {
  return trimmedLine.starts_with('"') || trimmedLine.starts_with('\'');
}

// The first line that is not an NTS comment is the NTS parameter line.
bool ntsParameterLineFollows(const std::vector<std::string_view>& lines) {
  for (std::string_view line : lines) {
    const std::string_view t = trimmed(line, kBlanksAndLineEnds);
    if (t.empty() || isNtsComment(t)) continue;
    return isNtsParameterLine(t);
  }
  return false;
}

// The 1-based number of the first line that is not blank.
size_t firstLineNumber(const std::vector<std::string_view>& lines) {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!trimmed(lines[i], kBlanksAndLineEnds).empty()) return i + 1;
  }
  return 1;
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
  text = withoutbom(text, fname);
  const std::vector<std::string_view> lines = firstLines(text);

  std::string_view first;
  for (std::string_view line : lines) {
    if (!trimmed(line, kBlanksAndLineEnds).empty()) {
      first = trimmed(line, kBlanksAndLineEnds);
      break;
    }
  }
  // A first line longer than what is looked at (a row of thousands of
  // landmarks) ends in the middle of a number: that last piece says nothing.
  const bool cut = text.size() >= kLookedAt && lines.size() == 1;
  if (cut) {
    size_t end = first.size();
    while (end > 0 && !isNumberSeparator(first[end - 1])) --end;
    first = trimmed(first.substr(0, end), kBlanksAndLineEnds);
    // No separator at all: enough of it to quote.
    if (first.empty()) first = text.substr(0, 2 * kQuotedCharacters);
  }
  if (first.empty()) throw InputError(fname, "holds no landmark data: every line is blank");
  if (first.front() == '{') return LandmarkFormat::mrkjson;

  for (std::string_view line : lines) {
    const std::string l = lowered(trimmed(line, kBlanksAndLineEnds));
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
  if (first.front() == '"') {
    if (ntsParameterLineFollows(lines)) return LandmarkFormat::nts;
    if (opensWithQuotedField(first)) return LandmarkFormat::csv;
    if (isBlankSeparatedQuotedRow(first)) return LandmarkFormat::csv;
    return LandmarkFormat::nts;
  }
  // 3D digitizing programs open their NTS (.dta) files with ' lines.
  if (first.front() == '\'' && ntsParameterLineFollows(lines)) return LandmarkFormat::nts;
  if (isNtsParameterLine(first)) return LandmarkFormat::nts;
  // Semicolons part the fields of a table even when they are all numbers
  // (with a decimal comma, 1,5 is one number).
  if (first.find(';') != std::string_view::npos) return LandmarkFormat::csv;
  if (isRowOfNumbers(first)) return LandmarkFormat::zor;
  if (hasDelimiter(first)) return LandmarkFormat::csv;
  throw InputError(fname, "is not a landmark file in any format Tarvolin reads; line " +
                              std::to_string(firstLineNumber(lines)) + " (" + quotedtext(first) +
                              ") is neither a row of numbers, a table's row (fields apart by "
                              "commas, semicolons or tabs) nor a line of TPS, NTS, Morphologika "
                              "or 3D Slicer; use --format to name the format it is in");
}

}  // namespace tarvolin
