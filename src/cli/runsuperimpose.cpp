#include "cli/clisteps.h"
#include "workflows/analysissession.h"

namespace tarvolin {

void runsuperimpose(const CliOptions& options, std::ostream& out, std::ostream& err) {
  bool rowsAreLines = false;
  LandmarkSet set = loadclidata(options, err, rowsAreLines);
  Eigen::MatrixXd data = checkeddataset(set, rowsAreLines);
  AnalysisSession session;
  session.load(std::move(data), set.path, set.dims, {}, roundsof(options), false);
  if (options.gpa == GpaChoice::converged) {
    err << "tarvolin-cli: " << gpareporttext(session.loaded().fit) << "\n";
  }
  takecoordinates(set, session.releaseData());
  deliverset(options, set, std::nullopt, out, /*superimposed=*/true);
}

}  // namespace tarvolin
