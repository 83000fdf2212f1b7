#include "cli/clisteps.h"
#include "core/readnumber.h"
#include "numerics/standardvalueoutside.h"

namespace tarvolin {

StandardizedRows standardizedrows(const CliOptions& options, std::ostream& err, LandmarkSet& set,
                                  bool withinGroups) {
  std::string source;
  GpaRounds fit;
  AnalysisSession session = loadclisession(options, err, set, source, &fit);

  StandardizedRows result;
  if (options.standard.empty()) {
    result.standard = session.proposedStandard();
  } else {
    const NumberText typed = readnumber(options.standard);
    if (!typed.value) {
      throw InputError("--standard: \"" + options.standard + "\" " + typed.problemText())
          .concerning(Input::standardValue);
    }
    result.standard = *typed.value;
    if (const std::optional<std::string> outside = standardvalueoutside(
            options.standard, result.standard, session.fx(), options.transform)) {
      err << "tarvolin-cli: " << *outside << "\n";
    }
  }

  AnalysisSession::Standardizing how;
  how.superimposeAgain = true;
  how.withStack = false;
  how.rounds = roundsof(options);
  how.withinGroups = withinGroups;
  // Each step keeps only what the next needs, so large data sets stay small in memory.
  how.releaseData = true;
  try {
    session.standardize(result.standard, how);
  } catch (const InputError& e) {
    blameinput(e, session.groups(), source, set.path);
  }
  result.rows = session.releaseStandardized();
  result.groups = session.groups();
  result.slid = fit.slide;
  return result;
}

}  // namespace tarvolin
