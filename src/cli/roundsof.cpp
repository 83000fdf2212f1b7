#include "cli/clisteps.h"
#include "core/sprintf.h"

namespace tarvolin {

GpaRounds roundsof(const CliOptions& options) {
  GpaRounds rounds;
  rounds.converge = options.gpa == GpaChoice::converged;
  if (!(options.tolerance >= 0)) {
    throw InputError("--tolerance must be a number of at least 0, not " +
                     sprintf("%g", options.tolerance))
        .concerning(Input::option);
  }
  rounds.tolerance = options.tolerance;
  return rounds;
}

}  // namespace tarvolin
