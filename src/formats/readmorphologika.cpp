#include "formats/readmorphologika.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <optional>
#include <vector>

#include "core/errors.h"
#include "core/str2num.h"
#include "core/withoutbom.h"
#include "formats/readcoordinate.h"
#include "formats/textscan.h"
#include "landmarks/rowblocks.h"

namespace tarvolin {
namespace {

using textscan::isBlank;
using textscan::isLineEnd;
using textscan::Lines;
using textscan::quoted;
using textscan::sameWord;
using textscan::trimmed;
using textscan::wholeNumber;

// The name inside a line [name], trimmed; nothing for any other line.
std::optional<std::string_view> headerOf(std::string_view line) {
  line = trimmed(line);
  if (line.size() < 2 || line.front() != '[' || line.back() != ']') return std::nullopt;
  return trimmed(line.substr(1, line.size() - 2));
}

// A line that says nothing: blank, or a comment starting with '.
bool isEmptyLine(std::string_view line) {
  line = trimmed(line);
  return line.empty() || line[0] == '\'';
}

enum Block { none, individuals, landmarks, dimensions, names, rawpoints, wireframe, other };
constexpr std::array<const char*, 7> kBlockNames = {
    "", "individuals", "landmarks", "dimensions", "names", "rawpoints", "wireframe"};

struct WireframeLine {
  uint64_t from = 0;
  uint64_t to = 0;
  long line = 0;
};

class MorphologikaReader {
 public:
  MorphologikaReader(std::string_view text, const std::string& fname, const ReadOptions& options)
      : fname_(fname), options_(options) {
    text = withoutbom(text, fname);
    lines_.text = text;
  }

  LandmarkSet read() {
    while (!lines_.atEnd()) {
      if (rawpointsDue_) {
        rawpointsDue_ = false;
        readRawpoints(lines_);
        continue;
      }
      const std::string_view line = lines_.next();
      if (isEmptyLine(line)) continue;
      if (const std::optional<std::string_view> name = headerOf(line)) {
        openBlock(*name);
      } else {
        readLine(trimmed(line));
      }
    }
    // A [rawpoints] header on the last line still owes its points.
    for (const Block required : {individuals, landmarks, dimensions, rawpoints}) {
      if (headerLine_[required] == 0) {
        fail(0, "the file has no [" + std::string(kBlockNames[required]) + "] block");
      }
      if (required != rawpoints && counts_[required] == 0) {
        fail(headerLine_[required], "[" + std::string(kBlockNames[required]) + "] holds no number");
      }
    }
    if (headerLine_[names] != 0 && names_.size() != specimens()) {
      fail(headerLine_[names], "[names] holds " + std::to_string(names_.size()) +
                                   " names but [individuals] is " + std::to_string(specimens()));
    }
    if (rawpointsLater_) readLaterRawpoints();
    // Nothing below is made for a specimen the points did not show to be there.
    if (static_cast<uint64_t>(coords_.rows()) != specimens()) {
      refuseShortRawpoints(0, headerLine_[rawpoints]);
    }

    LandmarkSet set;
    set.dims = dims();
    set.coords = std::move(coords_);
    set.wireframe = wireframePairs();
    set.ids = ids();
    set.path = fname_;
    finishlandmarkset(set);
    return set;
  }

 private:
  uint64_t specimens() const { return counts_[individuals]; }
  uint64_t landmarkCount() const { return counts_[landmarks]; }
  int dims() const { return static_cast<int>(counts_[dimensions]); }

  void openBlock(std::string_view name) {
    block_ = other;
    for (size_t b = individuals; b <= wireframe; ++b) {
      if (sameWord(name, kBlockNames[b])) block_ = static_cast<Block>(b);
    }
    // [groups], [labels], [labelvalues], [polygons] and others: nothing is read from them.
    if (block_ == other) return;
    if (headerLine_[block_] != 0) {
      fail(lines_.number, "[" + std::string(name) + "] is given twice; the first is line " +
                              std::to_string(headerLine_[block_]));
    }
    headerLine_[block_] = lines_.number;
    if (block_ != rawpoints) return;
    if (counts_[individuals] != 0 && counts_[landmarks] != 0 && counts_[dimensions] != 0) {
      rawpointsDue_ = true;
    } else {
      // The counts come after the points: read them once the counts are known.
      rawpointsLater_ = lines_;
    }
  }

  void readLine(std::string_view line) {
    switch (block_) {
      case none:
        fail(lines_.number,
             quoted(line) + " stands before the first block header such as [individuals]");
      case individuals:
      case landmarks:
      case dimensions:
        readCount(line);
        break;
      case names:
        names_.push_back(line);
        nameLines_.push_back(lines_.number);
        break;
      case rawpoints:
        // What is left of the block once its points are read, unless they are read later.
        if (!rawpointsLater_) refuseExtraPoint();
        break;
      case wireframe:
        readWireframeLine(line);
        break;
      case other:
        break;
    }
  }

