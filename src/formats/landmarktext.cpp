#include "formats/landmarktext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numeric>
#include <stdexcept>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/errors.h"
#include "core/nonfinite.h"
#include "core/printable.h"
#include "core/quotedtext.h"
#include "formats/standardizedtext.h"
#include "landmarks/rowblocks.h"

namespace tarvolin {
namespace {

using Index = Eigen::Index;

constexpr size_t kPieceSize = size_t{1} << 20;

// Gathers the text in one buffer and hands it on whenever it reaches a
// megabyte, so that writing a large set neither builds the whole text nor
// calls the sink for every number.
class PieceWriter {
 public:
  explicit PieceWriter(const TextSink& sink) : sink_(sink) { text_.reserve(kPieceSize + 1024); }

  void put(std::string_view s) { text_ += s; }
  void put(char c) { text_ += c; }
  void number(double value) {
    char digits[32];
    // Without a precision to_chars writes the shortest text that reads back
    // to the same double, and never a decimal comma.
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text_.append(digits, end);
    if (text_.size() >= kPieceSize) flush();
  }
  void integer(long long value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text_.append(digits, end);
  }
  void line() {
    text_ += '\n';
    if (text_.size() >= kPieceSize) flush();
  }
  void flush() {
    if (!text_.empty()) sink_(text_);
    text_.clear();
  }

 private:
  const TextSink& sink_;
  std::string text_;
};

const char* formatName(LandmarkFormat format) {
  switch (format) {
    case LandmarkFormat::zor:
      return "ZOR";
    case LandmarkFormat::csv:
      return "CSV";
    case LandmarkFormat::tps:
      return "TPS";
    case LandmarkFormat::nts:
      return "NTS";
    case LandmarkFormat::morphologika:
      return "Morphologika";
    default:
      return "Slicer markups";
  }
}

std::string specimenName(const LandmarkSet& set, Index i) {
  if (set.ids[static_cast<size_t>(i)].empty()) return "specimen " + std::to_string(i + 1);
  return "specimen " + quotedtext(set.ids[static_cast<size_t>(i)]);
}

[[noreturn]] void refuse(const LandmarkSet& set, Index i, const std::string& problem) {
  throw InputError(set.path, specimenName(set, i) + ": " + problem + "; nothing was written");
}

bool hasMissing(const LandmarkSet& set) { return set.hasMissing() || nonfinite(set.coords).nan; }

bool hasMissing(const LandmarkSet& set, Index i) {
  return (set.missing.size() != 0 && set.missing.row(i).any()) || set.coords.row(i).hasNaN();
}

// The specimens' coordinates a row at a time. Reading the column-major
// matrix along a row touches a new cache line for every number; copying a
// block of rows first reads it a cache line at a time.
class SpecimenRows {
 public:
  explicit SpecimenRows(const Eigen::MatrixXd& coords) : coords_(coords) {}

  const double* operator()(Index i) {
    if (i < first_ || i >= first_ + block_.rows()) {
      first_ = i;
      copyRows(coords_, i, std::min<Index>(64, coords_.rows() - i), block_);
    }
    return block_.data() + (i - first_) * block_.cols();
  }

