#include "workflows/pcascorescsv.h"

#include "core/csvtext.h"

namespace tarvolin {

std::string pcascorescsv(const ShapePca& pca, const std::vector<std::string>& ids) {
  std::string csv = "id";
  for (Eigen::Index c = 0; c < pca.components(); ++c) csv += ",PC" + std::to_string(c + 1);
  csv += '\n';
  const auto scores = pca.scores();
  for (Eigen::Index j = 0; j < pca.specimens; ++j) {
    csv += csvfield(static_cast<size_t>(j) < ids.size() ? ids[static_cast<size_t>(j)]
                                                        : std::to_string(j + 1));
    for (Eigen::Index c = 0; c < pca.components(); ++c) csv += ',' + csvnumber(scores(j, c));
    csv += '\n';
  }
  return csv;
}

}  // namespace tarvolin