  void readCount(std::string_view line) {
    const std::string name = "[" + std::string(kBlockNames[block_]) + "]";
    if (counts_[block_] != 0) fail(lines_.number, name + " holds more than one value");
    const std::optional<uint64_t> value = wholeNumber(line);
    if (!value || *value == 0) {
      fail(lines_.number, name + " is " + quoted(line) + "; it must be a whole number above 0");
    }
    if (block_ == dimensions && *value != 2 && *value != 3) {
      fail(lines_.number, name + " is " + std::to_string(*value) + "; it must be 2 or 3");
    }
    counts_[block_] = *value;
  }

  void readWireframeLine(std::string_view line) {
    uint64_t ends[2] = {0, 0};
    int found = 0;
    for (size_t at = 0; at < line.size();) {
      size_t end = at;
      while (end < line.size() && !isBlank(line[end])) ++end;
      const std::optional<uint64_t> landmark = wholeNumber(line.substr(at, end - at));
      if (!landmark || *landmark == 0) {
        fail(lines_.number, "[wireframe]: " + quoted(line.substr(at, end - at)) +
                                " is not a landmark number (1, 2, ...)");
      }
      if (found < 2) ends[found] = *landmark;
      ++found;
      for (at = end; at < line.size() && isBlank(line[at]);) ++at;
    }
    if (found != 2) {
      fail(lines_.number, "[wireframe]: the line holds " + std::to_string(found) +
                              " landmark numbers; a wireframe line joins two");
    }
    wireframe_.push_back({ends[0], ends[1], lines_.number});
  }

  std::vector<std::pair<int, int>> wireframePairs() const {
    std::vector<std::pair<int, int>> pairs;
    pairs.reserve(wireframe_.size());
    for (const WireframeLine& w : wireframe_) {
      if (std::max(w.from, w.to) > landmarkCount()) {
        fail(w.line, "[wireframe]: landmark " + std::to_string(std::max(w.from, w.to)) +
                         " is not one of the " + std::to_string(landmarkCount()) +
                         " landmarks [landmarks] declares");
      }
      pairs.emplace_back(static_cast<int>(w.from), static_cast<int>(w.to));
    }
    return pairs;
  }

  // Reads the N x k landmark lines of [rawpoints] from `lines`, which stops
  // after the last one.
  void readRawpoints(Lines& lines) {
    // A landmark line is d numbers and d blanks or line ends at the least:
    // the matrix made is never more than a few times the text.
    const uint64_t available = lines.text.size() - lines.pos + 1;
    const auto d = static_cast<uint64_t>(dims());
    if (specimens() > available || landmarkCount() > available ||
        specimens() > available / landmarkCount() / (2 * d)) {
      // More than the text can hold: count what is there, to say where it
      // ends, rather than making room for what is not.
      uint64_t found = 0;
      while (!lines.atEnd()) {
        const std::string_view line = lines.next();
        if (headerOf(line)) break;
        if (!isEmptyLine(line)) ++found;
      }
      refuseShortRawpoints(found, lines.number);
    }
    coords_.resize(static_cast<Eigen::Index>(specimens()),
                   static_cast<Eigen::Index>(landmarkCount() * d));
    const uint64_t points = specimens() * landmarkCount();
    RowBlocks rows(coords_);
    for (uint64_t point = 0; point < points;) {
      if (lines.atEnd()) refuseShortRawpoints(point, lines.number);
      if (!atNumber(lines)) {
        Lines ahead = lines;
        const std::string_view line = ahead.next();
        if (headerOf(line)) refuseShortRawpoints(point, ahead.number);
        if (isEmptyLine(line)) {
          lines = ahead;
          continue;
        }
      }
      readPointLine(lines, point, rows);
      ++point;
    }
    rows.finish();
  }

  // True when the next line starts with a number: the common case, read at once.
  static bool atNumber(const Lines& lines) {
    size_t i = lines.pos;
    while (i < lines.text.size() && isBlank(lines.text[i])) ++i;
    if (i == lines.text.size()) return false;
    const char c = lines.text[i];
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.';
  }

  void readPointLine(Lines& lines, uint64_t point, RowBlocks& rows) {
    const std::string_view text = lines.text;
    size_t i = lines.pos;
    ++lines.number;
    const auto specimen = static_cast<Eigen::Index>(point / landmarkCount());
    const auto first = static_cast<Eigen::Index>(point % landmarkCount()) * dims();
    int count = 0;
    while (true) {
      while (i < text.size() && isBlank(text[i])) ++i;
      if (i == text.size() || isLineEnd(text[i])) break;
      const double value = coordinate(text, i, lines.number, point);
      if (count < dims()) rows(specimen, first + count) = value;
      ++count;
    }
    if (i < text.size()) i += text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
    lines.pos = i;
    if (count != dims()) {
      fail(lines.number, pointName(point) + ": the line has " + std::to_string(count) +
                             " numbers, [dimensions] is " + std::to_string(dims()));
    }
  }

