#include "formats/readtps.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <optional>
#include <vector>

#include "core/errors.h"
#include "core/lineendof.h"
#include "core/str2num.h"
#include "core/withoutbom.h"
#include "formats/readcoordinate.h"
#include "formats/refusemixedscales.h"
#include "formats/textscan.h"

namespace tarvolin {
namespace {

using textscan::isBlank;
using textscan::isLineEnd;
using textscan::Lines;
using textscan::plural;
using textscan::quoted;
using textscan::sameWord;
using textscan::trimmed;

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool isBlankLine(std::string_view line) { return std::all_of(line.begin(), line.end(), isBlank); }

// A line KEY=value, both parts trimmed; blanks may stand around the =.
struct Keyword {
  std::string_view key;
  std::string_view value;
};

std::optional<Keyword> keywordOf(std::string_view line) {
  line = trimmed(line);
  if (line.empty() || !isLetter(line[0])) return std::nullopt;
  size_t i = 1;
  while (i < line.size() &&
         (isLetter(line[i]) || (line[i] >= '0' && line[i] <= '9') || line[i] == '_')) {
    ++i;
  }
  const std::string_view key = line.substr(0, i);
  while (i < line.size() && isBlank(line[i])) ++i;
  if (i == line.size() || line[i] != '=') return std::nullopt;
  return Keyword{key, trimmed(line.substr(i + 1))};
}

bool opensRecord(const Keyword& keyword) {
  return sameWord(keyword.key, "lm") || sameWord(keyword.key, "lm3");
}

// The number of whitespace-separated fields of a line.
int fieldCount(std::string_view line) {
  int count = 0;
  for (size_t i = 0; i < line.size();) {
    while (i < line.size() && isBlank(line[i])) ++i;
    if (i == line.size()) break;
    ++count;
    while (i < line.size() && !isBlank(line[i])) ++i;
  }
  return count;
}

class TpsReader {
 public:
  TpsReader(std::string_view text, const std::string& fname, const ReadOptions& options)
      : fname_(fname), options_(options) {
    // A byte-order mark is what some editors put before the first keyword;
    // UTF-16 text would read as no record at all, with no word of why.
    text = withoutbom(text, fname);
    lines_.text = text;
    lines_.lineEnd = lineendof(text);
  }

  LandmarkSet read() {
    while (!lines_.atEnd()) {
      if (remaining_ > 0 && atCoordinateLine()) {
        readCoordinateLine();
        continue;
      }
      const std::string_view line = lines_.next();
      if (isBlankLine(line)) continue;
      const std::optional<Keyword> keyword = keywordOf(line);
      if (!keyword) refuseLine(line);
      if (remaining_ > 0) refuseShortBlock();
      readKeyword(*keyword);
    }
    if (remaining_ > 0) refuseShortBlock();
    if (curvesLeft_ > 0) refuseMissingCurves();
    finishRecord();
    if (!inRecord_) throw InputError(fname_, "the file holds no LM= or LM3= record");
    return landmarkSet();
  }

 private:
  // Where a record starts, for naming it in errors by the ID it gives further on.
  struct RecordStart {
    size_t index = 0;
    long line = 0;
    Lines body;
  };

  void readKeyword(const Keyword& keyword) {
    if (opensRecord(keyword)) {
      if (curvesLeft_ > 0) refuseMissingCurves();
      finishRecord();
      openRecord(keyword);
      return;
    }
    const bool points = sameWord(keyword.key, "points");
    if (curvesLeft_ > 0 && !points) refuseMissingCurves();
    const bool curves = sameWord(keyword.key, "curves") || sameWord(keyword.key, "outlines");
    const bool id = sameWord(keyword.key, "id");
    const bool image = sameWord(keyword.key, "image");
    const bool scale = sameWord(keyword.key, "scale");
    if (!inRecord_) {
      if (points || curves || id || image || scale) {
        fail(lines_.number,
             std::string(keyword.key) + "= comes before the first LM= line that opens a record");
      }
      return;
    }
    if (points) {
      if (curvesLeft_ == 0) {
        fail(lines_.number, recordName() + ": POINTS= without a CURVES= or OUTLINES= line " +
                                "announcing one more curve");
      }
      --curvesLeft_;
      openBlock(keyword, false);
      curveSizes_.push_back(static_cast<int>(std::min<uint64_t>(blockSize_, INT_MAX)));
    } else if (curves) {
      once(curvesLine_, keyword);
      curvesLeft_ = countOf(keyword);
      curvesKeyword_ = keyword.key;
      curvesDeclared_ = curvesLeft_;
    } else if (id) {
      once(idLine_, keyword);
      id_ = keyword.value;
    } else if (image) {
      once(imageLine_, keyword);
      image_ = keyword.value;
    } else if (scale) {
      once(scaleLine_, keyword);
      readScale(keyword.value);
    }
  }

