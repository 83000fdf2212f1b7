#include <algorithm>

#include "cli/clisteps.h"
#include "core/printable.h"
#include "core/sprintf.h"
#include "workflows/analysissession.h"

namespace tarvolin {

void runinfo(const CliOptions& options, std::ostream& out, std::ostream& err) {
  bool rowsAreLines = false;
  LandmarkSet set = loadclidata(options, err, rowsAreLines);
  const Eigen::Index n = set.specimens();
  const Eigen::Index k = set.landmarks();
  const GpaRounds rounds = fitof(options, set);
  AnalysisSession session;
  session.load(checkeddataset(set, rowsAreLines), set.path, set.dims, {}, rounds, false);
  std::string text = sprintf("%s \nhas %i specimens \nwith %i landmarks", barename(set.path), n, k);
  text +=
      sprintf("\ncentroid size from %4.4f to %4.4f\n", set.size.minCoeff(), set.size.maxCoeff());
  text += sprintf("%iD landmarks; specimens %s to %s\n", set.dims, printable(set.ids.front()),
                  printable(set.ids.back()));
  const auto semilandmarks = std::count(set.semilandmark.begin(), set.semilandmark.end(), true);
  if (semilandmarks > 0) {
    text += semilandmarks == 1 ? std::string("of the landmarks, the last is a semilandmark\n")
                               : sprintf("of the landmarks, the last %i are semilandmarks\n",
                                         static_cast<double>(semilandmarks));
  }
  if (rounds.slide) {
    const Sliders& sliders = rounds.slide->sliders;
    const size_t sliding = sliders.curve.size() + sliders.surface.size();
    text += sprintf(sliding == 1 ? "%i semilandmark slides: %i on curves, %i on the surface\n"
                                 : "%i semilandmarks slide: %i on curves, %i on the surface\n",
                    static_cast<double>(sliding), static_cast<double>(sliders.curve.size()),
                    static_cast<double>(sliders.surface.size()));
  }
  text += "superimposition: " + gpareporttext(session.loaded().fit) + "\n";
  deliver(options, text, out);
}

}  // namespace tarvolin
