#include "workflows/showshapespace.h"

#include <algorithm>

#include "core/sprintf.h"
#include "document/actioncallback.h"
#include "plotting/plotmorphospace.h"
#include "workflows/reportwindowparts.h"

namespace tarvolin {
namespace {

constexpr double kMargin = kReportMargin;
constexpr double kRow = kReportButtonHeight;
constexpr double kWidth = 820;
constexpr double kHeight = 640;
constexpr double kScreeWidth = 270;
const Eigen::Vector2d kCorner(160, 50);

// One control of the window, `x` pixels from the left on row `y`.
Handle add(Graphics& graphics, Handle window, ControlStyle style, std::string_view tag,
           const char* string, double x, double y, double width, const char* tooltip,
           const std::string& callback = {},
           std::optional<std::pair<double, double>> numbers = std::nullopt) {
  ControlSpec described =
      reportcontrol(style, tag, string, Eigen::Vector4d(x, y, width, kRow), tooltip);
  described.callback = callback;
  described.numbers = numbers;
  return graphics.uicontrol(window, described);
}

Handle openWindow(Graphics& graphics, std::string_view module) {
  const Handle window = graphics.figure();
  graphics.setTag(window, std::string(tags::kShapeSpaceWindow));
  // As large as the screen allows, kept on it.
  const Eigen::Vector4d place = reportplace(graphics, Eigen::Vector2d(kWidth, kHeight), kCorner);
  graphics.setPosition(window, place);
  const double width = place(2), height = place(3);
  const std::string redraw = actioncallback(module, "ShapeSpaceRedraw");
  const std::string change = actioncallback(module, "ShapeChange");

  // The choosers, along the top.
  double y = height - kMargin - kRow;
  add(graphics, window, ControlStyle::text, "", "Analysis of", kMargin, y, 90, "");
  ControlSpec superimposed = reportcontrol(
      ControlStyle::radiobutton, tags::kShapeOfSuperimposed, "superimposed data",
      Eigen::Vector4d(100, y, 140, kRow), "The principal components of the superimposed specimens");
  superimposed.group = "ShapeOf";
  superimposed.value = 1;
  superimposed.callback = redraw;
  graphics.uicontrol(window, superimposed);
  ControlSpec standardized = reportcontrol(
      ControlStyle::radiobutton, tags::kShapeOfStandardized, "standardized data",
      Eigen::Vector4d(245, y, 140, kRow),
      "The principal components of the specimens standardized to one size (after Standardize)");
  standardized.group = "ShapeOf";
  standardized.callback = redraw;
  graphics.uicontrol(window, standardized);
  add(graphics, window, ControlStyle::text, "", "Across", 395, y, 48, "");
  add(graphics, window, ControlStyle::popupmenu, tags::kShapePCX, "PC1", 443, y, 80,
      "The component along the horizontal axis", redraw);
  add(graphics, window, ControlStyle::text, "", "Up", 533, y, 27, "");
  add(graphics, window, ControlStyle::popupmenu, tags::kShapePCY, "PC1", 560, y, 80,
      "The component along the vertical axis", redraw);
  add(graphics, window, ControlStyle::checkbox, tags::kShapeHulls, "Hulls", 652, y, 75,
      "Draw each group's convex hull (after Load groups)", redraw);

  // The shape change, and the scores, along the bottom.
  y = kMargin + kRow + kMargin;
  add(graphics, window, ControlStyle::text, "", "Shape change along", kMargin, y, 142, "");
  add(graphics, window, ControlStyle::popupmenu, tags::kShapeChangePC, "PC1", 154, y, 75,
      "The component whose shape change the plot window shows", change);
  const Handle ends =
      add(graphics, window, ControlStyle::popupmenu, tags::kShapeChangeEnds,
          std::string(kChangeEnds).c_str(), 234, y, 195,
          "Show the shapes at the component's lowest and highest scores, or at the mean plus "
          "and minus the number of standard deviations given",
          change);
  add(graphics, window, ControlStyle::edit, tags::kShapeChangeSD, "2", 434, y, 40,
      "How many standard deviations of the scores either side of the mean", change,
      std::pair{0.0, 10.0});
  graphics.setValue(ends, 1);
  add(graphics, window, ControlStyle::text, "", "Magnify", 484, y, 60, "");
  add(graphics, window, ControlStyle::edit, tags::kShapeMagnify, "1", 544, y, 40,
      "How many times the change is magnified, 1 to 10", change, std::pair{1.0, 10.0});
  add(graphics, window, ControlStyle::checkbox, tags::kShapeChangeGrid, "Grid", 594, y, 65,
      "A deformation grid from the mean shape to the high end (flat data)", change);
  add(graphics, window, ControlStyle::pushbutton, tags::kShapeChangeButton, "Show shape change",
      kMargin, kMargin, 160,
      "Draw the mean shape and the shapes at both ends of the component in the plot window: "
      "blue toward the low end, red toward the high end",
      change);
  add(graphics, window, ControlStyle::pushbutton, tags::kShapeScoresSaveButton,
      "Save scores as CSV...", 180, kMargin, 170,
      "Write every specimen's scores on every component to a CSV file",
      actioncallback(module, "ShapeScoresSave"));

  // The plots between.
  const double plotBottom = kMargin + 2 * (kRow + kMargin);
  const double plotHeight = height - plotBottom - kRow - 2 * kMargin;
  const double screeWidth = std::min(kScreeWidth, width / 3);
  const double plotWidth = width - screeWidth - 3 * kMargin;
  const Handle space = graphics.axes(window);
  graphics.setTag(space, std::string(tags::kShapeSpacePlot));
  graphics.setPosition(space, Eigen::Vector4d(kMargin, plotBottom, plotWidth, plotHeight));
  graphics.set(space, "Callback", actioncallback(module, "ShapeSpaceSelect"));
  const Handle scree = graphics.axes(window);
  graphics.setTag(scree, std::string(tags::kShapeScreePlot));
  graphics.setPosition(
      scree, Eigen::Vector4d(2 * kMargin + plotWidth, plotBottom, screeWidth, plotHeight));
  return window;
}

// "PC1\nPC2\n..." for `components` components.
std::string componentlist(Eigen::Index components) {
  std::string items;
  for (Eigen::Index c = 0; c < components; ++c) {
    if (c > 0) items += '\n';
    items += sprintf("PC%i", c + 1);
  }
  return items;
}

// Fills a component chooser anew when the number of components changed,
// keeping the choice where it still names a component.
void fillChooser(Graphics& graphics, Handle chooser, Eigen::Index components, double fallback) {
  const std::string items = componentlist(std::max<Eigen::Index>(components, 1));
  if (graphics.object(chooser).details().string != items) graphics.setString(chooser, items);
  const double chosen = graphics.object(chooser).details().value;
  const double last = static_cast<double>(std::max<Eigen::Index>(components, 1));
  if (chosen < 1 || chosen > last) graphics.setValue(chooser, std::min(fallback, last));
}

}  // namespace

double shapecontrolvalue(const Graphics& graphics, Handle window, std::string_view tag) {
  return graphics.object(tagged(graphics, tag, window)).details().value;
}

ObjectId showshapespace(Graphics& graphics, const std::optional<ObjectId>& window,
                        std::string_view module, const ShapeSpaceWindow& opened) {
  const std::optional<Handle> remembered = graphics.currentFigure();
  const bool open = window && graphics.exists(*window);
  const Handle shown = open ? window->handle : openWindow(graphics, module);
  graphics.setName(shown, "Tarvolin shape space: " + opened.file);
  const Handle standardized = tagged(graphics, tags::kShapeOfStandardized, shown);
  graphics.setEnable(standardized, opened.standardized);
  if (!opened.standardized && graphics.object(standardized).details().value != 0) {
    graphics.setValue(tagged(graphics, tags::kShapeOfSuperimposed, shown), 1);
  }
  graphics.setEnable(tagged(graphics, tags::kShapeHulls, shown), opened.grouped);
  graphics.setEnable(tagged(graphics, tags::kShapeChangeGrid, shown), opened.dims == 2);
  if (open) graphics.setVisible(shown, true);  // brought to the front
  if (remembered && *remembered != shown && graphics.isValid(*remembered)) {
    graphics.figure(*remembered);
  }
  return graphics.id(shown);
}

void drawshapespace(Graphics& graphics, Handle window, const ShapePca& pca,
                    const std::vector<std::string>& ids,
                    const std::optional<SpecimenGroups>& groups, std::optional<Eigen::Index> chosen,
                    const std::string& analysis) {
  const std::optional<Handle> remembered = graphics.currentFigure();
  const Eigen::Index m = pca.components();
  fillChooser(graphics, tagged(graphics, tags::kShapePCX, window), m, 1);
  fillChooser(graphics, tagged(graphics, tags::kShapePCY, window), m, 2);
  fillChooser(graphics, tagged(graphics, tags::kShapeChangePC, window), m, 1);
  MorphospaceView view;
  view.pcx = static_cast<Eigen::Index>(shapecontrolvalue(graphics, window, tags::kShapePCX)) - 1;
  view.pcy = static_cast<Eigen::Index>(shapecontrolvalue(graphics, window, tags::kShapePCY)) - 1;
  view.hulls = shapecontrolvalue(graphics, window, tags::kShapeHulls) != 0;
  view.chosen = chosen;
  view.title = sprintf("%i specimens, %s", pca.specimens, analysis);
  plotmorphospace(graphics, tagged(graphics, tags::kShapeSpacePlot, window), pca, ids, groups,
                  view);
  plotscree(graphics, tagged(graphics, tags::kShapeScreePlot, window), pca);
  if (remembered && graphics.isValid(*remembered)) graphics.figure(*remembered);
}

}  // namespace tarvolin
