#include <cmath>

#include "core/sprintf.h"
#include "workflows/allometrytable.h"

namespace tarvolin {

// The cells of the table, as text: a header row, then the terms, Residuals
// and Total.
std::vector<std::vector<std::string>> allometrycells(const ProcrustesAnova& a) {
  // Numbers that are not finite (an F of a perfect fit, a Z of identical
  // F values) are written as R writes them.
  auto g = [](const char* format, double value) -> std::string {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "Inf" : "-Inf";
    return sprintf(format, value);
  };
  std::vector<std::vector<std::string>> rows{{"", "Df", "SS", "MS", "Rsq", "F", "Z", "Pr(>F)"}};
  for (const AnovaTerm& t : a.terms) {
    rows.push_back({t.term, g("%g", t.df), g("%.6g", t.ss), g("%.6g", t.ms), g("%.5f", t.rsq),
                    g("%.5g", t.f), g("%.4f", t.z), g("%.4g", t.p)});
  }
  rows.push_back({"Residuals", g("%g", a.residualDf), g("%.6g", a.residualSs),
                  g("%.6g", a.residualMs), "", "", "", ""});
  rows.push_back({"Total", g("%g", a.totalDf), g("%.6g", a.totalSs), "", "", "", "", ""});
  return rows;
}

}  // namespace tarvolin