 private:
  const Eigen::MatrixXd& coords_;
  RowMajorRows block_;
  Index first_ = 0;
};

bool usesSizeColumn(LandmarkFormat format) {
  return format == LandmarkFormat::zor || format == LandmarkFormat::csv;
}

// Pieces of a set that disagree in size are a fault of the program, not of the data.
void checkShape(const LandmarkSet& set, LandmarkFormat format, std::optional<double> lastValue) {
  const Index n = set.specimens();
  const Index k = set.landmarks();
  const bool consistent =
      (set.dims == 2 || set.dims == 3) && set.coords.cols() % set.dims == 0 &&
      static_cast<Index>(set.ids.size()) == n &&
      (set.missing.size() == 0 || (set.missing.rows() == n && set.missing.cols() == k)) &&
      (set.semilandmark.empty() || static_cast<Index>(set.semilandmark.size()) == k) &&
      (set.scale.size() == 0 || set.scale.size() == n) &&
      (!usesSizeColumn(format) || lastValue || set.size.size() == n);
  if (!consistent) {
    throw std::invalid_argument("landmarktext: the parts of the landmark set disagree in size");
  }
  const auto firstSemi = std::find(set.semilandmark.begin(), set.semilandmark.end(), true);
  if (std::find(firstSemi, set.semilandmark.end(), false) != set.semilandmark.end()) {
    throw std::invalid_argument("landmarktext: semilandmarks must follow the plain landmarks");
  }
}

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Why the format cannot hold `id` unchanged, or nothing when it can. An ID
// changed on the way would no longer match the same specimen elsewhere (a
// covariate file, a classifier), so it is refused rather than mended.
std::string idProblem(std::string_view id, LandmarkFormat format) {
  if (id.empty()) return "an empty ID cannot be written";
  const char* name = formatName(format);
  // Written to standard output, a control character would reach the
  // terminal; in a file it is no part of a name.
  const auto control = std::find_if(id.begin(), id.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u < 0x20 && c != '\t' && c != '\n' && c != '\r') || u == 0x7f;
  });
  if (control != id.end()) {
    return std::string("cannot write ID in ") + name + ": it holds the control character " +
           printable(std::string_view(&*control, 1));
  }
  if (format == LandmarkFormat::nts) {
    if (std::any_of(id.begin(), id.end(), isBlank)) {
      return "an NTS label cannot hold a blank or a line break";
    }
    if (id.front() == '"' || id.front() == '\'') {
      return "an NTS label cannot start with \" or ', which open a comment line";
    }
    return {};
  }
  // A CSV reader takes every line for a row, quoted or not.
  if (id.find_first_of("\r\n") != std::string_view::npos) {
    return std::string("cannot write ID in ") + name + ": it holds a line break";
  }
  if (format == LandmarkFormat::csv) return {};
  if (isBlank(id.front()) || isBlank(id.back())) {
    return std::string("cannot write ID in ") + name +
           ": it begins or ends with a blank, which a reader drops";
  }
  if (format == LandmarkFormat::morphologika && (id.front() == '[' || id.front() == '\'')) {
    return "cannot write ID in Morphologika: a name starting with [ or ' reads as a block header "
           "or a comment";
  }
  return {};
}

