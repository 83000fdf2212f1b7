#pragma once
// The test window the switchyard tests drive: a window carrying the tags of
// the 3D or the 2D workflow.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "document/graphics.h"
#include "tests/document/legendroles.h"

namespace tarvolin::testing {

// A window carrying the tags of a switchyard, with the enables a freshly
// opened window has; the 3D one has ZORButton too.
inline Handle testWindow(Graphics& graphics, bool with3D) {
  const Handle window = graphics.figure();
  auto add = [&](ControlStyle style, const char* tag, const char* text, bool enable = true,
                 const char* group = "") {
    graphics.uicontrol(window, ControlSpec{style, tag, text, 0, enable, "", {}, "", group});
  };
  if (with3D) add(ControlStyle::radiobutton, "ZORButton", "TPS file");
  add(ControlStyle::text, "FileBox", "No Data Loaded");
  add(ControlStyle::pushbutton, "UseCSButton", "Use size", false);
  add(ControlStyle::pushbutton, "LoadXButton", "Load x list", false);
  add(ControlStyle::pushbutton, "LoadGroupsButton", "Load groups...", false);
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

}  // namespace tarvolin::testing