  void openRecord(const Keyword& keyword) {
    inRecord_ = true;
    record_ = {recordIds_.size(), lines_.number, lines_};
    id_ = image_ = {};
    idLine_ = imageLine_ = scaleLine_ = curvesLine_ = 0;
    scale_ = 1;
    scaleGiven_ = false;
    landmarks_ = curvePoints_ = 0;
    curvesDeclared_ = 0;
    curveSizes_.clear();
    const bool threeD = sameWord(keyword.key, "lm3");
    const int recordDims = threeD ? 3 : lmDims();
    if (record_.index == 0) {
      dims_ = recordDims;
      firstKeyword_ = threeD ? "LM3=" : "LM=";
    } else if (recordDims != dims_) {
      fail(lines_.number, recordName() + " is " + std::to_string(recordDims) + "D (" +
                              (threeD ? "LM3=" : "LM=") + ") but " + firstName_ + " is " +
                              std::to_string(dims_) + "D (" + firstKeyword_ +
                              "); a file holds 2D or 3D records, not both");
    }
    openBlock(keyword, true);
  }

  // The dimension of LM= records: 3 when every coordinate line of the first
  // LM= record holds three numbers, else 2. The lines say it, so a caller's
  // expectation does not: a window for 3D data refuses a 2D file as such
  // instead of finding two numbers where it wanted three.
  int lmDims() {
    if (lmDims_ != 0) return lmDims_;
    Lines ahead = lines_;
    bool allThree = true;
    bool any = false;
    while (!ahead.atEnd() && allThree) {
      const std::string_view line = ahead.next();
      if (isBlankLine(line)) continue;
      const std::optional<Keyword> keyword = keywordOf(line);
      if (keyword && opensRecord(*keyword)) break;
      if (keyword) continue;
      any = true;
      allThree = fieldCount(line) == 3;
    }
    return lmDims_ = any && allThree ? 3 : 2;
  }

  void openBlock(const Keyword& keyword, bool landmarks) {
    remaining_ = countOf(keyword);
    // A coordinate line is a digit and a line end at the least.
    if (remaining_ > (lines_.text.size() - lines_.pos) / 2 + 1) {
      fail(lines_.number, recordName() + ": " +
                              quoted(std::string(keyword.key) + "=" + std::string(keyword.value)) +
                              " declares more " + (landmarks ? "landmarks" : "points") +
                              " than the file holds");
    }
    blockSize_ = remaining_;
    blockKeyword_ = keyword.key;
    blockLandmarks_ = landmarks;
  }

  // The count of LM=, LM3=, CURVES=, OUTLINES= or POINTS=: a whole number,
  // perhaps followed by a name, which is not used.
  uint64_t countOf(const Keyword& keyword) {
    const std::string_view value = keyword.value;
    uint64_t count = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), count);
    const size_t read = static_cast<size_t>(end - value.data());
    if (error != std::errc() || (read < value.size() && !isBlank(value[read]))) {
      fail(lines_.number, quoted(std::string(keyword.key) + "=" + std::string(value)) +
                              ": the count must be a whole number, 0 or more");
    }
    return count;
  }

  void once(long& line, const Keyword& keyword) {
    if (line != 0) {
      fail(lines_.number, recordName() + " has a second " + std::string(keyword.key) +
                              "= line; the first is line " + std::to_string(line));
    }
    line = lines_.number;
  }