// Refuses, before any text is written, every set a reader of the format
// would not read back as it is.
void checkWritable(const LandmarkSet& set, LandmarkFormat format, std::optional<double> lastValue) {
  const Index n = set.specimens();
  const Index k = set.landmarks();
  const char* name = formatName(format);
  if (n == 0) throw InputError(set.path, "the data set holds no specimen; nothing was written");
  if (k == 0) {
    throw InputError(set.path, "the data set's specimens have no landmark; nothing was written");
  }
  // One pass finds whether any coordinate is not finite; the specimens are
  // looked at one by one only where some is.
  const NonFinite bad = nonfinite(set.coords);
  if (bad.inf) {
    for (Index i = 0; i < n; ++i) {
      if (set.coords.row(i).array().isInf().any()) {
        refuse(set, i, "holds numbers too large to represent");
      }
    }
  }
  if (format == LandmarkFormat::zor && (set.hasMissing() || bad.nan)) {
    for (Index i = 0; i < n; ++i) {
      if (hasMissing(set, i)) {
        refuse(set, i, "has a missing landmark, and the ZOR format has no way to mark one");
      }
    }
  }
  if (usesSizeColumn(format)) {
    if (lastValue && !std::isfinite(*lastValue)) {
      throw InputError(set.path,
                       "the value to write as every size is not a finite number; nothing was "
                       "written");
    }
    for (Index i = 0; !lastValue && i < n; ++i) {
      if (std::isinf(set.size(i))) refuse(set, i, "holds numbers too large to represent");
      if (std::isnan(set.size(i)) && format == LandmarkFormat::zor) {
        refuse(set, i, "has no size, and the ZOR format has no way to mark one missing");
      }
    }
  }
  if (format == LandmarkFormat::tps) {
    for (Index i = 0; i < set.scale.size(); ++i) {
      if (!(std::isfinite(set.scale(i)) && set.scale(i) > 0)) {
        refuse(set, i, "its scale factor is not a positive finite number");
      }
    }
  }
  if (format != LandmarkFormat::zor) {
    std::unordered_map<std::string_view, Index> seen;
    seen.reserve(static_cast<size_t>(n));
    for (Index i = 0; i < n; ++i) {
      const std::string& id = set.ids[static_cast<size_t>(i)];
      const std::string problem = idProblem(id, format);
      if (!problem.empty()) refuse(set, i, problem);
      const auto [at, added] = seen.emplace(id, i);
      if (!added) {
        throw InputError(set.path, "specimens " + std::to_string(at->second + 1) + " and " +
                                       std::to_string(i + 1) + " have the same ID " +
                                       quotedtext(id) + ", which " + name +
                                       " cannot tell apart; nothing was written");
      }
    }
  }
  if (format == LandmarkFormat::morphologika) {
    for (size_t p = 0; p < set.wireframe.size(); ++p) {
      const auto [from, to] = set.wireframe[p];
      if (from < 1 || to < 1 || from > k || to > k) {
        throw InputError(set.path, "wireframe pair " + std::to_string(p + 1) + " (" +
                                       std::to_string(from) + " " + std::to_string(to) +
                                       ") names a landmark the specimens do not have (they have " +
                                       std::to_string(k) + "); nothing was written");
      }
    }
  }
}

// Landmark j of specimen i (whose coordinates are `row`): its coordinates
// apart by `separator`, or `missingText` for each one when it is missing.
void writePoint(PieceWriter& out, const LandmarkSet& set, Index i, const double* row, Index j,
                std::string_view missingText, char separator) {
  const double* point = row + j * set.dims;
  bool missing = set.missing.size() != 0 && set.missing(i, j);
  for (int c = 0; c < set.dims; ++c) missing = missing || std::isnan(point[c]);
  for (int c = 0; c < set.dims; ++c) {
    if (c > 0) out.put(separator);
    if (missing) {
      out.put(missingText);
    } else {
      out.number(point[c]);
    }
  }
}

void writeCsvId(PieceWriter& out, std::string_view id) {
  // Semicolons and tabs are quoted too: readers that guess the separator
  // from the text then cannot take them for one.
  const bool plain =
      id.find_first_of(",\";\t") == std::string_view::npos && id.front() != ' ' && id.back() != ' ';
  if (plain) {
    out.put(id);
    return;
  }
  out.put('"');
  for (char c : id) {
    if (c == '"') out.put('"');
    out.put(c);
  }
  out.put('"');
}

void writeCsv(const LandmarkSet& set, std::optional<double> lastValue, PieceWriter& out) {
  static constexpr std::string_view axes[] = {",x", ",y", ",z"};
  // A size column must hold a number in every row. Where some size is not
  // known (a specimen with a missing landmark) the column is left out, and
  // a reader computes the sizes, unknown for the same specimens, again.
  const bool sizeColumn = lastValue || !set.size.hasNaN();
  out.put("id");
  for (Index j = 1; j <= set.landmarks(); ++j) {
    for (int c = 0; c < set.dims; ++c) {
      out.put(axes[c]);
      out.integer(j);
    }
  }
  if (sizeColumn) out.put(",size");
  out.line();
  SpecimenRows rows(set.coords);
  for (Index i = 0; i < set.specimens(); ++i) {
    const double* row = rows(i);
    writeCsvId(out, set.ids[static_cast<size_t>(i)]);
    for (Index j = 0; j < set.landmarks(); ++j) {
      out.put(',');
      writePoint(out, set, i, row, j, "NA", ',');
    }
    if (sizeColumn) {
      out.put(',');
      out.number(lastValue ? *lastValue : set.size(i));
    }
    out.line();
  }
}

