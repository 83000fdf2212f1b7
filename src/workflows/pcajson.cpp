#include <cmath>
#include <nlohmann/json.hpp>

#include "core/csvtext.h"
#include "core/textpieces.h"
#include "workflows/pcatables.h"

namespace tarvolin {
namespace {

using Json = nlohmann::ordered_json;

Json number(double value) { return std::isfinite(value) ? Json(value) : Json(nullptr); }

// nlohmann writes numbers the same in every locale, shortest round trip; an
// ID or file name that is not UTF-8 has its odd bytes replaced.
std::string dumped(const Json& json, int indent) {
  return json.dump(indent, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace

void pcajson(const ShapePca& pca, const PcaRecord& record, const std::vector<std::string>& ids,
             const TextSink& sink) {
  const Eigen::VectorXd proportion = pca.proportions();
  const Eigen::VectorXd cumulative = pca.cumulative();
  Json components = Json::array();
  for (Eigen::Index c = 0; c < pca.components(); ++c) {
    components.push_back({{"pc", c + 1},
                          {"eigenvalue", number(pca.eigenvalues(c))},
                          {"proportion", number(proportion(c))},
                          {"cumulative", number(cumulative(c))}});
  }
  const Json head = {{"file", record.file},
                     {"of", record.of},
                     {"specimens", pca.specimens},
                     {"variables", pca.variables()},
                     {"total_variance", number(pca.totalVariance)},
                     {"components", components}};
  // The scores, as many numbers as the data set has, are written a
  // specimen a line, never held as a document whole.
  std::string text = dumped(head, 2);
  text.pop_back();  // the closing brace
  while (!text.empty() && text.back() == '\n') text.pop_back();
  sink(text + ",\n  \"scores\": [");
  const auto scores = pca.scores();
  const Eigen::Index n = scores.rows();
  textpieces(
      n, 20 * (scores.cols() + 1),
      [&](Eigen::Index first, Eigen::Index last, std::string& line) {
        for (Eigen::Index i = first; i < last; ++i) {
          line += i == 0 ? "\n    {\"id\":" : ",\n    {\"id\":";
          line += dumped(Json(ids[static_cast<size_t>(i)]), -1);
          line += ",\"pc\":[";
          // Every digit, as nlohmann writes them (the shortest text that
          // reads back the same), without a document per specimen.
          for (Eigen::Index c = 0; c < scores.cols(); ++c) {
            if (c > 0) line += ',';
            const double value = scores(i, c);
            line += std::isfinite(value) ? csvnumber(value) : std::string("null");
          }
          line += "]}";
        }
      },
      sink);
  sink(n == 0 ? "]\n}\n" : "\n  ]\n}\n");
}

}  // namespace tarvolin
