#include "document/plotrole.h"

#include <functional>

#include "document/graphics.h"
#include "document/showcurves.h"
#include "document/showshape.h"
#include "document/showshape3D.h"
#include "document/wireshape3D.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::row;

Eigen::MatrixXd triangle() {
  Eigen::MatrixXd x(3, 3);
  x << 0, 0, 0, 1, 0, 0, 0, 1, 0;
  return x;
}

// Every plotted object a plot leaves stands for the role its caller gave,
// on the plot and on the picture copied from it.
TEST(PlotRole, CarriedByEveryPlotAndItsCopy) {
  struct Case {
    const char* plotted;
    std::function<void(Graphics&)> plot;
    PlotRole role;
    size_t objects;
  };
  const Eigen::MatrixXd rows{{1, 2, 3, 4, 0}, {5, 6, 7, 8, 0}};
  const Eigen::MatrixXd wires{{1, 1, 2}, {2, 2, 3}, {3, 3, 1}};
  const std::vector<Case> cases = {
      {"plot, unnamed",
       [](Graphics& g) {
         g.plot(row({1, 2}), row({3, 4}), "bo", 6);
       },
       PlotRole::other, 1},
      {"plot, fitted line",
       [](Graphics& g) {
         g.plot(row({1, 2}), row({3, 4}), "r-", 6, "fitted line", PlotRole::fittedLine);
       },
       PlotRole::fittedLine, 1},
      {"plot3, unnamed", [](Graphics& g) { g.plot3(row({1}), row({2}), row({3}), "k."); },
       PlotRole::other, 1},
      {"plot3, saved mean",
       [](Graphics& g) {
         g.plot3(row({1}), row({2}), row({3}), "ks", "mean of standardized, as saved",
                 PlotRole::savedStandardizedMean);
       },
       PlotRole::savedStandardizedMean, 1},
      {"showshape, by name", [&](Graphics& g) { showshape(g, rows, "rs"); }, PlotRole::other, 4},
      {"showshape, specimens",
       [&](Graphics& g) {
         showshape(g, rows, "bo", "specimens, superimposed", PlotRole::specimens);
       },
       PlotRole::specimens, 4},
      {"showshape3D, by name", [](Graphics& g) { showshape3D(g, triangle(), "b*"); },
       PlotRole::other, 1},
      {"showcurves, a point between two",
       [](Graphics& g) {
         showcurves(g, triangle(), {{0, 1, 2}});
       },
       PlotRole::curves, 2},
      {"showshape3D, standardized mean",
       [](Graphics& g) {
         showshape3D(g, triangle(), "r*", "mean of standardized", PlotRole::standardizedMean);
       },
       PlotRole::standardizedMean, 1},
      {"wireshape3D, as by name",
       [&](Graphics& g) {
         g.hold(true);
         wireshape3D(g, triangle(), wires, "g");
       },
       PlotRole::wireframe, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.plotted);
    Graphics g;
    c.plot(g);
    const std::vector<Handle> lines = g.descendants(g.gca(), ObjectType::line);
    ASSERT_EQ(lines.size(), c.objects);
    for (Handle h : lines) EXPECT_EQ(g.object(h).role, c.role);
    g.print("-dmeta");
    ASSERT_TRUE(g.clipboard().has_value());
    ASSERT_EQ(g.clipboard()->lines.size(), c.objects);
    for (const GraphicsObject& copied : g.clipboard()->lines) EXPECT_EQ(copied.role, c.role);
  }
}

}  // namespace
}  // namespace tarvolin
