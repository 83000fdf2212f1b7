#include "workflows/showslidingview.h"

#include <algorithm>
#include <cmath>

#include "core/sprintf.h"
#include "document/actioncallback.h"
#include "document/controltags.h"
#include "document/showsliding.h"
#include "numerics/centsize3Da.h"
#include "numerics/slidewarnings.h"
#include "workflows/reportwindowparts.h"

namespace tarvolin {
namespace {

using Eigen::Index;

constexpr double kMargin = kReportMargin;
constexpr double kRow = kReportButtonHeight;
constexpr double kWidth = 640;
constexpr double kHeight = 600;
constexpr double kTextRows = 2;
const Eigen::Vector2d kCorner(200, 70);

Handle openWindow(Graphics& graphics, std::string_view module) {
  const Handle window = graphics.figure();
  graphics.setTag(window, std::string(tags::kSlidingWindow));
  // As large as the screen allows, kept on it.
  const Eigen::Vector4d place = reportplace(graphics, Eigen::Vector2d(kWidth, kHeight), kCorner);
  graphics.setPosition(window, place);
  const double width = place(2), height = place(3);
  double y = height - kMargin - kRow;
  graphics.uicontrol(window, reportcontrol(ControlStyle::text, "", "Specimen",
                                           Eigen::Vector4d(kMargin, y, 70, kRow), ""));
  ControlSpec chooser = reportcontrol(
      ControlStyle::popupmenu, tags::kSlidingSpecimen, "", Eigen::Vector4d(85, y, 220, kRow),
      "The specimen shown: its points after sliding (red, numbered as its landmarks) and its "
      "semilandmarks before sliding (blue circles)");
  chooser.callback = actioncallback(module, "SlidingSpecimen");
  graphics.uicontrol(window, chooser);
  const double textHeight = kTextRows * kRow;
  y -= kMargin + textHeight;
  graphics.uicontrol(
      window, reportcontrol(ControlStyle::text, tags::kSlidingText, "",
                            Eigen::Vector4d(kMargin, y, width - 2 * kMargin, textHeight),
                            "How far the specimen's semilandmarks slid, in centroid sizes"));
  const Handle plot = graphics.axes(window);
  graphics.setTag(plot, std::string(tags::kSlidingPlot));
  graphics.setPosition(plot,
                       Eigen::Vector4d(kMargin, kMargin, width - 2 * kMargin, y - 2 * kMargin));
  return window;
}

// Row i of a data set, k x d.
Eigen::MatrixXd landmarksof(const Eigen::MatrixXd& rows, Index i, int dims, Index k) {
  Eigen::MatrixXd x(k, dims);
  for (Index j = 0; j < k; ++j) {
    for (int d = 0; d < dims; ++d) x(j, d) = rows(i, j * dims + d);
  }
  return x;
}

// How far each point of specimen i slid, in its centroid sizes.
Eigen::VectorXd slidby(const SlidFit& shown, Index i) {
  const Index k = shown.unslid.cols() / shown.dims;
  const Eigen::MatrixXd after = landmarksof(shown.slid, i, shown.dims, k);
  const Eigen::MatrixXd before = landmarksof(shown.unslid, i, shown.dims, k);
  const double size = centsize3Da(after);
  return (after - before).rowwise().norm() / (size > 0 ? size : 1.0);
}

}  // namespace

ObjectId showslidingview(Graphics& graphics, const std::optional<ObjectId>& window,
                         std::string_view module, const std::string& file,
                         const std::vector<std::string>& ids) {
  const std::optional<Handle> remembered = graphics.currentFigure();
  const bool open = window && graphics.exists(*window);
  const Handle shown = open ? window->handle : openWindow(graphics, module);
  graphics.setName(shown, "Tarvolin sliding: " + file);
  std::string items;
  for (const std::string& id : ids) items += (items.empty() ? "" : "\n") + id;
  const Handle chooser = tagged(graphics, tags::kSlidingSpecimen, shown);
  if (graphics.object(chooser).details().string != items) graphics.setString(chooser, items);
  if (open) graphics.setVisible(shown, true);  // brought to the front
  if (remembered && *remembered != shown && graphics.isValid(*remembered)) {
    graphics.figure(*remembered);
  }
  return graphics.id(shown);
}

Eigen::Index farthestslid(const SlidFit& shown) {
  Index farthest = 0;
  double most = -1;
  for (Index i = 0; i < shown.unslid.rows(); ++i) {
    const double far = slidby(shown, i).maxCoeff();
    if (far > most) {
      most = far;
      farthest = i;
    }
  }
  return farthest;
}

std::string drawslidingview(Graphics& graphics, Handle window, const SlidFit& shown,
                            Eigen::Index specimen) {
  const std::optional<Handle> remembered = graphics.currentFigure();
  const Index k = shown.unslid.cols() / shown.dims;
  graphics.setValue(tagged(graphics, tags::kSlidingSpecimen, window),
                    static_cast<double>(specimen + 1));
  const Handle plot = tagged(graphics, tags::kSlidingPlot, window);
  graphics.setCurrentAxes(plot);
  showsliding(graphics, landmarksof(shown.unslid, specimen, shown.dims, k),
              landmarksof(shown.slid, specimen, shown.dims, k), shown.slides, shown.curve);
  const std::string& id = shown.ids[static_cast<size_t>(specimen)];
  graphics.setTitle(plot, id + ": before and after sliding");

  const Eigen::VectorXd by = slidby(shown, specimen);
  double least = HUGE_VAL, most = -1;
  Index sliding = 0, farthest = 0;
  for (Index j = 0; j < k; ++j) {
    if (!shown.slides[static_cast<size_t>(j)]) continue;
    ++sliding;
    least = std::min(least, by(j));
    if (by(j) > most) {
      most = by(j);
      farthest = j;
    }
  }
  std::string line =
      sliding == 0 ? id + ": no semilandmark slid"
                   : sprintf("%s: %i semilandmarks slid %.2g to %.2g centroid sizes, the farthest "
                             "landmark %i",
                             id, sliding, least, most, farthest + 1);
  GpaReport own = shown.fit;
  std::erase_if(own.strays, [&](const SlideStray& s) { return s.row != specimen; });
  for (const std::string& astray : slidewarnings(own, shown.ids, 3)) line += "; " + astray;
  graphics.setString(tagged(graphics, tags::kSlidingText, window), line);
  if (remembered && graphics.isValid(*remembered)) graphics.figure(*remembered);
  return line;
}

}  // namespace tarvolin