void writeTps(const LandmarkSet& set, PieceWriter& out) {
  const Index k = set.landmarks();
  const Index plain =
      std::find(set.semilandmark.begin(), set.semilandmark.end(), true) - set.semilandmark.begin();
  const Index semi = set.semilandmark.empty() ? 0 : k - plain;
  // The curves as read, or the semilandmarks as one curve where the curves
  // are not known.
  std::vector<int> curves = set.curves;
  if (semi > 0 && std::accumulate(curves.begin(), curves.end(), Index{0}) != semi) {
    curves.assign(1, static_cast<int>(semi));
  }
  SpecimenRows rows(set.coords);
  for (Index i = 0; i < set.specimens(); ++i) {
    const double* row = rows(i);
    out.put(set.dims == 3 ? "LM3=" : "LM=");
    out.integer(k - semi);
    out.line();
    for (Index j = 0; j < k - semi; ++j) {
      writePoint(out, set, i, row, j, "NA", ' ');
      out.line();
    }
    if (semi > 0) {
      out.put("CURVES=");
      out.integer(static_cast<Index>(curves.size()));
      out.line();
      Index j = k - semi;
      for (const int points : curves) {
        out.put("POINTS=");
        out.integer(points);
        out.line();
        for (const Index end = j + points; j < end; ++j) {
          writePoint(out, set, i, row, j, "NA", ' ');
          out.line();
        }
      }
    }
    out.put("ID=");
    out.put(set.ids[static_cast<size_t>(i)]);
    out.line();
    if (set.scaleOf(i) != 1) {
      out.put("SCALE=");
      out.number(set.scaleOf(i));
      out.line();
    }
  }
}

// The first of -9999, 9999, -99999, 99999, ... that no coordinate equals, so
// that only the missing landmarks read back as missing.
double freeMissingCode(const LandmarkSet& set) {
  std::vector<double> nines;
  for (Index i = 0; i < set.coords.size(); ++i) {
    const double v = set.coords.data()[i];
    if (std::abs(v) >= 9999 && std::isfinite(v) && v == std::floor(v)) nines.push_back(v);
  }
  std::sort(nines.begin(), nines.end());
  for (double magnitude = 9999; std::isfinite(magnitude); magnitude = magnitude * 10 + 9) {
    for (double code : {-magnitude, magnitude}) {
      if (!std::binary_search(nines.begin(), nines.end(), code)) return code;
    }
  }
  throw InputError(set.path,
                   "every missing-value code NTS could declare occurs as a coordinate; nothing "
                   "was written");
}

void writeNts(const LandmarkSet& set, PieceWriter& out) {
  const bool anyMissing = hasMissing(set);
  std::string codeText;
  if (anyMissing) {
    char digits[32];
    codeText.assign(digits,
                    std::to_chars(digits, digits + sizeof digits, freeMissingCode(set)).ptr);
  }

  out.put("\" written by Tarvolin\n1 ");
  out.integer(set.specimens());
  out.put("L ");
  out.integer(set.coords.cols());
  if (anyMissing) {
    out.put(" 1 ");
    out.put(codeText);
  } else {
    out.put(" 0");
  }
  out.put(" DIM=");
  out.integer(set.dims);
  out.line();
  for (const std::string& id : set.ids) {
    out.put(id);
    out.line();
  }
  SpecimenRows rows(set.coords);
  for (Index i = 0; i < set.specimens(); ++i) {
    const double* row = rows(i);
    for (Index j = 0; j < set.landmarks(); ++j) {
      if (j > 0) out.put(' ');
      writePoint(out, set, i, row, j, codeText, ' ');
    }
    out.line();
  }
}

