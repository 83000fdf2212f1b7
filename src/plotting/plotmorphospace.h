#pragma once
// The pictures of shape space, drawn into axes of the graphics document, so
// that the shape space window and tarvolin-cli pca --plot draw the same:
//
// plotmorphospace: the specimens' scores on component view.pcx (across)
// against component view.pcy (up), both from 0, into `axes`, cleared first:
// - each specimen a point of its own (PlotRole::pcScores) whose Tag is the
//   specimen's ID, so that pointing at it or clicking it names it; without
//   groups black dots named "specimens", with groups each group in a colour
//   and marker of its own (groupstyle), the legend naming the groups;
// - with view.hulls and groups, each group's convex hull as a closed line of
//   its colour (PlotRole::pcHull, not in the legend);
// - dashed lines through zero across the extent of the scores
//   (PlotRole::zeroLine, not in the legend);
// - view.chosen: that specimen (its row) as a large red circle on top
//   (PlotRole::pcChosen, named by its ID);
// - axis titles pcaxistitle(), equal scales on both axes, view.title above.
// With a single component the scores lie on the horizontal axis.
//
// plotscree: each component's proportion of the variance as a bar from 0
// (PlotRole::screeProportions) and the cumulative proportion as a line with
// points (PlotRole::screeCumulative), against the component's number;
// axis titles "component" and "proportion of variance".
//
// Example:
//   plotmorphospace(graphics, axes, pca, session.ids(), session.groups(), {.pcx = 0, .pcy = 1});
//   graphics.object(axes).details().xlabel   // "PC1 (34.2%)"

#include <Eigen/Core>
#include <optional>
#include <string>
#include <vector>

#include "document/graphics.h"
#include "formats/readgroups.h"
#include "numerics/shapepca.h"

namespace tarvolin {

struct MorphospaceView {
  Eigen::Index pcx = 0;
  Eigen::Index pcy = 1;
  bool hulls = false;
  std::optional<Eigen::Index> chosen;
  std::string title;
};

void plotmorphospace(Graphics& graphics, Handle axes, const ShapePca& pca,
                     const std::vector<std::string>& ids,
                     const std::optional<SpecimenGroups>& groups, const MorphospaceView& view);

void plotscree(Graphics& graphics, Handle axes, const ShapePca& pca);

// "PC1 (34.2%)": the component (from 0) and its proportion, in percent to
// one decimal.
std::string pcaxistitle(const ShapePca& pca, Eigen::Index component);

// The plot style of group `group` (from 0): a colour letter and a marker,
// the colours in turn first ("bo", "rs", "gd", ...), so that up to 6 groups
// differ in colour and more differ in colour or marker.
std::string groupstyle(size_t group);

}  // namespace tarvolin
