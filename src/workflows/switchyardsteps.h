#pragma once
// The steps of the x-variable and the groups, which the 3D and the 2D
// switchyards take word for word on the analysis session they drive:
// centroid size, an x list, the transform, the groups. `standardizedAt` is
// the window's record of what its standardization was made with, which a
// new x-variable puts out of force with the standardization itself.
//
// Example:
//   void Standsw::useCS() { usecentroidsize(session_, state_.standardizedAt, panel_); }

#include <Eigen/Core>
#include <optional>
#include <string>
#include <utility>

#include "core/sprintf.h"
#include "document/controltags.h"
#include "workflows/analysissession.h"
#include "workflows/semilandmarks.h"
#include "workflows/switchyardpanel.h"

namespace tarvolin {

// A new x-variable: the transform, and what was standardized with it,
// belonged to the earlier one; regressing on its values while the window
// names the new one would be wrong without a word. Only the first column of
// an x list is x.
inline void takexvariable(AnalysisSession& session, std::optional<StandardizedAt>& standardizedAt,
                          SwitchyardPanel& panel, const Eigen::MatrixXd& xlist,
                          std::string source) {
  session.setX(xlist.cols() == 0 ? Eigen::VectorXd() : Eigen::VectorXd(xlist.col(0)),
               std::move(source));
  standardizedAt.reset();
  panel.resetXChoice();
}

// UseCS: x is the size column of the data set.
inline void usecentroidsize(AnalysisSession& session, std::optional<StandardizedAt>& standardizedAt,
                            SwitchyardPanel& panel) {
  requiredata(session.data());
  session.useCentroidSize("centroid size");
  standardizedAt.reset();
  panel.resetXChoice();
  panel.setString(tags::kXVarBox, "");
  panel.reportCentroidSize(session.x().rows());
}

// LoadxList: x is a list the user chooses; nothing changes after a cancel.
inline void loadxlistinto(AnalysisSession& session, std::optional<StandardizedAt>& standardizedAt,
                          SwitchyardPanel& panel) {
  std::optional<XList> xlist = panel.loadXList(session.data().rows());
  if (!xlist) return;
  takexvariable(session, standardizedAt, panel, xlist->values, std::move(xlist->name));
}

// UseX, UseLn, UseLog: the transform of x, shown in the boxes. What was
// standardized stays: it is saved with the transform it was made on.
inline void choosetransform(AnalysisSession& session, SwitchyardPanel& panel, Transform lcode) {
  // A transform chosen before Clear is in force for no x-variable.
  const std::optional<Transform> inForce =
      session.fx().size() != 0 ? session.transformInForce() : std::nullopt;
  session.useTransformed(panel.showTransform(session.x(), lcode, inForce), lcode);
}

// LoadGroups: the groups of the loaded data set's specimens.
inline void loadgroupsinto(AnalysisSession& session, SwitchyardPanel& panel) {
  requiredata(session.data());
  std::optional<SpecimenGroups> groups = panel.loadGroups(session.ids());
  if (groups) session.setGroups(std::move(groups));
}

// LoadSliders: asks for a sliders or a surface file and reads it into a
// copy of `now`, which the caller keeps once it has used it; nothing after
// a cancel. `said` tells what was read, for the status line.
struct SlidersLoaded {
  Semilandmarks semilandmarks;
  std::string said;
};
inline std::optional<SlidersLoaded> loadslidersfile(const Semilandmarks& now,
                                                    FileDialogs& dialogs) {
  const std::optional<FileChoice> choice =
      dialogs.getFile("*.txt;*.csv;*.tsv", "Load a sliders or surface file");
  if (!choice) return std::nullopt;
  SlidersLoaded loaded{now, ""};
  if (loaded.semilandmarks.load(choice->path()) == SlidersFileKind::surface) {
    loaded.said = sprintf("Loaded %i points sliding on the surface from %s",
                          loaded.semilandmarks.sliders().surface.size(), choice->name);
  } else {
    loaded.said = sprintf("Loaded %i points sliding on curves from %s",
                          loaded.semilandmarks.sliders().curve.size(), choice->name);
  }
  return loaded;
}

// LoadSliders in either window: the file read; while the semilandmarks
// slide (slidBy), the data are superimposed again with it by `again(by,
// done)`, and a refusal there keeps the sliders as they were; otherwise the
// switch shows and `redraw()` draws the data.
template <class Again, class Redraw>
void loadslidersinto(Semilandmarks& semilandmarks, std::optional<SlideMethod> slidBy,
                     FileDialogs& dialogs, SwitchyardPanel& panel, const Again& again,
                     const Redraw& redraw) {
  std::optional<SlidersLoaded> loaded = loadslidersfile(semilandmarks, dialogs);
  if (!loaded) return;
  Semilandmarks before = std::exchange(semilandmarks, std::move(loaded->semilandmarks));
  if (slidBy) {
    try {
      again(slidBy, loaded->said + "; superimposed");
    } catch (...) {
      semilandmarks = std::move(before);
      throw;
    }
    return;
  }
  panel.showSliding(true, std::nullopt);
  redraw();
  panel.reportSuperimposed(loaded->said +
                           "; set Slide semilandmarks to superimpose the data sliding them");
}

}  // namespace tarvolin
