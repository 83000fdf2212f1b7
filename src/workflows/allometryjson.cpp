#include <cmath>
#include <nlohmann/json.hpp>

#include "workflows/allometrytable.h"

namespace tarvolin {
namespace {

nlohmann::json number(double value) {
  return std::isfinite(value) ? nlohmann::json(value) : nlohmann::json(nullptr);
}

}  // namespace

std::string allometryjson(const ProcrustesAnova& anova, const AllometryRecord& record) {
  nlohmann::json terms = nlohmann::json::array();
  for (const AnovaTerm& t : anova.terms) {
    terms.push_back({{"term", t.term},
                     {"df", t.df},
                     {"ss", number(t.ss)},
                     {"ms", number(t.ms)},
                     {"rsq", number(t.rsq)},
                     {"f", number(t.f)},
                     {"z", number(t.z)},
                     {"p", number(t.p)}});
  }
  const nlohmann::json report = {
      {"terms", terms},
      {"residual",
       {{"df", anova.residualDf},
        {"ss", number(anova.residualSs)},
        {"ms", number(anova.residualMs)}}},
      {"total", {{"df", anova.totalDf}, {"ss", number(anova.totalSs)}}},
      {"permutations", anova.permutations},
      {"seed", anova.seed},
      {"specimens", record.specimens},
      {"landmarks", record.landmarks},
      {"superimposition", record.superimposition},
      {"data", record.data},
      {"x", record.x},
      {"transform", record.transform},
      {"groups", record.groups.empty() ? nlohmann::json(nullptr) : nlohmann::json(record.groups)}};
  // nlohmann writes numbers the same in every locale, shortest round trip.
  return report.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

}  // namespace tarvolin
