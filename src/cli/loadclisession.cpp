#include "cli/clisteps.h"

namespace tarvolin {

AnalysisSession loadclisession(const CliOptions& options, std::ostream& err, LandmarkSet& set,
                               std::string& source) {
  bool rowsAreLines = false;
  set = loadclidata(options, err, rowsAreLines);
  Eigen::VectorXd xlist = loadclix(options, set, source, err);
  Eigen::VectorXd fxlist = transformx(xlist, options.transform, source);
  std::optional<SpecimenGroups> groups = groupsof(options, set);

  const GpaRounds fit = fitof(options, set);
  AnalysisSession session;
  session.load(checkeddataset(set, rowsAreLines), set.path, set.dims, {}, fit, false);
  if (session.loaded().fit.slid) {
    err << "tarvolin-cli: " << gpareporttext(session.loaded().fit) << "\n";
  }
  session.setX(std::move(xlist), source);
  session.useTransformed(std::move(fxlist), options.transform);
  session.setGroups(std::move(groups));
  return session;
}

}  // namespace tarvolin
