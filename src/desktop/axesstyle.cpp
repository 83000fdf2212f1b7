#include <QPen>
#include <QPolygonF>
#include <cmath>
#include <initializer_list>

#include "desktop/renderaxesparts.h"

namespace tarvolin {
namespace axesdrawing {

namespace {

// The marker size of a plotted object, in pixels, kept to something drawable.
double markersize(const GraphicsObject& line) {
  const double size = line.markerSize;
  return std::isfinite(size) && size > 0 ? std::min(size, 200.0) : 6.0;
}

// The means must be found in a cloud of specimens drawn in their colour and
// marker kind: they are drawn larger, with a thicker outline on a white rim,
// and keep the colour and kind the workflow gave them.
constexpr double kMeanGrowth = 1.8;  // times the marker size
constexpr double kMeanExtra = 4;     // and at least this many pixels more
constexpr double kMeanPen = 2;

constexpr double kMeanRim = 1.5;

}  // namespace

PlotStyle drawstyle(const GraphicsObject& line) {
  const tarvolin::PlotStyle& parsed = line.style;
  PlotStyle style;
  style.colour = QColor(parsed.colour.red, parsed.colour.green, parsed.colour.blue);
  style.marker = parsed.marker;
  switch (parsed.line) {
    case LineKind::none:
      style.line = Qt::NoPen;
      break;
    case LineKind::solid:
      style.line = Qt::SolidLine;
      break;
    case LineKind::dotted:
      style.line = Qt::DotLine;
      break;
    case LineKind::dashed:
      style.line = Qt::DashLine;
      break;
    case LineKind::dashDot:
      style.line = Qt::DashDotLine;
      break;
  }
  return style;
}

// Draws marker `kind` about `size` pixels across centred on `centre` with the
// painter's pen (the dot is filled with the pen's colour). With the centre on
// a pixel centre every straight stroke falls on pixel centres too, so the
// outlines come out crisp: the half span is a whole number of pixels.
void drawmarker(QPainter& painter, const QPointF& centre, char kind, double size) {
  const double h = std::max(1.0, std::round(size / 2 - 0.5));
  const double cx = centre.x(), cy = centre.y();
  auto polygon = [&](std::initializer_list<QPointF> corners) {
    QPolygonF shape;
    for (const QPointF& corner : corners) shape << centre + corner;
    painter.drawPolygon(shape);
  };
  auto star = [&](int points, double outer, double inner) {
    QPolygonF shape;
    for (int i = 0; i < 2 * points; ++i) {
      const double radius = i % 2 == 0 ? outer : inner;
      const double angle = (-90 + 180.0 * i / points) * kDegree;
      shape << QPointF(cx + radius * std::cos(angle), cy + radius * std::sin(angle));
    }
    painter.drawPolygon(shape);
  };
  auto cross = [&](double half) {
    painter.drawLine(QPointF(cx - half, cy), QPointF(cx + half, cy));
    painter.drawLine(QPointF(cx, cy - half), QPointF(cx, cy + half));
  };
  auto diagonals = [&](double half) {
    painter.drawLine(QPointF(cx - half, cy - half), QPointF(cx + half, cy + half));
    painter.drawLine(QPointF(cx - half, cy + half), QPointF(cx + half, cy - half));
  };
  // Thin straight strokes stay sharp without smoothing.
  const bool smooth = painter.testRenderHint(QPainter::Antialiasing);
  const double d = std::max(1.0, std::round(h * 0.75));  // half span of a diagonal cross
  switch (kind) {
    case '.': {
      const double dot = std::max(2.0, size / 3) / 2;
      const QPen pen = painter.pen();
      painter.setPen(Qt::NoPen);
      painter.setBrush(pen.color());
      painter.drawEllipse(centre, dot, dot);
      painter.setBrush(Qt::NoBrush);
      painter.setPen(pen);
      break;
    }
    case 'o':
      painter.drawEllipse(centre, h, h);
      break;
    case 's':
      painter.drawRect(QRectF(cx - h, cy - h, 2 * h, 2 * h));
      break;
    case 'd':
      polygon({{0, -h - 1}, {h + 1, 0}, {0, h + 1}, {-h - 1, 0}});
      break;
    case '^':
      polygon({{0, -h}, {h, h}, {-h, h}});
      break;
    case 'v':
      polygon({{0, h}, {h, -h}, {-h, -h}});
      break;
    case '<':
      polygon({{-h, 0}, {h, -h}, {h, h}});
      break;
    case '>':
      polygon({{h, 0}, {-h, -h}, {-h, h}});
      break;
    case '+':
      painter.setRenderHint(QPainter::Antialiasing, false);
      cross(h);
      break;
    case 'x':
      painter.setRenderHint(QPainter::Antialiasing, false);
      diagonals(d);
      break;
    case '*':
      painter.setRenderHint(QPainter::Antialiasing, false);
      cross(h);
      diagonals(d);
      break;
    case 'p':
      star(5, h * 1.25, h * 1.25 * 0.382);
      break;
    case 'h':
      star(6, h * 1.1, h * 1.1 * 0.577);
      break;
    default:
      break;
  }
  painter.setRenderHint(QPainter::Antialiasing, smooth);
}

MarkerPen markerpen(bool mean, double scale) {
  return mean ? MarkerPen{kMeanPen * scale, kMeanRim * scale} : MarkerPen{scale, 0};
}

// Draws a marker: its rim (in white, wider) first, then its outline.
void drawmarkerwith(QPainter& painter, const QPointF& centre, const PlotStyle& style, double size,
                    const MarkerPen& pen) {
  painter.setBrush(Qt::NoBrush);
  if (pen.rim > 0) {
    painter.setPen(QPen(Qt::white, pen.width + 2 * pen.rim));
    drawmarker(painter, centre, style.marker, size);
  }
  painter.setPen(QPen(style.colour, pen.width));
  drawmarker(painter, centre, style.marker, size);
}

// The size a marker of `line` is drawn at, in device pixels.
double drawnsize(const GraphicsObject& line, const ObjectKind& kind, const PlotLook& shown,
                 double scale) {
  double size = markersize(line) * shown.markerScale * (kind.specimens ? shown.specimenScale : 1);
  if (kind.mean) size = std::max(size * kMeanGrowth, size + kMeanExtra);
  return std::min(size, 200.0) * scale;
}

}  // namespace axesdrawing

}  // namespace tarvolin
