#include "standardizedtext.h"

#include "platform/sprintf.h"

namespace tarvolin {

void standardizedtext(const Eigen::MatrixXd& sdata, std::optional<double> lastValue,
                      const std::function<void(std::string_view)>& sink) {
  constexpr size_t piece = 1 << 20;
  std::string out;
  out.reserve(piece + 4096);
  const Eigen::Index n = sdata.cols();
  for (Eigen::Index i = 0; i < sdata.rows(); ++i) {
    for (Eigen::Index j = 0; j < n; ++j) {
      appendG(out, (j == n - 1 && lastValue) ? *lastValue : sdata(i, j));
      out += ' ';
      if (out.size() >= piece) {
        sink(out);
        out.clear();
      }
    }
    out += " \n";
  }
  if (!out.empty()) sink(out);
}

std::string standardizedtext(const Eigen::MatrixXd& sdata, std::optional<double> lastValue) {
  std::string text;
  standardizedtext(sdata, lastValue, [&text](std::string_view part) { text += part; });
  return text;
}

}  // namespace tarvolin
