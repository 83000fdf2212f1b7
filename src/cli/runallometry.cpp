#include "cli/clisteps.h"

namespace tarvolin {

void runallometry(const CliOptions& options, std::ostream& out, std::ostream& err) {
  LandmarkSet set;
  std::string source;
  AnalysisSession session = loadclisession(options, err, set, source);
  const std::string& path = set.path;
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
