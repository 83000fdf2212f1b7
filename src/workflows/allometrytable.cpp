#include "workflows/allometrytable.h"

#include <vector>

#include "core/alignedcolumns.h"

namespace tarvolin {

std::string allometrytable(const ProcrustesAnova& anova) {
  const std::vector<std::vector<std::string>> rows = allometrycells(anova);
  // The terms' names to the left, the figures to the right.
  std::vector<bool> right(rows.front().size(), true);
  right.front() = false;
  std::string text;
  for (const std::string& line : alignedcolumns(rows, right)) text += line + "\n";
  return text;
}

}  // namespace tarvolin
