#include "cli/clisteps.h"
#include "numerics/untransformx.h"

namespace tarvolin {

void runstandardize(const CliOptions& options, std::ostream& out, std::ostream& err) {
  LandmarkSet set;
  StandardizedRows standardized = standardizedrows(options, err, set);
  takecoordinates(set, std::move(standardized.rows));
  const std::optional<double> lastValue =
      options.keepSize
          ? std::nullopt
          : std::optional<double>(untransformx(standardized.standard, options.transform));
  deliverset(options, set, lastValue, out, /*superimposed=*/true);
}

}  // namespace tarvolin
