#include "desktop/renderaxes.h"

#include <QPaintEngine>
#include <QPen>
#include <QPolygonF>
#include <array>
#include <cmath>

#include "desktop/renderaxesparts.h"

namespace tarvolin {
namespace axesdrawing {

namespace {

// The landmark numbers beside the means.
constexpr int kNumberPixels = 10;

// How opaque the specimen sets are at most while a chosen specimen is shown.
constexpr double kOpacityBehindChosen = 0.2;

// The line through the points in order, broken where a point is not a
// number, cut to `clip` by geometry (some vector devices cannot clip).
void drawlines(QPainter& painter, const AxesLayout& layout, const QRectF& clip,
               const GraphicsObject& line, const PlotStyle& style) {
  QPen pen(style.colour, layout.scale, style.line);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  painter.setRenderHint(QPainter::Antialiasing, true);
  const Eigen::Index n = line.xdata.size();
  const bool hasZ = line.zdata.size() == n;
  QPolygonF run;
  auto flush = [&] {
    if (run.size() >= 2) painter.drawPolyline(run);
    run.clear();
  };
  QPointF previous;
  bool hasPrevious = false;
  for (Eigen::Index i = 0; i < n; ++i) {
    const double x = line.xdata(i), y = line.ydata(i), z = hasZ ? line.zdata(i) : 0;
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) {
      flush();
      hasPrevious = false;
      continue;
    }
    const QPointF point = layout.map(x, y, z);
    if (hasPrevious) {
      QPointF a = previous, b = point;
      bool cutStart = false, cutEnd = false;
      if (clipsegment(clip, a, b, cutStart, cutEnd)) {
        if (cutStart) flush();
        if (run.isEmpty()) run << a;
        run << b;
        if (cutEnd) flush();
      } else {
        flush();
      }
    }
    previous = point;
    hasPrevious = true;
  }
  flush();
}

// `drawn` holds the pixels that already have this run's marker: drawing it
// there again would change nothing but the size of an SVG or PDF file.
void drawmarkersvector(QPainter& painter, const AxesLayout& layout, const QRectF& region,
                       const GraphicsObject& line, const PlotStyle& style, double size,
                       const MarkerPen& pen, std::unordered_set<std::uint64_t>& drawn) {
  painter.setPen(QPen(style.colour, pen.width));
  painter.setBrush(Qt::NoBrush);
  painter.setRenderHint(QPainter::Antialiasing, true);
  const Eigen::Index n = line.xdata.size();
  const bool hasZ = line.zdata.size() == n;
  for (Eigen::Index i = 0; i < n; ++i) {
    const QPointF p = layout.map(line.xdata(i), line.ydata(i), hasZ ? line.zdata(i) : 0);
    if (!(p.x() >= region.left() && p.x() < region.right() && p.y() >= region.top() &&
          p.y() < region.bottom())) {
      continue;  // outside, or not a number
    }
    const double px = std::floor(p.x()), py = std::floor(p.y());
    const auto pixel = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(px)) << 32) |
                       static_cast<std::uint32_t>(py);
    if (!drawn.insert(pixel).second) continue;
    // On the pixel centre, as the stamped markers stand.
    if (pen.rim > 0) {
      drawmarkerwith(painter, QPointF(px + 0.5, py + 0.5), style, size, pen);
    } else {
      drawmarker(painter, QPointF(px + 0.5, py + 0.5), style.marker, size);
    }
  }
}

// A landmark number and where its point stands on the device.
struct Numbered {
  QPointF at;
  int number;
};

// The numbers of the points of the means, counted per name in drawing order:
// the one object of a 3D mean holds points 1..k, the k objects of a 2D mean
// one point each.
std::vector<Numbered> landmarknumbers(const std::vector<Drawn>& order, const AxesLayout& layout,
                                      const QRectF& region, bool chosenOnly) {
  std::vector<Numbered> numbers;
  std::vector<std::pair<std::string_view, int>> counted;  // per name, the points seen
  for (const Drawn& d : order) {
    if (!d.kind.numbered || (chosenOnly && !d.kind.chosen)) continue;
    const GraphicsObject& line = *d.line;
    auto counter = std::find_if(counted.begin(), counted.end(),
                                [&](const auto& c) { return c.first == line.displayName; });
    if (counter == counted.end()) counter = counted.insert(counted.end(), {line.displayName, 0});
    const Eigen::Index n = line.xdata.size();
    const bool hasZ = line.zdata.size() == n;
    for (Eigen::Index i = 0; i < n; ++i) {
      const int number = ++counter->second;
      const QPointF p = layout.map(line.xdata(i), line.ydata(i), hasZ ? line.zdata(i) : 0);
      if (region.contains(p)) numbers.push_back({p, number});
    }
  }
  return numbers;
}