  void readScale(std::string_view value) {
    // Some digitizing programs write SCALE= with nothing after it: no factor.
    if (value.empty()) return;
    scaleGiven_ = true;
    double factor = 0;
    if (parseNumber(value, factor) != value.size() || !std::isfinite(factor) || !(factor > 0)) {
      fail(lines_.number, recordName() + ": SCALE=" + quoted(value) +
                              " is not a scale factor (a finite number above 0)");
    }
    scale_ = factor;
  }

  // Within a line, the other of CR and LF than the file's line end is a
  // blank: the CR of a CRLF, or a stray CR inside the lines of an LF file.
  bool isBlankHere(char c) const { return isBlank(c) || (isLineEnd(c) && c != lines_.lineEnd); }

  // True when the next line holds coordinates: not blank and not KEY=value.
  bool atCoordinateLine() const {
    const std::string_view text = lines_.text;
    size_t i = lines_.pos;
    while (i < text.size() && isBlankHere(text[i])) ++i;
    if (i == text.size() || text[i] == lines_.lineEnd) return false;
    const char first = text[i];
    if ((first >= '0' && first <= '9') || first == '-' || first == '+' || first == '.') return true;
    size_t end = i;
    while (end < text.size() && !isLineEnd(text[end])) ++end;
    return !keywordOf(text.substr(i, end - i));
  }

  // Reads the next line, one of the coordinate lines a record or a curve
  // declares, straight from the text: the bulk of a file.
  void readCoordinateLine() {
    const std::string_view text = lines_.text;
    size_t i = lines_.pos;
    ++lines_.number;
    double values[3];
    int count = 0;
    while (true) {
      while (i < text.size() && isBlankHere(text[i])) ++i;
      if (i == text.size() || text[i] == lines_.lineEnd) break;
      const double value = coordinate(text, i);
      if (count < 3) values[count] = value;
      ++count;
    }
    if (i < text.size()) ++i;
    lines_.pos = i;
    if (count != dims_) {
      fail(lines_.number, recordName() + ": the line has " +
                              plural(static_cast<uint64_t>(count), "number") +
                              ", a landmark of a " + std::to_string(dims_) + "D file has " +
                              std::to_string(dims_));
    }
    store(values);
    --remaining_;
    ++(blockLandmarks_ ? landmarks_ : curvePoints_);
  }

  // Puts a point's coordinates in its place: the first record's in a buffer,
  // as the width of the matrix is not known before its end, every later
  // one's in the block of rows on its way to the matrix.
  void store(const double* values) {
    if (record_.index == 0) {
      first_.insert(first_.end(), values, values + dims_);
      return;
    }
    const uint64_t point = landmarks_ + curvePoints_;
    // A record with more points than the first is refused when it ends.
    if (point >= firstLandmarks_ + firstCurvePoints_) return;
    const auto row = static_cast<Eigen::Index>(record_.index % kBlockRows);
    for (int c = 0; c < dims_; ++c) {
      block_(row, static_cast<Eigen::Index>(point) * dims_ + c) = values[c];
    }
  }

  // Copies the block's first `rows` rows into the matrix, growing it when
  // the file held more records than were counted.
  void flushBlock(Eigen::Index rows) {
    const auto start = static_cast<Eigen::Index>(recordIds_.size()) - rows;
    if (start + rows > coords_.rows()) {
      coords_.conservativeResize(std::max(2 * coords_.rows(), start + rows), Eigen::NoChange);
    }
    coords_.middleRows(start, rows) = block_.topRows(rows);
  }

  // Reads the coordinate that starts at text[i] and moves i past it; NaN for
  // a missing one.
  double coordinate(std::string_view text, size_t& i) const {
    double value = 0;
    const size_t length = parseNumber(text.substr(i), value);
    const size_t end = i + length;
    if (length > 0 &&
        (end == text.size() || isBlank(text[end]) || text[end] == '\n' || text[end] == '\r') &&
        std::isfinite(value) && !(options_.missingCode && value == *options_.missingCode)) {
      i = end;
      return value;
    }
    size_t tokenEnd = i;
    while (tokenEnd < text.size() && !isBlank(text[tokenEnd]) && text[tokenEnd] != '\n' &&
           text[tokenEnd] != '\r') {
      ++tokenEnd;
    }
    const std::string_view token = text.substr(i, tokenEnd - i);
    i = tokenEnd;
    const Coordinate c = readcoordinate(token, options_);
    if (c.kind == Coordinate::number) return c.value;
    if (c.kind == Coordinate::missing) return std::numeric_limits<double>::quiet_NaN();
    fail(lines_.number, recordName() + ": " + quoted(token) + " " + c.problemText());
  }

