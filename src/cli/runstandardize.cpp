#include "cli/clisteps.h"
#include "core/readnumber.h"
#include "numerics/standardvalueoutside.h"
#include "numerics/untransformx.h"
#include "workflows/analysissession.h"

namespace tarvolin {

void runstandardize(const CliOptions& options, std::ostream& out, std::ostream& err) {
  bool rowsAreLines = false;
  LandmarkSet set = loadclidata(options, err, rowsAreLines);
  std::string source;
  Eigen::VectorXd xlist = loadclix(options, set, source, err);
  // x is transformed before the groups are read and the data superimposed:
  // a bad x is the one named, and refused before the long work.
  Eigen::VectorXd fxlist = transformx(xlist, options.transform, source);
  std::optional<SpecimenGroups> groups = groupsof(options, set);
  const GpaRounds rounds = roundsof(options);

  AnalysisSession session;
  session.load(checkeddataset(set, rowsAreLines), set.path, set.dims, {}, rounds, false);
  session.setX(std::move(xlist), source);
  session.useTransformed(std::move(fxlist), options.transform);
  session.setGroups(std::move(groups));

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
  how.rounds = rounds;
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
