#include "core/csvtext.h"
#include "core/textpieces.h"
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
  textpieces(
      pca.variables(), 20 * (m + 1),
      [&](Eigen::Index first, Eigen::Index last, std::string& text) {
        for (Eigen::Index v = first; v < last; ++v) {
          text += kAxes[v % dims];
          text += std::to_string(v / dims + 1);
          for (Eigen::Index c = 0; c < m; ++c) {
            text += ',';
            text += csvnumber(pca.vectors(v, c));
          }
          text += '\n';
        }
      },
      sink);
}

}  // namespace tarvolin