  void finishRecord() {
    if (!inRecord_) return;
    if (landmarks_ + curvePoints_ == 0) {
      fail(record_.line, recordName() + " holds no landmarks and no curve points");
    }
    if (record_.index == 0) {
      firstLandmarks_ = landmarks_;
      firstCurvePoints_ = curvePoints_;
      firstCurveSizes_ = curveSizes_;
      firstName_ = recordName();
      startMatrix();
    } else if (landmarks_ != firstLandmarks_) {
      fail(record_.line, recordName() + " has " + plural(landmarks_, "landmark") + ", " +
                             firstName_ + " has " + std::to_string(firstLandmarks_));
    } else if (curvePoints_ != firstCurvePoints_) {
      fail(record_.line, recordName() + " has " + plural(curvePoints_, "curve point") + ", " +
                             firstName_ + " has " + std::to_string(firstCurvePoints_));
    } else if (curveSizes_ != firstCurveSizes_ && curvesDiffer_.empty()) {
      curvesDiffer_ = recordName();
    }
    // An empty ID= says no more than no ID= line: the IMAGE=, else the number.
    const std::string_view id = !id_.empty() ? id_ : image_;
    recordIds_.push_back(id.empty() ? std::to_string(record_.index + 1) : std::string(id));
    recordLines_.push_back(record_.line);
    numberedIdLines_.push_back(id.empty() ? NumberedId{true, idLine_} : NumberedId{});
    scales_.push_back(scale_);
    scaled_.push_back(scaleGiven_);
    if (recordIds_.size() % kBlockRows == 0) flushBlock(kBlockRows);
  }

  // Makes the matrix and its block of rows once the first record has shown
  // the width. The matrix has a row for each record the file opens, as many
  // as the text can hold of that width.
  void startMatrix() {
    const uint64_t width = (firstLandmarks_ + firstCurvePoints_) * static_cast<uint64_t>(dims_);
    const uint64_t rows = std::min<uint64_t>(recordCount(), lines_.text.size() / (2 * width) + 1);
    coords_.resize(static_cast<Eigen::Index>(rows), static_cast<Eigen::Index>(width));
    block_.resize(kBlockRows, static_cast<Eigen::Index>(width));
    block_.row(0) = Eigen::Map<const Eigen::RowVectorXd>(first_.data(), block_.cols());
    first_ = {};
  }

  // The count of lines that open a record, found through their "=".
  uint64_t recordCount() const {
    const std::string_view text = lines_.text;
    uint64_t count = 0;
    for (size_t at = text.find('='); at != std::string_view::npos; at = text.find('=', at + 1)) {
      size_t start = at;
      while (start > 0 && text[start - 1] != '\n' && text[start - 1] != '\r') --start;
      const std::string_view key = trimmed(text.substr(start, at - start));
      if (sameWord(key, "lm") || sameWord(key, "lm3")) ++count;
    }
    return count;
  }

