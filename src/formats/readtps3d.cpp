#include "formats/readtps3d.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/errors.h"
#include "core/lineendof.h"
#include "core/quotedtext.h"
#include "core/readnumber.h"
#include "core/str2num.h"
#include "core/withoutbom.h"
#include "formats/refusemixedscales.h"

namespace tarvolin {
namespace {

constexpr size_t npos = std::string_view::npos;

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool isWhite(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

class TpsScanner {
 public:
  TpsScanner(std::string_view text, const std::string& fname, bool ignoreScale)
      : text_(text), fname_(fname), ignoreScale_(ignoreScale), lineEnd_(lineendof(text)) {}

  TpsFile read();

 private:
  struct Keyword {
    size_t start = npos;  // where the L is
    size_t after = npos;  // just after the "="
  };

  // The keyword starting at p: L, M, an optional 3, "=" in any letter case.
  // The M may be missing for the first record, and for a later one whose L
  // starts its line: elsewhere, text such as MODEL=3 would pass for one.
  size_t keywordEnd(size_t p, bool firstRecord) const {
    if (lower(text_[p]) != 'l') return npos;
    size_t q = p + 1;
    if (q < text_.size() && lower(text_[q]) == 'm') {
      ++q;
      if (q < text_.size() && text_[q] == '3') ++q;
    } else if (!firstRecord && !startsLine(p)) {
      return npos;
    }
    if (q < text_.size() && text_[q] == '=') return q + 1;
    return npos;
  }

  // True when only blanks and tabs stand between p and the line's start.
  bool startsLine(size_t p) const {
    while (p > 0 && (text_[p - 1] == ' ' || text_[p - 1] == '\t')) --p;
    return p == 0 || text_[p - 1] == lineEnd_;
  }

  Keyword findKeyword(size_t from, bool firstRecord) const {
    for (size_t p = from; p < text_.size(); ++p) {
      size_t after = keywordEnd(p, firstRecord);
      if (after != npos) return {p, after};
    }
    return {};
  }

  long lineAt(size_t offset) const {
    return 1 + static_cast<long>(
                   std::count(text_.begin(), text_.begin() + static_cast<long>(offset), lineEnd_));
  }

  [[noreturn]] void fail(size_t offset, const std::string& message) const {
    throw InputError(fname_, lineAt(offset), message);
  }

  void skipWhite(size_t& p) const {
    while (p < text_.size() && isWhite(text_[p])) ++p;
  }

  // Reads a number at p (after white space); false when there is none.
  bool readNumber(size_t& p, double& value) const {
    skipWhite(p);
    size_t used = parseNumber(text_.substr(p), value);
    if (used == 0) return false;
    if (p + used < text_.size() && !isWhite(text_[p + used])) {
      // "1.5.5" or "1.5-2" would otherwise be two numbers and shift every
      // later coordinate.
      size_t end = p + used;
      while (end < text_.size() && !isWhite(text_[end])) ++end;
      fail(p, quotedtext(text_.substr(p, end - p)) + " is not a number");
    }
    if (!std::isfinite(value)) {
      const std::string_view token = text_.substr(p, used);
      fail(p, quotedtext(token) + " " + readnumber(token).problemText());
    }
    p += used;
    return true;
  }

  // The SCALE= factor among the lines from `from` to `to`, or nothing.
  std::optional<double> scaleBetween(size_t from, size_t to, long record) const;

  std::string_view text_;
  const std::string& fname_;
  bool ignoreScale_;
  char lineEnd_;  // the file's own line end (lineendof)
};

std::optional<double> TpsScanner::scaleBetween(size_t from, size_t to, long record) const {
  std::optional<double> scale;
  size_t p = from;
  while (p < to) {
    size_t lineEnd = text_.find(lineEnd_, p);
    if (lineEnd == npos || lineEnd > to) lineEnd = to;
    size_t q = p;
    while (q < lineEnd && (text_[q] == ' ' || text_[q] == '\t')) ++q;
    constexpr std::string_view key = "scale=";
    bool isScale = lineEnd - q >= key.size();
    for (size_t i = 0; isScale && i < key.size(); ++i) isScale = lower(text_[q + i]) == key[i];
    size_t at = q + key.size();
    while (isScale && at < lineEnd &&
           (text_[at] == ' ' || text_[at] == '\t' || text_[at] == '\r')) {
      ++at;
    }
    // An empty SCALE=, as some digitizing programs write it, gives no factor.
    if (isScale && at < lineEnd) {
      double value = 0;
      if (!readNumber(at, value) || at > lineEnd || value <= 0) {
        fail(q,
             "record " + std::to_string(record) + ": SCALE= must be followed by a positive number");
      }
      scale = value;
    }
    p = lineEnd + 1;
  }
  return scale;
}

TpsFile TpsScanner::read() {
  TpsFile file;
  Keyword keyword = findKeyword(0, true);
  if (keyword.start == npos) {
    throw InputError(fname_, "holds no LM= or LM3= keyword; it is not a TPS landmark file");
  }
  std::vector<double> values;
  std::vector<double> scales;
  std::vector<bool> scaled;
  long landmarks = 0;
  for (long record = 1;; ++record) {
    size_t p = keyword.after;
    double count = 0;
    if (!readNumber(p, count)) {
      fail(keyword.start, "record " + std::to_string(record) +
                              ": the keyword is not followed by a landmark count");
    }
    if (count < 1 || count != std::floor(count)) {
      fail(keyword.start, "record " + std::to_string(record) + ": the landmark count " +
                              quotedtext(text_.substr(keyword.after, p - keyword.after)) +
                              " is not a positive whole number");
    }
    // 3 numbers a landmark, each a digit and a blank at the least.
    if (count > static_cast<double>(text_.size() - p) / 6 + 1) {
      fail(keyword.start, "record " + std::to_string(record) + ": " +
                              quotedtext(text_.substr(keyword.start, p - keyword.start)) +
                              " declares more landmarks than the file holds");
    }
    if (record == 1) {
      landmarks = static_cast<long>(count);
    } else if (static_cast<long>(count) != landmarks) {
      fail(keyword.start, "record " + std::to_string(record) + " has " +
                              std::to_string(static_cast<long>(count)) +
                              " landmarks but record 1 has " + std::to_string(landmarks) +
                              "; every record must have the same landmarks");
    }

    size_t lineEnd = text_.find(lineEnd_, p);
    lineEnd = (lineEnd == npos) ? text_.size() : lineEnd + 1;
    file.namelist.emplace_back(text_.substr(p, lineEnd - p));
    p = lineEnd;

    const long wanted = 3 * landmarks;
    long got = 0;
    double value = 0;
    while (got < wanted && readNumber(p, value)) {
      values.push_back(value);
      ++got;
    }
    if (got < wanted) {
      std::string message = "record " + std::to_string(record) + " has only " +
                            std::to_string(got) + " of the " + std::to_string(wanted) +
                            " coordinates that " + std::to_string(landmarks) +
                            " landmarks in 3D need";
      if (got == 2 * landmarks) message += " (is it a 2D file?)";
      fail(keyword.start, message);
    }

    keyword = findKeyword(p, false);
    const std::optional<double> scale =
        scaleBetween(p, keyword.start == npos ? text_.size() : keyword.start, record);
    scales.push_back(scale && !ignoreScale_ ? *scale : 1.0);
    scaled.push_back(scale.has_value());
    if (keyword.start == npos) break;
  }
  if (!ignoreScale_ && std::find(scaled.begin(), scaled.end(), false) != scaled.end()) {
    std::vector<std::string> names;
    for (size_t i = 0; i < scaled.size(); ++i) names.push_back("record " + std::to_string(i + 1));
    refusemixedscales(scaled, names, fname_);
  }

  const auto rows = static_cast<Eigen::Index>(scales.size());
  using RowMajor = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;
  file.y = Eigen::Map<const RowMajor>(values.data(), rows, 3 * landmarks);
  file.scale = Eigen::Map<const Eigen::VectorXd>(scales.data(), rows);
  return file;
}

}  // namespace

TpsFile parsetps3D(std::string_view text, const std::string& fname, bool ignoreScale) {
  // UTF-16 text would scan as no record at all, with no word of why.
  return TpsScanner(withoutbom(text, fname), fname, ignoreScale).read();
}

}  // namespace tarvolin
