#include "workflows/pcascorescsv.h"

#include <algorithm>

#include "core/csvtext.h"
#include "core/errors.h"
#include "core/printable.h"
#include "core/quotedtext.h"
#include "core/textpieces.h"
#include "workflows/pcatables.h"

namespace tarvolin {
namespace {

// An ID a CSV reader would not give back as it is, or that would reach a
// terminal as a control, is refused: changed on the way, it would no longer
// match the specimen's row in another table.
void refuseUnwritableIds(const std::vector<std::string>& ids, const std::string& file) {
  for (const std::string& id : ids) {
    const auto control = std::find_if(id.begin(), id.end(), [](char c) {
      const auto u = static_cast<unsigned char>(c);
      return (u < 0x20 && c != '\t' && c != '\n' && c != '\r') || u == 0x7f;
    });
    std::string problem;
    if (control != id.end()) {
      problem = "it holds the control character " + printable(std::string_view(&*control, 1));
    } else if (id.find_first_of("\r\n") != std::string::npos) {
      problem = "it holds a line break";
    }
    if (!problem.empty()) {
      throw InputError(file, "specimen " + quotedtext(id) + ": cannot write ID in CSV: " + problem +
                                 "; nothing was written")
          .concerning(Input::data);
    }
  }
}

}  // namespace

void pcascorescsv(const ShapePca& pca, const std::vector<std::string>& ids, const TextSink& sink,
                  const std::string& file) {
  refuseUnwritableIds(ids, file);
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

std::string pcascorescsv(const ShapePca& pca, const std::vector<std::string>& ids,
                         const std::string& file) {
  std::string csv;
  pcascorescsv(
      pca, ids, [&csv](std::string_view piece) { csv += piece; }, file);
  return csv;
}

}  // namespace tarvolin
