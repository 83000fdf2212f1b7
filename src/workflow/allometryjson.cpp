#include <cmath>
#include <nlohmann/json.hpp>

#include "allometrytable.h"

namespace tarvolin {
namespace {

nlohmann::json number(double value) {
  return std::isfinite(value) ? nlohmann::json(value) : nlohmann::json(nullptr);
}

}  // namespace

std::string allometryjson(const ProcrustesAnova& anova, Eigen::Index specimens,
                          Eigen::Index landmarks, const std::string& fit) {
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
  const nlohmann::json report = {{"terms", terms},
                                 {"residual",
                                  {{"df", anova.residualDf},
                                   {"ss", number(anova.residualSs)},
                                   {"ms", number(anova.residualMs)}}},
                                 {"total", {{"df", anova.totalDf}, {"ss", number(anova.totalSs)}}},
                                 {"permutations", anova.permutations},
                                 {"seed", anova.seed},
                                 {"specimens", specimens},
                                 {"landmarks", landmarks},
                                 {"superimposition", fit}};
  // nlohmann writes numbers the same in every locale, shortest round trip.
  return report.dump(2) + "\n";
}

}  // namespace tarvolin
