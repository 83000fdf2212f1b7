#include "cli/clisteps.h"
#include "workflows/analysissession.h"

namespace tarvolin {

void runallometry(const CliOptions& options, std::ostream& out, std::ostream& err) {
  bool rowsAreLines = false;
  LandmarkSet set = loadclidata(options, err, rowsAreLines);
  std::string source;
  Eigen::VectorXd xlist = loadclix(options, set, source, err);
  // x is transformed before the groups are read and the data superimposed:
  // a bad x is the one named, and refused before the long work.
  Eigen::VectorXd fxlist = transformx(xlist, options.transform, source);
  std::optional<SpecimenGroups> groups = groupsof(options, set);

  const std::string path = set.path;
  const int dims = set.dims;
  const GpaRounds rounds = roundsof(options);
  AnalysisSession session;
  session.load(checkeddataset(set, rowsAreLines), path, dims, {}, rounds, false);
  session.setX(std::move(xlist), source);
  session.useTransformed(std::move(fxlist), options.transform);
  session.setGroups(std::move(groups));
  const std::string fit = gpareporttext(session.loaded().fit);
  // x as the report names it: a table's column with the table's name.
  std::string xName = options.x == "cs" ? "centroid size" : barename(source);
  if (options.x != "cs" && options.x.size() > source.size() + 1 && options.x.starts_with(source) &&
      options.x[source.size()] == ':') {
    xName += options.x.substr(source.size());
  }
  // The report the windows show, with the permutations asked for here.
  AllometryReport report;
  try {
    report = session.allometry({xName, wordof(options.transform)}, barename(path), fit,
                               {options.permutations, options.seed, options.interaction});
  } catch (const InputError& e) {
    blameinput(e, session.groups(), source, path);
  }
  deliver(options, options.json ? report.json : report.text, out);
}

}  // namespace tarvolin
