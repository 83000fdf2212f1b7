#include "cli/clisteps.h"

namespace tarvolin {

AnalysisSession loadclisession(const CliOptions& options, std::ostream& err, LandmarkSet& set,
                               std::string& source, GpaRounds* fit) {
  bool rowsAreLines = false;
  set = loadclidata(options, err, rowsAreLines);
  Eigen::VectorXd xlist = loadclix(options, set, source, err);
  Eigen::VectorXd fxlist = transformx(xlist, options.transform, source);
  std::optional<SpecimenGroups> groups = groupsof(options, set);

  const GpaRounds rounds = fitof(options, set);
  if (fit) *fit = rounds;
  AnalysisSession session;
  session.load(checkeddataset(set, rowsAreLines), set.path, set.dims, {}, rounds, false);
  if (session.loaded().fit.slid) {
    err << "tarvolin-cli: " << gpareporttext(session.loaded().fit) << "\n";
  }
  session.setX(std::move(xlist), source);
  session.useTransformed(std::move(fxlist), options.transform);
  session.setGroups(std::move(groups));
  return session;
}

}  // namespace tarvolin
