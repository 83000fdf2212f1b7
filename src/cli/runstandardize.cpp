#include "cli/clisteps.h"
#include "core/readnumber.h"
#include "numerics/standardvalueoutside.h"
#include "numerics/untransformx.h"

namespace tarvolin {

void runstandardize(const CliOptions& options, std::ostream& out, std::ostream& err) {
  LandmarkSet set;
  std::string source;
  AnalysisSession session = loadclisession(options, err, set, source);

  double svalue = 0;
  if (options.standard.empty()) {
    svalue = session.proposedStandard();
  } else {
    const NumberText typed = readnumber(options.standard);
    if (!typed.value) {
      throw InputError("--standard: \"" + options.standard + "\" " + typed.problemText())
          .concerning(Input::standardValue);
    }
    svalue = *typed.value;
    if (const std::optional<std::string> outside =
            standardvalueoutside(options.standard, svalue, session.fx(), options.transform)) {
      err << "tarvolin-cli: " << *outside << "\n";
    }
  }

  AnalysisSession::Standardizing how;
  how.superimposeAgain = true;
  how.withStack = false;
  how.rounds = roundsof(options);
  // Each step keeps only what the next needs, so large data sets stay small in memory.
  how.releaseData = true;
  try {
    session.standardize(svalue, how);
  } catch (const InputError& e) {
    blameinput(e, session.groups(), source, set.path);
  }
  takecoordinates(set, session.releaseStandardized());
  const std::optional<double> lastValue =
      options.keepSize ? std::nullopt
                       : std::optional<double>(untransformx(svalue, options.transform));
  deliverset(options, set, lastValue, out, /*superimposed=*/true);
}

}  // namespace tarvolin
