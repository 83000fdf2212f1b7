#include "core/csvtext.h"
#include "workflows/allometrytable.h"

namespace tarvolin {

std::string allometrycsv(const ProcrustesAnova& anova, const AllometryRecord& record) {
  const std::string tail = "," + csvfield(record.data) + "," + csvfield(record.x) + "," +
                           csvfield(record.transform) + "," + csvfield(record.groups) + "," +
                           std::to_string(anova.permutations) + "," + std::to_string(anova.seed) +
                           "\n";
  std::string text = "term,Df,SS,MS,Rsq,F,Z,Pr(>F),data,x,transform,groups,permutations,seed\n";
  for (const AnovaTerm& t : anova.terms) {
    text += csvfield(t.term) + "," + csvnumber(t.df) + "," + csvnumber(t.ss) + "," +
            csvnumber(t.ms) + "," + csvnumber(t.rsq) + "," + csvnumber(t.f) + "," + csvnumber(t.z) +
            "," + csvnumber(t.p) + tail;
  }
  text += "Residuals," + csvnumber(anova.residualDf) + "," + csvnumber(anova.residualSs) + "," +
          csvnumber(anova.residualMs) + ",,,," + tail;
  text += "Total," + csvnumber(anova.totalDf) + "," + csvnumber(anova.totalSs) + ",,,,," + tail;
  return text;
}

}  // namespace tarvolin