  LandmarkSet landmarkSet() {
    const auto n = static_cast<Eigen::Index>(recordIds_.size());
    const auto k = static_cast<Eigen::Index>(firstLandmarks_ + firstCurvePoints_);
    if (!options_.repeatedIds) refuseRepeatedIds();
    LandmarkSet set;
    set.dims = dims_;
    if (n % kBlockRows != 0) flushBlock(n % kBlockRows);
    if (coords_.rows() != n) coords_.conservativeResize(n, Eigen::NoChange);
    set.coords = std::move(coords_);
    set.ids = std::move(recordIds_);
    if (firstCurvePoints_ > 0) {
      set.semilandmark.assign(static_cast<size_t>(k), true);
      std::fill_n(set.semilandmark.begin(), firstLandmarks_, false);
      if (curvesDiffer_.empty()) {
        set.curves = firstCurveSizes_;
      } else {
        set.notes.push_back(fname_ + ": " + curvesDiffer_ + " divides its curve points into " +
                            "curves otherwise than " + firstName_ +
                            ", so the curves do not say which points slide");
      }
    }
    const bool anyScaled = std::find(scaled_.begin(), scaled_.end(), true) != scaled_.end();
    if (options_.ignoreScale) {
      if (anyScaled) {
        set.notes.push_back(fname_ +
                            ": SCALE= not applied: sizes are in the raw units of every record");
      }
    } else if (anyScaled) {
      if (std::find(scaled_.begin(), scaled_.end(), false) != scaled_.end()) {
        std::vector<std::string> names;
        names.reserve(set.ids.size());
        for (size_t i = 0; i < set.ids.size(); ++i) {
          const bool numbered = set.ids[i] == std::to_string(i + 1);
          names.push_back("record " + std::to_string(i + 1) +
                          (numbered ? "" : " (ID " + quoted(set.ids[i]) + ")"));
        }
        refusemixedscales(scaled_, names, fname_);
      }
      set.scale = Eigen::Map<const Eigen::VectorXd>(scales_.data(), n);
    }
    set.path = fname_;
    finishlandmarkset(set);
    return set;
  }

  void refuseRepeatedIds() const {
    std::vector<size_t> order(recordIds_.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [this](size_t a, size_t b) { return recordIds_[a] < recordIds_[b]; });
    for (size_t i = 1; i < order.size(); ++i) {
      const size_t first = order[i - 1];
      const size_t second = order[i];
      if (recordIds_[first] != recordIds_[second]) continue;
      refuseNumberedId(second, first);
      refuseNumberedId(first, second);
      fail(recordLines_[second],
           "record " + std::to_string(second + 1) + " has the ID " + quoted(recordIds_[second]) +
               " of record " + std::to_string(first + 1) + " (line " +
               std::to_string(recordLines_[first]) + "); each specimen needs an ID of its own");
    }
  }

  // A record numbered for want of an ID whose number another record gives
  // as its ID: the message says why it has that number, as the file shows
  // no such ID.
  void refuseNumberedId(size_t numbered, size_t other) const {
    const NumberedId& why = numberedIdLines_[numbered];
    if (!why.numbered) return;
    const std::string name = "record " + std::to_string(numbered + 1);
    const std::string clash = ", which is the ID of record " + std::to_string(other + 1) +
                              " (line " + std::to_string(recordLines_[other]) +
                              "); each specimen needs an ID of its own";
    if (why.emptyIdLine != 0) {
      fail(why.emptyIdLine, "the ID= line of " + name + " is empty, so the record is numbered " +
                                quoted(recordIds_[numbered]) + clash);
    }
    fail(recordLines_[numbered], name + " has neither ID= nor IMAGE=, so it is numbered " +
                                     quoted(recordIds_[numbered]) + clash);
  }

  // "record 3 (ID "b")", with the ID the record gives anywhere, or "record 3".
  std::string recordName() const {
    std::string_view id;
    std::string_view image;
    Lines ahead = record_.body;
    while (!ahead.atEnd()) {
      const std::optional<Keyword> keyword = keywordOf(ahead.next());
      if (!keyword) continue;
      if (opensRecord(*keyword)) break;
      if (sameWord(keyword->key, "id") && id.empty()) id = keyword->value;
      if (sameWord(keyword->key, "image") && image.empty()) image = keyword->value;
    }
    if (id.empty()) id = image;
    const std::string name = "record " + std::to_string(record_.index + 1);
    return id.empty() ? name : name + " (ID " + quoted(id) + ")";
  }

