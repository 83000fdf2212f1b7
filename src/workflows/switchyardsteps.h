#pragma once
// The steps of the x-variable and the groups, which the 3D and the 2D
// switchyards take word for word on their workflow variables: centroid
// size, an x list, the transform, the groups. `State` is a switchyard's
// State (DATA, XLIST, FXLIST, LCODE, xsource, fxname, SDATA,
// standardizedAt, ids, groups); a 3D one also keeps the standardized stack
// and mean, which a new x-variable puts out of force as well.
//
// Example:
//   void Standsw::useCS() { usecentroidsize(state_, panel_); }

#include <Eigen/Core>
#include <optional>
#include <string>

#include "workflows/switchyardpanel.h"

namespace tarvolin {

// A new x-variable: the transform, and what was standardized with it,
// belonged to the earlier one; regressing on its values while the window
// names the new one would be wrong without a word.
template <typename State>
void takexvariable(State& state, SwitchyardPanel& panel, Eigen::MatrixXd xlist,
                   std::string source) {
  state.XLIST = std::move(xlist);
  state.xsource = std::move(source);
  state.FXLIST.resize(0, 0);
  state.fxname.clear();
  state.SDATA.resize(0, 0);
  if constexpr (requires { state.SDATAV; }) {
    state.SDATAV = {};
    state.smean.resize(0, 0);
  }
  state.standardizedAt.reset();
  panel.resetXChoice();
}

// UseCS: x is the size column of the data set.
template <typename State>
void usecentroidsize(State& state, SwitchyardPanel& panel) {
  requiredata(state.DATA);
  takexvariable(state, panel, state.DATA.col(state.DATA.cols() - 1), "centroid size");
  panel.setString("XVarBox", "");
  panel.reportCentroidSize(state.XLIST.rows());
}

// LoadxList: x is a list the user chooses; nothing changes after a cancel.
template <typename State>
void loadxlistinto(State& state, SwitchyardPanel& panel) {
  std::optional<XList> xlist = panel.loadXList(state.DATA.rows());
  if (!xlist) return;
  takexvariable(state, panel, std::move(xlist->values), std::move(xlist->name));
}

// UseX, UseLn, UseLog: the transform of x, shown in the boxes.
template <typename State>
void choosetransform(State& state, SwitchyardPanel& panel, Transform lcode) {
  const std::optional<Transform> inForce =
      state.FXLIST.size() != 0 ? state.LCODE : std::optional<Transform>();
  state.FXLIST = panel.showTransform(state.XLIST, lcode, inForce);
  state.LCODE = lcode;
  state.fxname = xvariablename(state.xsource, lcode);
}

// LoadGroups: the groups of the loaded data set's specimens.
template <typename State>
void loadgroupsinto(State& state, SwitchyardPanel& panel) {
  requiredata(state.DATA);
  std::optional<SpecimenGroups> groups = panel.loadGroups(state.ids);
  if (groups) state.groups = std::move(groups);
}

}  // namespace tarvolin
