#include "cli/clisteps.h"

namespace tarvolin {

void runconvert(const CliOptions& options, std::ostream& out, std::ostream& err) {
  bool rowsAreLines = false;
  const LandmarkSet set = loadclidata(options, err, rowsAreLines);
  if (options.to != LandmarkFormat::tps && set.scale.size() != 0 &&
      (set.scale.array() != 1).any()) {
    err << "tarvolin-cli: " << wordof(options.to)
        << " has no SCALE=: the coordinates are written times their scale factors, in the units "
           "of the size\n";
  }
  deliverset(options, set, std::nullopt, out);
}

}  // namespace tarvolin
