#include "formats/standardizedtext.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/sprintf.h"
#include "core/textpieces.h"
#include "landmarks/rowblocks.h"

namespace tarvolin {
namespace {

// The numbers of a line: the coordinates, then one last number, the row's
// own from `lastColumn` or the same `lastValue` on every line (or none when
// neither is given).
struct Lines {
  Eigen::Ref<const Eigen::MatrixXd> coords;
  const double* lastColumn;
  std::optional<double> lastValue;
  Eigen::Index numbers() const {
    return coords.cols() + ((lastColumn != nullptr || lastValue) ? 1 : 0);
  }
};

// Appends rows [first, last) to out.
void formatRows(const Lines& lines, Eigen::Index first, Eigen::Index last, std::string& out) {
  // Copying the rows out first, column by column, reads the column-major
  // matrix a cache line at a time, instead of one scattered number at a time.
  RowMajorRows rows;
  copyRows(lines.coords, first, last - first, rows);
  const Eigen::Index n = rows.cols();
  const bool hasLast = lines.lastColumn != nullptr || lines.lastValue;
  // Written straight into room made for the longest text the numbers can
  // take, then cut to what was written.
  const size_t start = out.size();
  out.resize(start + static_cast<size_t>(rows.rows()) *
                         (static_cast<size_t>(n + 1) * (kFormatGRoom + 1) + 2));
  char* end = out.data() + start;
  for (Eigen::Index i = 0; i < rows.rows(); ++i) {
    for (Eigen::Index j = 0; j < n; ++j) {
      end = formatG(end, rows(i, j));
      *end++ = ' ';
    }
    if (hasLast) {
      end = formatG(end, lines.lastValue ? *lines.lastValue : lines.lastColumn[first + i]);
      *end++ = ' ';
    }
    *end++ = ' ';
    *end++ = '\n';
  }
  out.resize(static_cast<size_t>(end - out.data()));
}

void writeLines(const Lines& lines, const std::function<void(std::string_view)>& sink) {
  // Some 12 characters a number.
  textpieces(
      lines.coords.rows(), 12 * std::max<Eigen::Index>(lines.numbers(), 1),
      [&](Eigen::Index first, Eigen::Index last, std::string& text) {
        formatRows(lines, first, last, text);
      },
      sink);
}

}  // namespace

void standardizedtext(const Eigen::MatrixXd& sdata, std::optional<double> lastValue,
                      const std::function<void(std::string_view)>& sink) {
  const Eigen::Index n = sdata.cols();
  if (n == 0) {
    writeLines({sdata, nullptr, std::nullopt}, sink);
    return;
  }
  writeLines({sdata.leftCols(n - 1), sdata.col(n - 1).data(), lastValue}, sink);
}

void standardizedtext(const Eigen::MatrixXd& coords, const Eigen::VectorXd& sizes,
                      std::optional<double> lastValue,
                      const std::function<void(std::string_view)>& sink) {
  writeLines({coords, lastValue ? nullptr : sizes.data(), lastValue}, sink);
}

std::string standardizedtext(const Eigen::MatrixXd& sdata, std::optional<double> lastValue) {
  std::string text;
  // About 12 characters a number keeps the text from growing again and again.
  text.reserve(static_cast<size_t>(sdata.size()) * 12 + static_cast<size_t>(sdata.rows()) * 2);
  standardizedtext(sdata, lastValue, [&text](std::string_view part) { text += part; });
  return text;
}

}  // namespace tarvolin
