#include "formats/readzor.h"

#include <cmath>
#include <limits>
#include <vector>

#include "core/errors.h"
#include "core/lineendof.h"
#include "core/quotedtext.h"
#include "core/readtextfile.h"
#include "core/str2num.h"
#include "core/withoutbom.h"
#include "formats/dload.h"
#include "formats/readcoordinate.h"

namespace tarvolin {
namespace {

bool isBlank(std::string_view line) {
  for (char c : line) {
    if (!isNumberSeparator(c) || c == ',') return false;
  }
  return true;
}

bool holdsMissingMark(std::string_view text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    const char c = text[i];
    if ((c == 'N' || c == 'n') && (text[i + 1] == 'A' || text[i + 1] == 'a')) return true;
  }
  return false;
}

// The slow way, for files that mark missing landmarks with words: every
// field goes through readcoordinate.
Eigen::MatrixXd parseWithMissingMarks(std::string_view text, const std::string& fname,
                                      const ReadOptions& options, std::string* notice) {
  text = withoutbom(text, fname);
  const char lineEnd = lineendof(text);
  std::vector<double> values;
  Eigen::Index columns = -1;
  Eigen::Index rows = 0;
  long lineNumber = 0;
  size_t pos = 0;
  auto nextLine = [&] {
    size_t end = text.find(lineEnd, pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    ++lineNumber;
    return line;
  };
  while (pos < text.size()) {
    const std::string_view line = nextLine();
    if (lineNumber > 1 && isBlank(line)) {
      const long blank = lineNumber;
      long unread = 0;
      while (pos < text.size()) unread += isBlank(nextLine()) ? 0 : 1;
      if (notice && unread > 0) *notice = blanklinenotice(blank, unread);
      break;
    }
    Eigen::Index count = 0;
    size_t i = 0;
    while (i < line.size()) {
      while (i < line.size() && isNumberSeparator(line[i])) ++i;
      const size_t start = i;
      while (i < line.size() && !isNumberSeparator(line[i])) ++i;
      if (i == start) break;
      const std::string_view token = line.substr(start, i - start);
      const Coordinate c = readcoordinate(token, options);
      if (c.kind != Coordinate::number && c.kind != Coordinate::missing) {
        throw InputError(fname, lineNumber, quotedtext(token) + " " + c.problemText());
      }
      values.push_back(c.kind == Coordinate::number ? c.value
                                                    : std::numeric_limits<double>::quiet_NaN());
      ++count;
    }
    if (columns < 0) columns = count;
    if (count != columns) {
      throw InputError(
          fname, lineNumber,
          "has " + std::to_string(count) + " numbers where line 1 has " + std::to_string(columns));
    }
    ++rows;
  }
  if (columns <= 0) throw InputError(fname, "holds no numbers");
  Eigen::MatrixXd data(rows, columns);
  for (Eigen::Index r = 0; r < rows; ++r) {
    for (Eigen::Index c = 0; c < columns; ++c)
      data(r, c) = values[static_cast<size_t>(r * columns + c)];
  }
  return data;
}

// The set of the rows read, once they are known to be rows of numbers.
LandmarkSet setOfRows(Eigen::MatrixXd data, const std::string& fname, const ReadOptions& options,
                      std::string notice) {
  const int dims = options.dims == 2 ? 2 : 3;
  const Eigen::Index n = data.cols();
  if (n < dims + 1 || (n - 1) % dims != 0) {
    throw InputError(fname, 1,
                     dims == 2 ? "has " + std::to_string(n) +
                                     " numbers on a line; a 2D data set has 2k + 1: X and Y of "
                                     "each of k landmarks, then the size"
                               : "has " + std::to_string(n) +
                                     " numbers per specimen; a landmark data set has 3k + 1: X, "
                                     "Y and Z of each of k landmarks, then the centroid size");
  }
  for (Eigen::Index r = 0; r < data.rows(); ++r) {
    if (std::isnan(data(r, n - 1))) {
      throw InputError(fname, static_cast<long>(r + 1),
                       "the size, the last number of the line, is missing; only coordinates may "
                       "be missing");
    }
  }
  if (options.missingCode) {
    data.leftCols(n - 1) =
        (data.leftCols(n - 1).array() == *options.missingCode)
            .select(std::numeric_limits<double>::quiet_NaN(), data.leftCols(n - 1));
  }
  LandmarkSet set = landmarksetof(std::move(data), dims);
  set.path = fname;
  set.notice = std::move(notice);
  finishlandmarkset(set);
  return set;
}

}  // namespace

LandmarkSet readzor(std::string_view text, const std::string& fname, const ReadOptions& options) {
  Eigen::MatrixXd data;
  std::string notice;
  try {
    data = parsenumericmatrix(text, fname, &notice);
  } catch (const InputError&) {
    // Words for missing landmarks are rare: only then is every field looked
    // at one by one.
    if (!holdsMissingMark(text)) throw;
    data = parseWithMissingMarks(text, fname, options, &notice);
  }
  return setOfRows(std::move(data), fname, options, std::move(notice));
}

LandmarkSet readzorfile(const std::string& path, const ReadOptions& options) {
  Eigen::MatrixXd data;
  std::string notice;
  try {
    std::string reason;
    // dload reads lines by the file's own line end, a lone CR too.
    data = dload(path, &reason, &notice);
    if (!reason.empty()) throw InputError(path, "cannot be opened: " + reason);
  } catch (const InputError& error) {
    std::string text;
    std::string reason;
    if (!readtextfile(path, text, reason) || !holdsMissingMark(text)) throw;
    return readzor(text, path, options);
  }
  return setOfRows(std::move(data), path, options, std::move(notice));
}

}  // namespace tarvolin
