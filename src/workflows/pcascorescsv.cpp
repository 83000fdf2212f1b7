#include "core/csvtext.h"
#include "workflows/pcatables.h"

namespace tarvolin {

void pcascorescsv(const ShapePca& pca, const std::vector<std::string>& ids, const TextSink& sink) {
  const Eigen::Index m = pca.components();
  std::string header = "id";
  for (Eigen::Index c = 0; c < m; ++c) header += ",PC" + std::to_string(c + 1);
  sink(header + "\n");
  const auto scores = pca.scores();
  pcarowpieces(
      scores.rows(), 20 * (m + 1),
      [&](Eigen::Index i, std::string& text) {
        text += csvfield(ids[static_cast<size_t>(i)]);
        for (Eigen::Index c = 0; c < m; ++c) {
          text += ',';
          text += csvnumber(scores(i, c));
        }
        text += '\n';
      },
      sink);
}

}  // namespace tarvolin
