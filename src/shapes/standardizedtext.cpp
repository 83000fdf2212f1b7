#include "standardizedtext.h"

#include "platform/sprintf.h"

namespace tarvolin {

std::string standardizedtext(const Eigen::MatrixXd& sdata, std::optional<double> lastValue) {
  std::string out;
  // About 12 characters a number keeps the string from growing repeatedly.
  out.reserve(static_cast<size_t>(sdata.size()) * 12 + static_cast<size_t>(sdata.rows()) * 2);
  const Eigen::Index n = sdata.cols();
  for (Eigen::Index i = 0; i < sdata.rows(); ++i) {
    for (Eigen::Index j = 0; j < n; ++j) {
      appendG(out, (j == n - 1 && lastValue) ? *lastValue : sdata(i, j));
      out += ' ';
    }
    out += " \n";
  }
  return out;
}

}  // namespace tarvolin
