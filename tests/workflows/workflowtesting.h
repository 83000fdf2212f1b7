#pragma once
// The test window the switchyard tests drive: a window carrying the tags of
// the 3D or the 2D workflow.

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/filedialogs.h"
#include "document/graphics.h"
#include "tests/document/legendroles.h"
#include "tests/testing.h"
#include "workflows/stand3sw.h"
#include "workflows/standsw.h"

namespace tarvolin::testing {

// A window carrying the tags of a switchyard, with the enables a freshly
// opened window has; the 3D one has ZORButton too.
inline Handle testWindow(Graphics& graphics, bool with3D) {
  const Handle window = graphics.figure();
  auto add = [&](ControlStyle style, const char* tag, const char* text, bool enable = true,
                 const char* group = "", double value = 0, bool visible = true) {
    graphics.uicontrol(window,
                       ControlSpec{style, tag, text, value, enable, "", {}, "", group, visible});
  };
  if (with3D) add(ControlStyle::radiobutton, "ZORButton", "TPS file");
  add(ControlStyle::text, "FileBox", "No Data Loaded");
  add(ControlStyle::pushbutton, "UseCSButton", "Use size", false);
  add(ControlStyle::pushbutton, "LoadXButton", "Load x list", false);
  add(ControlStyle::pushbutton, "LoadGroupsButton", "Load groups...", false);
  add(ControlStyle::pushbutton, "LoadSlidersButton", "Load sliders...", false);
  add(ControlStyle::checkbox, "SlideBox", "Slide semilandmarks", true, "", 0, false);
  add(ControlStyle::popupmenu, "SlideCriterion",
      "bending energy\nProcrustes distance\nbending energy, refit\nProcrustes distance, refit",
      true, "", 1, false);
  add(ControlStyle::pushbutton, "ShowSlidingButton", "Show sliding...", false, "", 0, false);
  add(ControlStyle::text, "XVarBox", "");
  for (const char* box : {"MinBox", "MaxBox", "MeanBox", "MedianBox", "StandardBox"}) {
    add(box[0] == 'S' ? ControlStyle::edit : ControlStyle::text, box, "0.0000");
  }
  add(ControlStyle::radiobutton, "XButton", "x", true, "transform");
  add(ControlStyle::radiobutton, "LnButton", "ln x", true, "transform");
  add(ControlStyle::radiobutton, "LogButton", "log10 x", true, "transform");
  add(ControlStyle::pushbutton, "AcceptStandard", "Standardize", false);
  add(ControlStyle::pushbutton, "AllometryButton", "Allometry...", false);
  add(ControlStyle::pushbutton, "SaveStandard", "Save standardized data", false);
  add(ControlStyle::pushbutton, "ShowStandard", "Show standardized", false);
  add(ControlStyle::pushbutton, "GoRegress", "Accept x");
  add(ControlStyle::checkbox, "CSBox", "Keep size in file");
  add(ControlStyle::pushbutton, "ShowDataButton", "Show data", false);
  add(ControlStyle::pushbutton, "CheckDataButton", "Check data...", false);
  add(ControlStyle::pushbutton, "ShapeSpaceButton", "Shape space...", false);
  if (with3D) {
    add(ControlStyle::pushbutton, "ClearPlotButton", "Clear plot", false);
    add(ControlStyle::pushbutton, "CopyPlotButton", "Copy plot", false);
  }
  return window;
}

// Checks that every plotted object under `within` stands for the role its
// legend text names, as the workflows plot them; the number checked.
inline size_t expectRolesOfLegends(const Graphics& graphics, Handle within) {
  size_t checked = 0;
  for (Handle h : graphics.descendants(within, ObjectType::line)) {
    const GraphicsObject& line = graphics.object(h);
    const std::optional<PlotRole> role = roleOfLegend(line.displayName);
    EXPECT_TRUE(role) << "a plotted object called \"" << line.displayName << "\"";
    if (!role) continue;
    EXPECT_EQ(line.role, *role) << line.displayName;
    ++checked;
  }
  return checked;
}

// One workflow window driven as its buttons drive it, for the tests of the
// windows its buttons open: the test window of the 3D or the 2D workflow,
// both switchyards (the one of the window's kind runs), file dialogs that
// answer from a script, and the last status text.
class WorkflowWindows {
 public:
  explicit WorkflowWindows(bool threeD)
      : threeD_(threeD), window_(testWindow(graphics_, threeD)) {
    graphics_.subscribe([this](const GraphicsChange& c) {
      if (c.kind == GraphicsChange::Kind::status) status_ = c.detail;
    });
  }

  // Runs `action`; a dialog it opens gets `path` (an empty one: cancelled).
  void run(std::string_view action, std::optional<std::string> path = std::nullopt) {
    if (path) path->empty() ? dialogs_.cancel() : dialogs_.choose(*path);
    threeD_ ? sw3_(action) : sw2_(action);
  }
  int dims() const { return threeD_ ? 3 : 2; }
  const AnalysisSession& session() const { return threeD_ ? sw3_.session() : sw2_.session(); }
  // The plotted objects of `role` in the workflow's plot.
  std::vector<const GraphicsObject*> plotted(PlotRole role) const {
    const Handle plot = threeD_ ? sw3_.state().fighand1->handle : window_;
    std::vector<const GraphicsObject*> found;
    for (Handle h : graphics_.descendants(plot, ObjectType::line)) {
      if (graphics_.object(h).role == role) found.push_back(&graphics_.object(h));
    }
    return found;
  }

 protected:
  CwdGuard cwd_;
  Graphics graphics_;
  ScriptedFileDialogs dialogs_;
  bool threeD_;
  Handle window_;
  Stand3sw sw3_{graphics_, dialogs_};
  Standsw sw2_{graphics_, dialogs_};
  std::string status_;
};

}  // namespace tarvolin::testing
