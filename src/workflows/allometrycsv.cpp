#include <charconv>
#include <cmath>

#include "workflows/allometrytable.h"

namespace tarvolin {
namespace {

// The shortest text that reads back to the same double, in every locale.
std::string number(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Inf" : "-Inf";
  char digits[32];
  return std::string(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

// A field as a CSV reader takes it back whole. Semicolons and tabs are quoted
// too: readers that guess the separator then cannot take them for one.
std::string field(const std::string& text) {
  const bool plain = text.find_first_of(",\";\t\r\n") == std::string::npos &&
                     (text.empty() || (text.front() != ' ' && text.back() != ' '));
  if (plain) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace

std::string allometrycsv(const ProcrustesAnova& anova, const AllometryRecord& record) {
  const std::string tail = "," + field(record.data) + "," + field(record.x) + "," +
                           field(record.transform) + "," + field(record.groups) + "," +
                           std::to_string(anova.permutations) + "," + std::to_string(anova.seed) +
                           "\n";
  std::string text = "term,Df,SS,MS,Rsq,F,Z,Pr(>F),data,x,transform,groups,permutations,seed\n";
  for (const AnovaTerm& t : anova.terms) {
    text += field(t.term) + "," + number(t.df) + "," + number(t.ss) + "," + number(t.ms) + "," +
            number(t.rsq) + "," + number(t.f) + "," + number(t.z) + "," + number(t.p) + tail;
  }
  text += "Residuals," + number(anova.residualDf) + "," + number(anova.residualSs) + "," +
          number(anova.residualMs) + ",,,," + tail;
  text += "Total," + number(anova.totalDf) + "," + number(anova.totalSs) + ",,,,," + tail;
  return text;
}

}  // namespace tarvolin
