#include "workflows/pcascorescsv.h"

#include "core/csvtext.h"
#include "core/textpieces.h"
#include "workflows/pcatables.h"

namespace tarvolin {

void pcascorescsv(const ShapePca& pca, const std::vector<std::string>& ids, const TextSink& sink) {
  const Eigen::Index m = pca.components();
  std::string header = "id";
  for (Eigen::Index c = 0; c < m; ++c) header += ",PC" + std::to_string(c + 1);
  sink(header + "\n");
  const auto scores = pca.scores();
  textpieces(
      pca.specimens, 20 * (m + 1),
      [&](Eigen::Index first, Eigen::Index last, std::string& text) {
        for (Eigen::Index j = first; j < last; ++j) {
          text += csvfield(static_cast<size_t>(j) < ids.size() ? ids[static_cast<size_t>(j)]
                                                               : std::to_string(j + 1));
          for (Eigen::Index c = 0; c < m; ++c) {
            text += ',';
            text += csvnumber(scores(j, c));
          }
          text += '\n';
        }
      },
      sink);
}

std::string pcascorescsv(const ShapePca& pca, const std::vector<std::string>& ids) {
  std::string csv;
  pcascorescsv(pca, ids, [&csv](std::string_view piece) { csv += piece; });
  return csv;
}

}  // namespace tarvolin
