#include "core/csvtext.h"
#include "workflows/pcatables.h"

namespace tarvolin {

void pcaloadingscsv(const ShapePca& pca, int dims, const TextSink& sink) {
  const Eigen::Index m = pca.components();
  std::string header = "variable";
  for (Eigen::Index c = 0; c < m; ++c) header += ",PC" + std::to_string(c + 1);
  sink(header + "\n");
  // The variables are named as the landmark tables' columns are, so that a
  // loading can be matched with its coordinate.
  static constexpr char kAxes[] = {'x', 'y', 'z'};
  pcarowpieces(
      pca.variables(), 20 * (m + 1),
      [&](Eigen::Index v, std::string& text) {
        text += kAxes[v % dims];
        text += std::to_string(v / dims + 1);
        for (Eigen::Index c = 0; c < m; ++c) {
          text += ',';
          text += csvnumber(pca.vectors(v, c));
        }
        text += '\n';
      },
      sink);
}

}  // namespace tarvolin