// Each number above and right of its point, clear of a marker `reach` pixels
// across.
void drawnumbers(QPainter& painter, const std::vector<Numbered>& numbers, double reach,
                 double scale) {
  if (numbers.empty()) return;
  const QFont font = sizedfont(painter, kNumberPixels * scale);
  painter.setFont(font);
  const QFontMetricsF metrics(font, painter.device());
  const double gap = reach / 2 + 1 * scale;
  painter.setRenderHint(QPainter::Antialiasing, false);
  for (const Numbered& n : numbers) {
    // On a light patch, to be read over a cloud of specimens.
    const QString label = QString::number(n.number);
    const QRectF box(n.at.x() + gap, n.at.y() - gap - metrics.height(),
                     metrics.horizontalAdvance(label) + 2 * scale, metrics.height());
    painter.fillRect(box, kLegendBackground);
    painter.setPen(kTextColour);
    painter.drawText(box, Qt::AlignCenter, label);
  }
}

}  // namespace

// Where a point may stand to be drawn: inside the 2D box (half a pixel of
// slack for the points on its edges), or inside the area in 3D.
QRectF pointregion(const AxesLayout& layout, const QRectF& area) {
  if (layout.is3d) return area;
  return layout.plotBox.adjusted(-0.5, -0.5, 1.5, 1.5).intersected(area);
}

// Cuts segment a-b to `rect` (Liang-Barsky); false when nothing of it is
// inside. `cutStart` / `cutEnd` tell whether an end was moved.
bool clipsegment(const QRectF& rect, QPointF& a, QPointF& b, bool& cutStart, bool& cutEnd) {
  const double dx = b.x() - a.x(), dy = b.y() - a.y();
  double enter = 0, leave = 1;
  const std::array<std::pair<double, double>, 4> sides{{{-dx, a.x() - rect.left()},
                                                        {dx, rect.right() - a.x()},
                                                        {-dy, a.y() - rect.top()},
                                                        {dy, rect.bottom() - a.y()}}};
  for (const auto& [p, q] : sides) {
    if (p == 0) {
      if (q < 0) return false;
      continue;
    }
    const double t = q / p;
    if (p < 0) {
      enter = std::max(enter, t);
    } else {
      leave = std::min(leave, t);
    }
    if (enter > leave) return false;
  }
  const QPointF start = a;
  cutStart = enter > 0;
  cutEnd = leave < 1;
  if (cutEnd) b = start + QPointF(dx, dy) * leave;
  if (cutStart) a = start + QPointF(dx, dy) * enter;
  return true;
}

}  // namespace axesdrawing

using namespace axesdrawing;

bool isaxes3d(const Graphics& graphics, Handle axes) {
  return anyzdata(plottedobjects(graphics, axes));
}

AxesLayout axeslayout(const QRectF& area, const Graphics& graphics, Handle axes,
                      const ViewAngles& view, double scale, const PlotLook& look) {
  const GraphicsObject& object = graphics.object(axes);
  const std::vector<const GraphicsObject*> lines = plottedobjects(graphics, axes);
  const bool titled = !object.details().title.empty();
  const std::vector<Drawn> order = drawingorder(lines);
  const double k = scale > 0 ? scale : 1;
  const LegendText legend =
      legendtext(legenditems(order), area, titled ? kTitleRoom * k : 0, k, nullptr);
  return placedlayout(area, lines, order, object.details(), view, scale,
                      effectivelook(look, pointcount(lines)), legend.size);
}

PlotLook effectivelook(const PlotLook& chosen, size_t points) {
  PlotLook look = chosen;
  auto keep = [](double value, double lower, double upper) {
    return std::isfinite(value) ? std::clamp(value, lower, upper) : 1.0;
  };
  look.markerScale = keep(look.markerScale, 0.25, 4);
  look.opacity = keep(look.opacity, 0.05, 1);
  look.specimenScale = keep(look.specimenScale, 0.25, 4);
  if (!look.chosen && points > kManyPoints) {
    look.specimenScale = std::max(0.25, look.specimenScale * 0.6);
    look.opacity = std::min(look.opacity, 0.35);
  }
  return look;
}

size_t plottedpoints(const Graphics& graphics, Handle axes) {
  return pointcount(plottedobjects(graphics, axes));
}

std::vector<LegendEntry> legendentries(const Graphics& graphics, Handle axes) {
  std::vector<LegendEntry> entries;
  for (const LegendItem& item : legenditems(drawingorder(plottedobjects(graphics, axes)))) {
    entries.push_back(
        {std::string(item.name), std::string(item.first->lineStyle), item.first->markerSize});
  }
  return entries;
}

std::vector<std::string> legendshown(const QRectF& area, const Graphics& graphics, Handle axes,
                                     double scale) {
  const double k = scale > 0 ? scale : 1;
  const bool titled = !graphics.object(axes).details().title.empty();
  const LegendText legend = legendtext(legenditems(drawingorder(plottedobjects(graphics, axes))),
                                       area, titled ? kTitleRoom * k : 0, k, nullptr);
  std::vector<std::string> shown;
  for (const QString& name : legend.names) shown.push_back(name.toStdString());
  if (!legend.more.isEmpty()) shown.push_back(legend.more.toStdString());
  return shown;
}