  [[noreturn]] void refuseLine(std::string_view line) const {
    if (!inRecord_) {
      fail(lines_.number,
           quoted(trimmed(line)) + " comes before the first LM= line that opens a record");
    }
    size_t i = 0;
    while (i < line.size() && isBlank(line[i])) ++i;
    size_t end = i;
    while (end < line.size() && !isBlank(line[end])) ++end;
    const Coordinate::Kind kind = readcoordinate(line.substr(i, end - i), options_).kind;
    if (kind == Coordinate::number || kind == Coordinate::missing) {
      fail(lines_.number, recordName() + " has more coordinate lines than " +
                              std::string(blockKeyword_) + "=" + std::to_string(blockSize_) +
                              " declares");
    }
    fail(lines_.number, recordName() + ": " + quoted(trimmed(line)) +
                            " is not a line of a TPS record (LM=, coordinates, CURVES=, "
                            "POINTS=, IMAGE=, ID=, SCALE=, COMMENT=, ...)");
  }

  [[noreturn]] void refuseShortBlock() const {
    const uint64_t found = blockSize_ - remaining_;
    fail(lines_.number, recordName() + ": " + std::string(blockKeyword_) + "=" +
                            std::to_string(blockSize_) + " declares " +
                            plural(blockSize_, blockLandmarks_ ? "landmark" : "point") + " but " +
                            (found == 0 ? "no" : std::to_string(found)) + " coordinate line" +
                            (found == 1 ? "" : "s") + " follow" + (found == 1 ? "s" : ""));
  }

  [[noreturn]] void refuseMissingCurves() const {
    fail(lines_.number, recordName() + ": " + std::string(curvesKeyword_) + "=" +
                            std::to_string(curvesDeclared_) + " (line " +
                            std::to_string(curvesLine_) + ") declares " +
                            plural(curvesDeclared_, "curve") + " but the record has " +
                            plural(curvesDeclared_ - curvesLeft_, "POINTS= block"));
  }

  [[noreturn]] void fail(long line, const std::string& message) const {
    throw InputError(fname_, line, message);
  }

  const std::string& fname_;
  const ReadOptions& options_;
  Lines lines_;

  int dims_ = 0;
  int lmDims_ = 0;
  std::string firstKeyword_;
  std::string firstName_;
  uint64_t firstLandmarks_ = 0;
  uint64_t firstCurvePoints_ = 0;
  // Records reach the column-major matrix kBlockRows at a time, through a
  // block whose columns are as long as a cache line: written one record at
  // a time, the matrix would take a cache miss for every point.
  static constexpr Eigen::Index kBlockRows = 8;
  std::vector<double> first_;
  Eigen::MatrixXd block_;
  Eigen::MatrixXd coords_;
  std::vector<std::string> recordIds_;
  std::vector<long> recordLines_;
  // Whether each record is numbered for want of an ID, and the line of its
  // ID= when that was empty (0 when it had none).
  struct NumberedId {
    bool numbered = false;
    long emptyIdLine = 0;
  };
  std::vector<NumberedId> numberedIdLines_;
  std::vector<double> scales_;
  std::vector<bool> scaled_;  // each record's SCALE= given

  // The record being read.
  bool inRecord_ = false;
  RecordStart record_;
  std::string_view id_;
  std::string_view image_;
  long idLine_ = 0;
  long imageLine_ = 0;
  long scaleLine_ = 0;
  long curvesLine_ = 0;
  double scale_ = 1;
  bool scaleGiven_ = false;
  uint64_t landmarks_ = 0;
  uint64_t curvePoints_ = 0;
  // The point counts of this record's curves and of the first record's; the
  // first record whose curves differ from the first's.
  std::vector<int> curveSizes_;
  std::vector<int> firstCurveSizes_;
  std::string curvesDiffer_;
  std::string_view curvesKeyword_;
  uint64_t curvesDeclared_ = 0;
  uint64_t curvesLeft_ = 0;

  // The block of coordinate lines being read: a record's landmarks or a curve's points.
  std::string_view blockKeyword_;
  uint64_t blockSize_ = 0;
  uint64_t remaining_ = 0;
  bool blockLandmarks_ = true;
};

}  // namespace

LandmarkSet readtps(std::string_view text, const std::string& fname, const ReadOptions& options) {
  return TpsReader(text, fname, options).read();
}

}  // namespace tarvolin