// The ZOR layout of standardizedtext, with every digit: the numbers a
// conversion writes are the ones it read.
void writeZorExact(const LandmarkSet& set, std::optional<double> lastValue, PieceWriter& out) {
  const bool sizes = lastValue || set.size.size() == set.specimens();
  SpecimenRows rows(set.coords);
  for (Index i = 0; i < set.specimens(); ++i) {
    const double* row = rows(i);
    for (Index c = 0; c < set.coords.cols(); ++c) {
      out.number(row[c]);
      out.put(' ');
    }
    if (sizes) {
      out.number(lastValue ? *lastValue : set.size(i));
      out.put(' ');
    }
    out.put(' ');
    out.line();
  }
}

void writeMorphologika(const LandmarkSet& set, PieceWriter& out) {
  out.put("[individuals]\n");
  out.integer(set.specimens());
  out.put("\n\n[landmarks]\n");
  out.integer(set.landmarks());
  out.put("\n\n[dimensions]\n");
  out.integer(set.dims);
  out.put("\n\n[names]\n");
  for (const std::string& id : set.ids) {
    out.put(id);
    out.line();
  }
  out.put("\n[rawpoints]\n");
  SpecimenRows rows(set.coords);
  for (Index i = 0; i < set.specimens(); ++i) {
    const double* row = rows(i);
    out.put("'#");
    out.integer(i + 1);
    out.line();
    for (Index j = 0; j < set.landmarks(); ++j) {
      writePoint(out, set, i, row, j, "NA", ' ');
      out.line();
    }
  }
  if (set.wireframe.empty()) return;
  out.put("\n[wireframe]\n");
  for (const auto& [from, to] : set.wireframe) {
    out.integer(from);
    out.put(' ');
    out.integer(to);
    out.line();
  }
}

}  // namespace

void landmarktext(const LandmarkSet& set, LandmarkFormat format, std::optional<double> lastValue,
                  const TextSink& sink, ZorDigits zorDigits) {
  if (format == LandmarkFormat::fcsv || format == LandmarkFormat::mrkjson) {
    throw std::invalid_argument(
        "landmarktext: Slicer markups hold one specimen a file and are not written as a set");
  }
  checkShape(set, format, lastValue);
  // A format without SCALE= gets the coordinates in the scaled units, which
  // are the size's: a row never holds two units.
  if (format != LandmarkFormat::tps && set.scale.size() != 0 && (set.scale.array() != 1).any()) {
    LandmarkSet scaled = set;
    scaled.coords.array().colwise() *= set.scale.array();
    scaled.scale.resize(0);
    landmarktext(scaled, format, lastValue, sink, zorDigits);
    return;
  }
  checkWritable(set, format, lastValue);
  if (format == LandmarkFormat::zor && zorDigits == ZorDigits::six) {
    // Written from the coordinates and sizes as they are: a large data set
    // is not copied for its text.
    const Eigen::VectorXd noSizes;
    standardizedtext(set.coords, set.size.size() == set.specimens() ? set.size : noSizes, lastValue,
                     sink);
    return;
  }
  PieceWriter out(sink);
  switch (format) {
    case LandmarkFormat::zor:
      writeZorExact(set, lastValue, out);
      break;
    case LandmarkFormat::csv:
      writeCsv(set, lastValue, out);
      break;
    case LandmarkFormat::tps:
      writeTps(set, out);
      break;
    case LandmarkFormat::nts:
      writeNts(set, out);
      break;
    default:
      writeMorphologika(set, out);
      break;
  }
  out.flush();
}

std::string landmarktext(const LandmarkSet& set, LandmarkFormat format,
                         std::optional<double> lastValue, ZorDigits zorDigits) {
  std::string text;
  landmarktext(
      set, format, lastValue, [&text](std::string_view piece) { text += piece; }, zorDigits);
  return text;
}

}  // namespace tarvolin
