#include "standardizedtext.h"

#include <algorithm>
#include <future>

#include "platform/sprintf.h"

namespace tarvolin {
namespace {

using RowMajor = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;

// Appends rows [first, last) of sdata to out.
void formatRows(const Eigen::MatrixXd& sdata, Eigen::Index first, Eigen::Index last,
                std::optional<double> lastValue, std::string& out) {
  // Copying the rows out first reads the column-major matrix a cache line at
  // a time, instead of one scattered number at a time.
  const RowMajor rows = sdata.middleRows(first, last - first);
  const Eigen::Index n = rows.cols();
  // Written straight into room made for the longest text the numbers can
  // take, then cut to what was written.
  const size_t start = out.size();
  out.resize(start +
             static_cast<size_t>(rows.rows()) * (static_cast<size_t>(n) * (kFormatGRoom + 1) + 2));
  char* end = out.data() + start;
  for (Eigen::Index i = 0; i < rows.rows(); ++i) {
    for (Eigen::Index j = 0; j < n; ++j) {
      end = formatG(end, (j == n - 1 && lastValue) ? *lastValue : rows(i, j));
      *end++ = ' ';
    }
    *end++ = ' ';
    *end++ = '\n';
  }
  out.resize(static_cast<size_t>(end - out.data()));
}

}  // namespace

void standardizedtext(const Eigen::MatrixXd& sdata, std::optional<double> lastValue,
                      const std::function<void(std::string_view)>& sink) {
  const Eigen::Index rows = sdata.rows();
  // Pieces of about half a megabyte of text (some 12 characters a number).
  // At least 8 rows, so that copying them out of the column-major matrix
  // uses whole cache lines.
  const Eigen::Index perPiece = std::max<Eigen::Index>(
      8, (Eigen::Index{1} << 19) / (12 * std::max<Eigen::Index>(sdata.cols(), 1)));
  std::string first;
  std::string second;
  for (Eigen::Index start = 0; start < rows; start += 2 * perPiece) {
    const Eigen::Index middle = std::min(start + perPiece, rows);
    const Eigen::Index end = std::min(start + 2 * perPiece, rows);
    // Formatting numbers is most of the cost of writing a large data set:
    // the second piece is formatted on the other core meanwhile.
    std::future<void> other;
    if (middle < end) {
      other = std::async(std::launch::async,
                         [&] { formatRows(sdata, middle, end, lastValue, second); });
    }
    formatRows(sdata, start, middle, lastValue, first);
    if (other.valid()) other.get();
    sink(first);
    if (!second.empty()) sink(second);
    first.clear();
    second.clear();
  }
}

std::string standardizedtext(const Eigen::MatrixXd& sdata, std::optional<double> lastValue) {
  std::string text;
  // About 12 characters a number keeps the text from growing again and again.
  text.reserve(static_cast<size_t>(sdata.size()) * 12 + static_cast<size_t>(sdata.rows()) * 2);
  standardizedtext(sdata, lastValue, [&text](std::string_view part) { text += part; });
  return text;
}

}  // namespace tarvolin
