#include <QGuiApplication>
#include <QPen>
#include <cmath>

#include "desktop/renderaxesparts.h"

namespace tarvolin {
namespace axesdrawing {

namespace {

// The legend: the length of a line sample, the room around the entries.
constexpr double kSampleLength = 22;

constexpr double kLegendPadding = 5;

constexpr double kLegendGap = 4;  // between the legend and the plot or the area's edge
const QColor kLegendFrame(150, 150, 150);

}  // namespace

std::vector<LegendItem> legenditems(const std::vector<Drawn>& order) {
  std::vector<LegendItem> items;
  std::unordered_set<std::string_view> seen;
  std::string_view last;
  for (const Drawn& d : order) {
    const std::string_view name = d.line->displayName;
    if (name.empty() || name == last) continue;
    last = name;
    if (seen.insert(name).second) items.push_back({name, d.line, d.kind});
  }
  return items;
}

LegendText legendtext(const std::vector<LegendItem>& items, const QRectF& area, double titleRoom,
                      double scale, const QPaintDevice* device) {
  LegendText legend;
  if (items.empty() || !cantext()) return legend;
  legend.font = QGuiApplication::font();
  legend.font.setPixelSize(std::max(1, static_cast<int>(std::lround(kFontPixels * scale))));
  const QFontMetricsF metrics =
      device ? QFontMetricsF(legend.font, device) : QFontMetricsF(legend.font);
  const double pad = kLegendPadding * scale, sample = kSampleLength * scale;
  const double gap = kLegendGap * scale;
  legend.rowHeight = metrics.height() + 2 * scale;
  const auto fit = static_cast<size_t>(
      std::clamp(std::floor((area.height() - titleRoom - 2 * gap - 2 * pad) / legend.rowHeight),
                 0.0, static_cast<double>(items.size())));
  if (fit == 0) return legend;
  const size_t count = items.size();
  // Only a name longer than the area is wide is cut; in columns, one longer
  // than a third of it.
  const double usable = area.width() - 2 * gap - pad;
  const double longest =
      std::max((fit < count ? usable / 3 : usable) - sample - 2 * pad, 20 * scale);
  std::vector<QString> names;
  for (const LegendItem& item : items) {
    names.push_back(metrics.elidedText(qtext(item.name), Qt::ElideRight, longest));
    legend.textWidth = std::max(legend.textWidth, metrics.horizontalAdvance(names.back()));
  }
  // The count of those left out may stand in a column of its own.
  if (count > fit) {
    legend.textWidth = std::max(
        legend.textWidth,
        metrics.horizontalAdvance(QStringLiteral("and %1 more").arg(count)) - sample - pad);
  }
  legend.columnWidth = sample + 2 * pad + legend.textWidth + 2;
  const auto widest = static_cast<size_t>(std::max(1.0, std::floor(usable / legend.columnWidth)));
  legend.columns = std::min(widest, (count + fit - 1) / fit);
  legend.rows = std::min(fit, (count + legend.columns - 1) / legend.columns);
  const size_t places = legend.rows * legend.columns;
  size_t shown = count;
  if (count > places) {
    shown = places - 1;
    legend.more = QStringLiteral("and %1 more").arg(count - shown);
  }
  names.resize(shown);
  legend.names = std::move(names);
  legend.size = QSizeF(std::round(pad + static_cast<double>(legend.columns) * legend.columnWidth),
                       std::round(2 * pad + static_cast<double>(legend.rows) * legend.rowHeight));
  return legend;
}

// Whether nothing of the data is drawn into `box`: no marker, at the size it
// is drawn, and no line.
bool clearofdata(const QRectF& box, const std::vector<Drawn>& order, const AxesLayout& layout,
                 const QRectF& region, const PlotLook& shown) {
  const QRectF nearLine = box.adjusted(-layout.scale, -layout.scale, layout.scale, layout.scale);
  // Consecutive objects mostly share their look (a 2D plot has one object per
  // point): it is worked out once for them.
  const GraphicsObject* lastLook = nullptr;
  PlotStyle style;
  QRectF nearMarker;
  for (const Drawn& d : order) {
    const GraphicsObject& line = *d.line;
    if (lastLook == nullptr || line.lineStyle.data() != lastLook->lineStyle.data() ||
        line.markerSize != lastLook->markerSize || d.line->displayName != lastLook->displayName) {
      lastLook = &line;
      style = drawstyle(line);
      double reach = 0;
      if (style.marker != 0) {
        const MarkerPen pen = markerpen(d.kind.mean, layout.scale);
        // The widest marker ('p') reaches 0.63 of its size from its centre.
        reach = 0.65 * drawnsize(line, d.kind, shown, layout.scale) + pen.width + pen.rim;
      }
      nearMarker = box.adjusted(-reach, -reach, reach, reach);
    }
    const Eigen::Index n = line.xdata.size();
    const bool hasZ = line.zdata.size() == n;
    QPointF previous;
    bool hasPrevious = false;
    for (Eigen::Index i = 0; i < n; ++i) {
      const double x = line.xdata(i), y = line.ydata(i), z = hasZ ? line.zdata(i) : 0;
      if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) {
        hasPrevious = false;
        continue;
      }
      const QPointF p = layout.map(x, y, z);
      if (style.marker != 0 && region.contains(p) && nearMarker.contains(p)) return false;
      if (style.line != Qt::NoPen && hasPrevious) {
        QPointF a = previous, b = p;
        bool cutStart = false, cutEnd = false;
        if (clipsegment(nearLine, a, b, cutStart, cutEnd)) return false;
      }
      previous = p;
      hasPrevious = true;
    }
  }
  return true;
}

// The layout with the legend's place: in the first corner of a flat plot
// that no data reach (top right, top left, bottom right, bottom left), else
// outside the plot, beside or above it, whichever leaves the data more room.
// A 3D plot keeps it outside: turning it would move the data under it.
AxesLayout placedlayout(const QRectF& area, const std::vector<const GraphicsObject*>& lines,
                        const std::vector<Drawn>& order, const ObjectDetails& axes,
                        const ViewAngles& view, double scale, const PlotLook& shown,
                        const QSizeF& legend) {
  const DataLimits data = datalimitsof(lines);
  AxesLayout inside = layoutfor(area, data, axes, view, scale);
  if (legend.isEmpty()) return inside;
  const double k = inside.scale;
  const double gap = kLegendGap * k;
  if (!inside.is3d) {
    const QRectF room = inside.plotBox.adjusted(gap, gap, -gap, -gap).intersected(area);
    if (room.width() >= legend.width() && room.height() >= legend.height()) {
      const QRectF region = pointregion(inside, area);
      const double left = std::round(room.left()),
                   right = std::round(room.right() - legend.width());
      const double top = std::round(room.top());
      const double bottom = std::round(room.bottom() - legend.height());
      for (const QPointF& corner : {QPointF(right, top), QPointF(left, top), QPointF(right, bottom),
                                    QPointF(left, bottom)}) {
        const QRectF box(corner, legend);
        if (clearofdata(box, order, inside, region, shown)) {
          inside.legendBox = box;
          return inside;
        }
      }
    }
  }
  const double titleRoom = axes.title.empty() ? 0 : kTitleRoom * k;
  const QRectF box(std::round(area.right() - gap - legend.width()),
                   std::round(area.top() + titleRoom + gap), legend.width(), legend.height());
  AxesLayout beside = layoutfor(area, data, axes, view, scale, {0, legend.width() + gap});
  AxesLayout above = layoutfor(area, data, axes, view, scale, {legend.height() + gap, 0});
  // How much room the data get: their scale, or a flat plot's box when its
  // axes are scaled apart.
  auto room = [&](const AxesLayout& l) {
    return l.is3d || axes.axisEqual ? l.toDevice.norm() : l.plotBox.width() * l.plotBox.height();
  };
  AxesLayout& chosen = room(above) > room(beside) ? above : beside;
  chosen.legendBox = box;
  return chosen;
}

// The legend in `box`: a row per name that fits, each a sample of the
// object's line and marker (a mean's as large as the legend allows) and the
// name.
void drawlegend(QPainter& painter, const QRectF& box, const LegendText& legend,
                const std::vector<LegendItem>& items, double scale) {
  if (legend.names.empty() || box.isEmpty() || legend.rows == 0) return;
  painter.setFont(legend.font);
  const double pad = kLegendPadding * scale, sample = kSampleLength * scale;
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(kLegendFrame, scale));
  painter.setBrush(kLegendBackground);
  painter.drawRect(box.translated(0.5, 0.5));
  painter.setBrush(Qt::NoBrush);
  // The place of entry r: its column's left edge and its row's middle.
  auto place = [&](size_t r) {
    const double x = box.left() + pad + static_cast<double>(r / legend.rows) * legend.columnWidth;
    const double y = std::floor(box.top() + pad +
                                (static_cast<double>(r % legend.rows) + 0.5) * legend.rowHeight) +
                     0.5;
    return QPointF(x, y);
  };
  auto name = [&](const QPointF& at, const QString& text) {
    painter.setPen(kTextColour);
    painter.drawText(QRectF(at.x() + sample + pad, at.y() - legend.rowHeight / 2,
                            legend.textWidth + 2, legend.rowHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, text);
  };
  for (size_t r = 0; r < legend.names.size(); ++r) {
    const GraphicsObject& line = *items[r].first;
    const PlotStyle style = drawstyle(line);
    const QPointF at = place(r);
    const double x = at.x(), y = at.y();
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (style.line != Qt::NoPen) {
      painter.setPen(QPen(style.colour, scale, style.line));
      painter.drawLine(QPointF(x, y), QPointF(x + sample, y));
    }
    if (style.marker != 0) {
      const double size = std::clamp(drawnsize(line, items[r].kind, PlotLook{}, 1), 4.0, 12.0);
      drawmarkerwith(painter, QPointF(std::floor(x + sample / 2) + 0.5, y), style, size * scale,
                     markerpen(items[r].kind.mean, scale));
    }
    name(at, legend.names[r]);
  }
  // What is left out is counted where its first entry would stand, without a sample.
  if (!legend.more.isEmpty()) {
    const QPointF at = place(legend.names.size());
    painter.setPen(kTextColour);
    painter.drawText(
        QRectF(at.x(), at.y() - legend.rowHeight / 2, legend.columnWidth - pad, legend.rowHeight),
        Qt::AlignLeft | Qt::AlignVCenter, legend.more);
  }
}

}  // namespace axesdrawing

}  // namespace tarvolin
