#include "cli/clisteps.h"
#include "workflows/analysissession.h"

namespace tarvolin {

void runsuperimpose(const CliOptions& options, std::ostream& out, std::ostream& err) {
  bool rowsAreLines = false;
  LandmarkSet set = loadclidata(options, err, rowsAreLines);
  const GpaRounds fit = fitof(options, set);
  Eigen::MatrixXd data = checkeddataset(set, rowsAreLines);
  AnalysisSession session;
  session.load(std::move(data), set.path, set.dims, {}, fit, false);
  if (options.gpa == GpaChoice::converged || session.loaded().fit.slid) {
    err << "tarvolin-cli: " << gpareporttext(session.loaded().fit) << "\n";
  }
  takecoordinates(set, session.releaseData());
  deliverset(options, set, std::nullopt, out, /*superimposed=*/true);
}

}  // namespace tarvolin
