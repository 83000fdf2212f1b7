#pragma once
// Shows one specimen's points before and after its semilandmarks slid, in
// the current axes, over nothing else (what they showed goes first):
// - the curves the semilandmarks slide on, through the points after
//   sliding (showcurves);
// - a red segment from where each semilandmark stood before sliding to
//   where it slid (PlotRole::slideLinks, not in the legend);
// - the semilandmarks before sliding as blue circles (PlotRole::unslidPoints,
//   kBeforeSliding);
// - every point after sliding as red dots, numbered as the landmarks are
//   (PlotRole::slidPoints, kAfterSliding): a point with no circle is a
//   fixed landmark, which does not slide.
// before, after: k x d (d = 2 or 3), the specimen before and after sliding,
// superimposed alike (see slidegpa's unslid); slides: which of the k points
// slide. Hold is left on and the axes made equal; flat data are seen from
// above, 3D data in the axes' 3D view.
//
// Example:
//   showsliding(graphics, before, after, semilandmarks.flags(), sliders.curve);

#include <Eigen/Core>
#include <vector>

#include "document/graphics.h"
#include "landmarks/sliders.h"

namespace tarvolin {

void showsliding(Graphics& graphics, const Eigen::MatrixXd& before, const Eigen::MatrixXd& after,
                 const std::vector<bool>& slides, const std::vector<CurveSlider>& curve);

}  // namespace tarvolin
