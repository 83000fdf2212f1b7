#pragma once
// The shape space window: the morphospace of the principal components of
// shape, the specimens' scores on one component against another's, beside
// the scree of the components' shares of the variance; choosers for the
// analysis (the superimposed data, or the standardized data once they
// exist), the two components and the groups' hulls; and below, what to
// show in the plot window as the shape change along a component: its
// lowest and highest score or a number of standard deviations either side
// of the mean, magnified 1 to 10 times, with a deformation grid for flat
// data. Its controls call the switchyard named `module`:
// MODULE('ShapeSpaceRedraw') for the choosers, MODULE('ShapeSpaceSelect')
// for a specimen clicked in the morphospace, MODULE('ShapeChange') for the
// shape change's controls and MODULE('ShapeScoresSave') for "Save scores
// as CSV...".
//
// showshapespace opens the window, or refreshes it in place when `window`
// is still open, named "Tarvolin shape space: FILE"; the window that was
// current before is current again afterwards. drawshapespace draws the
// analysis in it as its choosers say, refilling the component choosers
// when the number of components changed.
//
// Tags: ShapeSpaceWindow, ShapeOfSuperimposed and ShapeOfStandardized (a
// radio group), ShapePCX and ShapePCY (pop-up menus of PC1, PC2, ...),
// ShapeHulls, ShapeSpacePlot, ShapeScreePlot, ShapeChangePC, ShapeChangeEnds
// (kChangeEnds), ShapeChangeSD, ShapeMagnify, ShapeChangeGrid,
// ShapeChangeButton, ShapeScoresSaveButton.
//
// Example:
//   window = showshapespace(graphics, window, "stand3sw", {"skulls.txt", 3, true, false});
//   drawshapespace(graphics, window->handle, pca, ids, groups, std::nullopt, "superimposed");

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/controltags.h"
#include "document/graphics.h"
#include "formats/readgroups.h"
#include "numerics/shapepca.h"

namespace tarvolin {

// What the window is opened for.
struct ShapeSpaceWindow {
  std::string file;
  int dims = 3;
  bool standardized = false;  // standardized data exist to analyse
  bool grouped = false;       // groups are loaded
};

// The items of ShapeChangeEnds.
inline constexpr std::string_view kChangeEnds = "lowest and highest score\nmean plus and minus SDs";

ObjectId showshapespace(Graphics& graphics, const std::optional<ObjectId>& window,
                        std::string_view module, const ShapeSpaceWindow& opened);

void drawshapespace(Graphics& graphics, Handle window, const ShapePca& pca,
                    const std::vector<std::string>& ids,
                    const std::optional<SpecimenGroups>& groups, std::optional<Eigen::Index> chosen,
                    const std::string& analysis);

// The value of a window's control by its tag (a pop-up menu's item, from 1).
double shapecontrolvalue(const Graphics& graphics, Handle window, std::string_view tag);

}  // namespace tarvolin