  // The coordinate that starts at text[i], which it moves past; NaN for a missing one.
  double coordinate(std::string_view text, size_t& i, long line, uint64_t point) const {
    double value = 0;
    const size_t length = parseNumber(text.substr(i), value);
    const size_t end = i + length;
    if (length > 0 && (end == text.size() || isBlank(text[end]) || isLineEnd(text[end])) &&
        std::isfinite(value) && !(options_.missingCode && value == *options_.missingCode)) {
      i = end;
      return value;
    }
    size_t tokenEnd = i;
    while (tokenEnd < text.size() && !isBlank(text[tokenEnd]) && !isLineEnd(text[tokenEnd])) {
      ++tokenEnd;
    }
    const std::string_view token = text.substr(i, tokenEnd - i);
    i = tokenEnd;
    const Coordinate c = readcoordinate(token, options_);
    if (c.kind == Coordinate::number) return c.value;
    if (c.kind == Coordinate::missing) return std::numeric_limits<double>::quiet_NaN();
    fail(line, pointName(point) + ": " + quoted(token) + " " + c.problemText());
  }

  // Reads [rawpoints] standing before the counts, now they are known.
  void readLaterRawpoints() {
    Lines lines = *rawpointsLater_;
    readRawpoints(lines);
    while (!lines.atEnd()) {
      const std::string_view line = lines.next();
      if (headerOf(line)) break;
      if (!isEmptyLine(line)) {
        lines_ = lines;
        refuseExtraPoint();
      }
    }
  }

  std::vector<std::string> ids() const {
    std::vector<std::string> ids;
    ids.reserve(specimens());
    for (uint64_t i = 0; i < specimens(); ++i) {
      ids.push_back(names_.empty() ? std::to_string(i + 1) : std::string(names_[i]));
    }
    std::vector<size_t> order(ids.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&ids](size_t a, size_t b) { return ids[a] < ids[b]; });
    for (size_t i = 1; i < order.size() && !options_.repeatedIds; ++i) {
      if (ids[order[i - 1]] != ids[order[i]]) continue;
      fail(nameLines_[order[i]], "[names]: specimens " + std::to_string(order[i - 1] + 1) +
                                     " and " + std::to_string(order[i] + 1) + " are both " +
                                     quoted(ids[order[i]]) +
                                     "; each specimen needs a name of its own");
    }
    return ids;
  }

  // "landmark 3 of specimen "b" (2)" for the landmark line `point` of [rawpoints].
  std::string pointName(uint64_t point) const {
    const uint64_t specimen = point / landmarkCount();
    const std::string number = std::to_string(specimen + 1);
    return "landmark " + std::to_string(point % landmarkCount() + 1) + " of specimen " +
           (specimen < names_.size() ? quoted(names_[specimen]) + " (" + number + ")" : number);
  }

  [[noreturn]] void refuseShortRawpoints(uint64_t found, long line) const {
    if (found == 0) {
      fail(line, "[rawpoints] is empty, but " + std::to_string(specimens()) + " specimens of " +
                     std::to_string(landmarkCount()) + " landmarks were declared");
    }
    fail(line, "[rawpoints] ends after " + std::to_string(found) + " landmark lines, where " +
                   std::to_string(specimens()) + " specimens of " +
                   std::to_string(landmarkCount()) + " landmarks were declared; " +
                   pointName(found) + " is not there");
  }

  [[noreturn]] void refuseExtraPoint() const {
    fail(lines_.number, "[rawpoints] holds more than the " + std::to_string(specimens()) +
                            " specimens of " + std::to_string(landmarkCount()) +
                            " landmarks declared; this line is extra");
  }

  [[noreturn]] void fail(long line, const std::string& message) const {
    throw InputError(fname_, line, message);
  }

  const std::string& fname_;
  const ReadOptions& options_;
  Lines lines_;
  Block block_ = none;
  std::array<long, kBlockNames.size()> headerLine_{};
  std::array<uint64_t, kBlockNames.size()> counts_{};
  bool rawpointsDue_ = false;
  std::optional<Lines> rawpointsLater_;
  Eigen::MatrixXd coords_;
  std::vector<std::string_view> names_;
  std::vector<long> nameLines_;
  std::vector<WireframeLine> wireframe_;
};

}  // namespace

LandmarkSet readmorphologika(std::string_view text, const std::string& fname,
                             const ReadOptions& options) {
  return MorphologikaReader(text, fname, options).read();
}

}  // namespace tarvolin
