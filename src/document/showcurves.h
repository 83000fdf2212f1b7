#pragma once
// Draws the curves semilandmarks slide on over a configuration (the mean
// shape), so that a plot shows the outlines its points stand for.
//
// x:     a configuration, k x 2 or k x 3.
// curve: the curve sliders (sliders.h); each joins the point before it, it
//        and the point after it. Every segment they make is drawn once, as
//        a line of `style` (default "c-") the legend calls kCurves, standing
//        for PlotRole::curves; a slider that names a point outside x is
//        passed over. Hold goes on first (the segments join what the axes
//        show); the axis modes are left as they are.
//
// Example:
//   showcurves(graphics, mean1, semilandmarks.sliders().curve);

#include <Eigen/Core>
#include <string_view>
#include <vector>

#include "document/graphics.h"
#include "landmarks/sliders.h"

namespace tarvolin {

void showcurves(Graphics& graphics, const Eigen::MatrixXd& x, const std::vector<CurveSlider>& curve,
                std::string_view style = "c-");

}  // namespace tarvolin