void renderaxes(QPainter& painter, const QRectF& area, const Graphics& graphics, Handle axes,
                const ViewAngles& view, double scale, const PlotLook& look) {
  QImage* image = stampableimage(painter);
  const GraphicsObject& axesObject = graphics.object(axes);
  const std::vector<const GraphicsObject*> lines = plottedobjects(graphics, axes);
  const bool titled = !axesObject.details().title.empty();
  const PlotLook shown = effectivelook(look, pointcount(lines));
  const std::vector<Drawn> order = drawingorder(lines);
  const std::vector<LegendItem> items = legenditems(order);
  const double k = scale > 0 ? scale : 1;
  const LegendText legend =
      legendtext(items, area, titled ? kTitleRoom * k : 0, k, painter.device());
  const AxesLayout layout =
      placedlayout(area, lines, order, axesObject.details(), view, scale, shown, legend.size);

  painter.save();
  // Nothing leaves the area. The SVG writer has no clipping of its own; lines
  // are cut by geometry and markers are kept to points inside, which suffices.
  if (painter.paintEngine() == nullptr || painter.paintEngine()->type() != QPaintEngine::SVG) {
    painter.setClipRect(area, Qt::IntersectClip);
  }
  painter.fillRect(area, Qt::white);
  const bool text = cantext();
  if (layout.is3d) {
    drawframe3d(painter, layout, viewbasis(view.azimuth, view.elevation), text);
  } else {
    drawframe2d(painter, layout, text);
  }

  const QRectF region = pointregion(layout, area);
  // Lines stay inside the box in 2D (a pixel of slack for lines on its edges).
  const QRectF lineClip =
      layout.is3d ? area : layout.plotBox.adjusted(-1, -1, 2, 2).intersected(area);

  QRect clip;
  if (image != nullptr) {
    // The pixels wholly inside the area.
    clip = QRect(QPoint(static_cast<int>(std::ceil(area.left())),
                        static_cast<int>(std::ceil(area.top()))),
                 QPoint(static_cast<int>(std::floor(area.right())) - 1,
                        static_cast<int>(std::floor(area.bottom())) - 1))
               .intersected(image->rect());
    if (clip.isEmpty()) image = nullptr;
  }
  std::optional<Stamper> stamper;
  if (image != nullptr) stamper.emplace(*image, clip, region, lines.size());

  // Consecutive objects of one look form a run: within it a pixel already
  // stamped is not stamped again, which keeps the order between runs exact.
  const double opacity = painter.opacity();
  // A chosen specimen stands out: every specimen set fades behind it.
  const bool anyChosen =
      std::any_of(order.begin(), order.end(), [](const Drawn& d) { return d.kind.chosen; });
  const double specimenOpacity =
      anyChosen ? std::min(shown.opacity, kOpacityBehindChosen) : shown.opacity;
  const int fadedAlpha = static_cast<int>(std::lround(specimenOpacity * 255));
  // The lighter look of large data sets is for the raw specimens: the
  // standardized ones, the result, stay solid until the user fades them.
  const int standardizedAlpha = look.chosen || anyChosen ? fadedAlpha : 255;
  bool inRun = false;
  std::tuple<QRgb, char, double, bool, int> runKey{};
  std::unordered_set<std::uint64_t> drawnInRun;  // for markers drawn as vector shapes
  double meanReach = 0;                          // the largest marker of the numbered means
  int painterAlpha = 255;                        // the painter's opacity, as a fraction of 255
  for (const Drawn& d : order) {
    const GraphicsObject& line = *d.line;
    const auto style = drawstyle(line);
    const int alpha = !d.kind.specimens                    ? 255
                      : d.kind.layer == kStandardizedLayer ? standardizedAlpha
                                                           : fadedAlpha;
    if (alpha != painterAlpha) {
      painter.setOpacity(opacity * alpha / 255.0);
      painterAlpha = alpha;
    }
    if (style.line != Qt::NoPen) {
      drawlines(painter, layout, lineClip, line, style);
      inRun = false;  // the line may cover earlier markers of the run
    }
    if (style.marker == 0) continue;
    const double size = drawnsize(line, d.kind, shown, layout.scale);
    const MarkerPen pen = markerpen(d.kind.mean, layout.scale);
    if (d.kind.numbered) meanReach = std::max(meanReach, size);
    const auto key = std::make_tuple(style.colour.rgba(), style.marker, size, d.kind.mean, alpha);
    if (!inRun || runKey != key) {
      if (stamper) stamper->newrun();
      drawnInRun.clear();
      runKey = key;
      inRun = true;
    }
    if (stamper) {
      stamper->stamp(layout, line, stamper->sprite(style, size, pen, alpha));
    } else {
      drawmarkersvector(painter, layout, region, line, style, size, pen, drawnInRun);
    }
  }
  painter.setOpacity(opacity);

  if (text) {
    if (shown.numberMeans || anyChosen) {
      drawnumbers(painter, landmarknumbers(order, layout, region, !shown.numberMeans), meanReach,
                  layout.scale);
    }
    drawaxistitles(painter, area, layout, axesObject.details());
    drawlegend(painter, layout.legendBox, legend, items, k);
    if (titled) {
      const double centre = layout.is3d ? area.center().x() : layout.plotBox.center().x();
      drawtitle(painter, area, centre, axesObject.details().title, k);
    }
  }
  painter.restore();
}

}  // namespace tarvolin
