#include "desktop/renderaxes.h"

#include <Eigen/Geometry>
#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPaintEngine>
#include <QPen>
#include <QPolygonF>
#include <QString>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <numbers>
#include <optional>
#include <string_view>
#include <tuple>
#include <unordered_set>

namespace tarvolin {
namespace {

constexpr double kDegree = std::numbers::pi / 180;

// Margins of the 2D box inside the area, in pixels: room for the numbers on
// the left and below.
constexpr double kMarginLeft = 60, kMarginBottom = 30, kMarginTop = 15, kMarginRight = 15;
// Room around the projected 3D box for its numbers and axis letters.
constexpr double kMargin3dLeft = 70, kMargin3dRight = 50, kMargin3dTop = 20, kMargin3dBottom = 55;

// The room, in pixels, between a flat plot's frame and the data inside it,
// so that no marker sits on the frame.
constexpr double kDataInset = 6;
const QColor kFrameColour(90, 90, 90);
const QColor kBackEdgeColour(205, 205, 205);
const QColor kTextColour(40, 40, 40);
constexpr int kFontPixels = 11;
constexpr double kTickLength = 5;
constexpr double kLabelGap = 3;
// The title: its font, and the room it takes above the plot.
constexpr int kTitlePixels = 12;
constexpr double kTitleRoom = 20;
// The room an axis title takes below or left of a flat plot.
constexpr double kAxisTitleRoom = 17;
// The legend: the length of a line sample, the room around the entries.
constexpr double kSampleLength = 22;
constexpr double kLegendPadding = 5;
constexpr double kLegendGap = 4;  // between the legend and the plot or the area's edge
const QColor kLegendFrame(150, 150, 150);
const QColor kLegendBackground(255, 255, 255, 215);
// The landmark numbers beside the means.
constexpr int kNumberPixels = 10;

// ---------------------------------------------------------------- styles

// One plot style taken apart: "bo" is blue circles, "k:" a dotted black
// line, "r*-" red stars joined by a solid line.
struct PlotStyle {
  QColor colour = QColor(0, 0, 255);
  char marker = 0;                // 0: no markers
  Qt::PenStyle line = Qt::NoPen;  // Qt::NoPen: no line
};

QColor stylecolour(char letter) {
  switch (letter) {
    case 'g':
      return {0, 128, 0};
    case 'r':
      return {255, 0, 0};
    case 'c':
      return {0, 191, 191};
    case 'm':
      return {191, 0, 191};
    case 'y':
      return {191, 191, 0};
    case 'k':
      return {0, 0, 0};
    case 'w':
      return {255, 255, 255};
    default:
      return {0, 0, 255};
  }
}

// The model only admits valid styles; anything unknown here is ignored.
PlotStyle parsestyle(std::string_view text) {
  constexpr std::string_view colours = "bgrcmykw";
  constexpr std::string_view markers = ".ox+*sdv^<>ph";
  PlotStyle style;
  bool lineGiven = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (colours.find(c) != std::string_view::npos) {
      style.colour = stylecolour(c);
    } else if (c == ':') {
      style.line = Qt::DotLine;
      lineGiven = true;
    } else if (c == '-') {
      lineGiven = true;
      style.line = Qt::SolidLine;
      if (i + 1 < text.size() && text[i + 1] == '-') {
        style.line = Qt::DashLine;
        ++i;
      } else if (i + 1 < text.size() && text[i + 1] == '.') {
        style.line = Qt::DashDotLine;
        ++i;
      }
    } else if (markers.find(c) != std::string_view::npos) {
      style.marker = c;
    }
  }
  // A colour alone (or nothing) is a solid line; a marker alone stays markers only.
  if (!lineGiven && style.marker == 0) style.line = Qt::SolidLine;
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

// The marker size of a plotted object, in pixels, kept to something drawable.
double markersize(const GraphicsObject& line) {
  const double size = line.markerSize;
  return std::isfinite(size) && size > 0 ? std::min(size, 200.0) : 6.0;
}

// How a marker is outlined: the width of its pen and of the white rim on
// either side of it, in device pixels (0: no rim).
struct MarkerPen {
  double width = 1;
  double rim = 0;
  auto operator<=>(const MarkerPen&) const = default;
};

// The means must be found in a cloud of specimens drawn in their colour and
// marker kind: they are drawn larger, with a thicker outline on a white rim,
// and keep the colour and kind the workflow gave them.
constexpr double kMeanGrowth = 1.8;  // times the marker size
constexpr double kMeanExtra = 4;     // and at least this many pixels more
constexpr double kMeanPen = 2;
constexpr double kMeanRim = 1.5;

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

// ---------------------------------------------------------------- data

std::vector<const GraphicsObject*> plottedobjects(const Graphics& graphics, Handle axes) {
  std::vector<const GraphicsObject*> lines;
  for (Handle child : graphics.object(axes).children) {
    const GraphicsObject& object = graphics.object(child);
    if (object.type == ObjectType::line) lines.push_back(&object);
  }
  return lines;
}

// What its name makes of a plotted object: the layer it is drawn in (the
// lower first), whether it is a specimen set (faded by the look's opacity,
// shrunk by its specimen scale), whether its points get landmark numbers and
// whether it is a mean (drawn larger, see markerpen).
struct ObjectKind {
  int layer = 1;
  bool specimens = true;
  bool numbered = false;
  bool mean = false;
};
constexpr int kLayers = 5;
constexpr int kStandardizedLayer = 2;

ObjectKind kindof(std::string_view name) {
  if (name.empty()) return {1, true, false};
  if (name == "specimens, superimposed") return {0, true, false};
  if (name == "standardized specimens" || name == "standardized specimens, as saved") {
    return {kStandardizedLayer, true, false};
  }
  if (name == "wireframe") return {3, false, false};
  if (name == "mean shape" || name == "mean of standardized") return {4, false, true, true};
  if (name.starts_with("mean "))
    return {4, false, false, true};  // "mean of standardized, as saved"
  return {1, false, false};
}

struct Drawn {
  const GraphicsObject* line;
  ObjectKind kind;
};

// The size a marker of `line` is drawn at, in device pixels.
double drawnsize(const GraphicsObject& line, const ObjectKind& kind, const PlotLook& shown,
                 double scale) {
  double size = markersize(line) * shown.markerScale * (kind.specimens ? shown.specimenScale : 1);
  if (kind.mean) size = std::max(size * kMeanGrowth, size + kMeanExtra);
  return std::min(size, 200.0) * scale;
}

// The plotted objects in drawing order: by layer, in model order within a
// layer. Linear: consecutive objects mostly share their name, which is then
// looked at once.
std::vector<Drawn> drawingorder(const std::vector<const GraphicsObject*>& lines) {
  std::vector<ObjectKind> kinds(lines.size());
  std::array<size_t, kLayers + 1> start{};
  std::string_view lastName;
  ObjectKind lastKind = kindof({});
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string_view name = lines[i]->displayName;
    if (i == 0 || name != lastName) {
      lastName = name;
      lastKind = kindof(name);
    }
    kinds[i] = lastKind;
    ++start[static_cast<size_t>(lastKind.layer) + 1];
  }
  for (size_t layer = 1; layer <= kLayers; ++layer) start[layer] += start[layer - 1];
  std::vector<Drawn> order(lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    order[start[static_cast<size_t>(kinds[i].layer)]++] = {lines[i], kinds[i]};
  }
  return order;
}

// One legend entry as drawn: the name (a view of the model's text) and the
// first object of that name.
struct LegendItem {
  std::string_view name;
  const GraphicsObject* first;
  ObjectKind kind;
};

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

size_t pointcount(const std::vector<const GraphicsObject*>& lines) {
  size_t points = 0;
  for (const GraphicsObject* line : lines) points += static_cast<size_t>(line->xdata.size());
  return points;
}

bool anyzdata(const std::vector<const GraphicsObject*>& lines) {
  return std::any_of(lines.begin(), lines.end(),
                     [](const GraphicsObject* line) { return line->zdata.size() > 0; });
}

void widen(const PlotData& values, double& lower, double& upper) {
  const double* v = values.data();
  const Eigen::Index n = values.size();
  double lo = lower, hi = upper;
  for (Eigen::Index i = 0; i < n; ++i) {
    const double x = v[i];
    if (!std::isfinite(x)) continue;
    lo = std::min(lo, x);
    hi = std::max(hi, x);
  }
  lower = lo;
  upper = hi;
}

// The data limits, with a range of at least something on every axis.
void datalimits(const std::vector<const GraphicsObject*>& lines, bool is3d, Eigen::Vector3d& lower,
                Eigen::Vector3d& upper) {
  constexpr double inf = std::numeric_limits<double>::infinity();
  lower.setConstant(inf);
  upper.setConstant(-inf);
  for (const GraphicsObject* line : lines) {
    widen(line->xdata, lower.x(), upper.x());
    widen(line->ydata, lower.y(), upper.y());
    if (line->zdata.size() > 0) {
      widen(line->zdata, lower.z(), upper.z());
    } else if (is3d && line->xdata.size() > 0) {
      lower.z() = std::min(lower.z(), 0.0);  // a flat object in a 3D axes lies at z = 0
      upper.z() = std::max(upper.z(), 0.0);
    }
  }
  for (int i = 0; i < 3; ++i) {
    if (lower(i) > upper(i)) {
      lower(i) = 0;
      upper(i) = 1;
    } else if (lower(i) == upper(i)) {
      const double half = lower(i) != 0 ? std::abs(lower(i)) * 0.05 : 0.5;
      lower(i) -= half;
      upper(i) += half;
    }
  }
}

QRectF shrunk(const QRectF& area, double left, double top, double right, double bottom) {
  QRectF box = area.adjusted(left, top, -right, -bottom);
  if (box.width() < 1) box.setWidth(1);
  if (box.height() < 1) box.setHeight(1);
  return box;
}

// Room kept in the area, in device pixels, for a legend above or beside the plot.
struct LegendRoom {
  double top = 0;
  double right = 0;
};

// Room is kept above the plot for the axes' title, and in 2D below and left
// of it for the axis titles.
AxesLayout layoutfor(const QRectF& area, const std::vector<const GraphicsObject*>& lines,
                     const ObjectDetails& axes, const ViewAngles& view, double scale,
                     const LegendRoom& legend = {}) {
  AxesLayout layout;
  layout.scale = scale > 0 ? scale : 1;
  const double k = layout.scale;
  const bool axisEqual = axes.axisEqual;
  const double titleRoom = axes.title.empty() ? 0 : kTitleRoom;
  const double xlabelRoom = axes.xlabel.empty() ? 0 : kAxisTitleRoom;
  const double ylabelRoom = axes.ylabel.empty() ? 0 : kAxisTitleRoom;
  layout.is3d = anyzdata(lines);
  datalimits(lines, layout.is3d, layout.lower, layout.upper);
  const double zoom = view.zoom > 0 ? view.zoom : 1;

  if (!layout.is3d) {
    const Eigen::Vector3d centre = (layout.lower + layout.upper) / 2;
    const Eigen::Vector3d half = (layout.upper - layout.lower) / (2 * zoom);
    layout.lower = centre - half;
    layout.upper = centre + half;
    QRectF box =
        shrunk(area, (kMarginLeft + ylabelRoom) * k, (kMarginTop + titleRoom) * k + legend.top,
               kMarginRight * k + legend.right, (kMarginBottom + xlabelRoom) * k);
    box = QRectF(QPointF(std::round(box.left()), std::round(box.top())),
                 QPointF(std::round(box.right()), std::round(box.bottom())));
    const double rx = layout.upper.x() - layout.lower.x();
    const double ry = layout.upper.y() - layout.lower.y();
    double sx = box.width() / rx, sy = box.height() / ry;
    if (axisEqual) {
      const double s = std::min(sx, sy);
      const double width = std::round(rx * s), height = std::round(ry * s);
      box = QRectF(std::round(box.center().x() - width / 2),
                   std::round(box.center().y() - height / 2), width, height);
      sx = box.width() / rx;
      sy = box.height() / ry;
    }
    layout.plotBox = box;
    const QRectF inner =
        box.adjusted(kDataInset * k, kDataInset * k, -kDataInset * k, -kDataInset * k);
    sx = inner.width() > 0 ? inner.width() / rx : sx;
    sy = inner.height() > 0 ? inner.height() / ry : sy;
    if (axisEqual) sx = sy = std::min(sx, sy);
    layout.toDevice << sx, 0, 0, 0, -sy, 0;
    layout.offset = Eigen::Vector2d(box.center().x() - (layout.lower.x() + rx / 2) * sx,
                                    box.center().y() + (layout.lower.y() + ry / 2) * sy);
    return layout;
  }

  const ViewBasis basis = viewbasis(view.azimuth, view.elevation);
  const Eigen::Vector3d range = layout.upper - layout.lower;
  const Eigen::Vector3d unit = axisEqual ? Eigen::Vector3d::Constant(1 / range.maxCoeff())
                                         : Eigen::Vector3d(range.cwiseInverse());
  Eigen::Matrix<double, 2, 3> turn;
  turn.row(0) = basis.right.transpose();
  turn.row(1) = -basis.up.transpose();
  turn = turn * unit.asDiagonal();
  // The box is symmetric about its centre, and so is its picture.
  double halfWidth = 0, halfHeight = 0;
  for (int corner = 0; corner < 8; ++corner) {
    const Eigen::Vector3d offset((corner & 1 ? 0.5 : -0.5) * range.x(),
                                 (corner & 2 ? 0.5 : -0.5) * range.y(),
                                 (corner & 4 ? 0.5 : -0.5) * range.z());
    const Eigen::Vector2d p = turn * offset;
    halfWidth = std::max(halfWidth, std::abs(p.x()));
    halfHeight = std::max(halfHeight, std::abs(p.y()));
  }
  const QRectF room = shrunk(area, kMargin3dLeft * k, (kMargin3dTop + titleRoom) * k + legend.top,
                             kMargin3dRight * k + legend.right, kMargin3dBottom * k);
  double pixelsPerUnit = std::min(room.width() / (2 * std::max(halfWidth, 1e-12)),
                                  room.height() / (2 * std::max(halfHeight, 1e-12)));
  pixelsPerUnit *= zoom;
  layout.toDevice = pixelsPerUnit * turn;
  const Eigen::Vector3d centre = (layout.lower + layout.upper) / 2;
  layout.offset = Eigen::Vector2d(room.center().x(), room.center().y()) - layout.toDevice * centre;
  layout.plotBox = area;
  return layout;
}

// ---------------------------------------------------------------- frame

struct TextStyle {
  QFont font;
  QFontMetricsF metrics;
};

// The font of the numbers, scaled with the device, set on the painter; none
// when the picture goes without text.
std::optional<TextStyle> usetextstyle(QPainter& painter, double scale, bool text) {
  if (!text) return std::nullopt;
  QFont font = painter.font();
  font.setPixelSize(static_cast<int>(std::lround(kFontPixels * scale)));
  painter.setFont(font);
  return TextStyle{font, QFontMetricsF(font, painter.device())};
}

// The size a label takes; without text, an estimate that keeps the ticks apart.
QSizeF labelsize(const std::optional<TextStyle>& style, const QString& label) {
  if (!style) return {6.0 * static_cast<double>(label.size()), 12};
  return {style->metrics.horizontalAdvance(label), style->metrics.height()};
}

// Text needs the application's fonts; without a QGuiApplication the picture
// goes without numbers rather than failing.
bool cantext() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }

QString ticklabel(double value, double step) {
  if (std::abs(value) < step * 1e-9) value = 0;
  return QString::number(value, 'g', 4);
}

// Half the extent of a w x h text box along unit direction n.
double halfextent(const QPointF& n, double width, double height) {
  return (std::abs(n.x()) * width + std::abs(n.y()) * height) / 2;
}

void drawcentredtext(QPainter& painter, const QPointF& centre, const QString& text,
                     const QFontMetricsF& metrics) {
  const double width = metrics.horizontalAdvance(text);
  const double height = metrics.height();
  painter.drawText(QRectF(centre.x() - width / 2 - 2, centre.y() - height / 2, width + 4, height),
                   Qt::AlignCenter, text);
}

// Ticks for an axis `pixels` long whose labels must not collide: each label
// takes `room(label)` pixels along the axis.
template <typename Room>
std::vector<double> fittingticks(double lower, double upper, double pixels, int most, Room room) {
  std::vector<double> ticks;
  for (int wanted = most; wanted >= 2; --wanted) {
    ticks = niceticks(lower, upper, wanted);
    if (ticks.size() < 2) return ticks;
    const double step = ticks[1] - ticks[0];
    const double spacing = pixels * step / (upper - lower);
    double needed = 0;
    for (double t : ticks) needed = std::max(needed, room(ticklabel(t, step)));
    if (needed <= spacing) return ticks;
  }
  return ticks;
}

void drawframe2d(QPainter& painter, const AxesLayout& layout, bool text) {
  const QRectF& box = layout.plotBox;
  painter.setRenderHint(QPainter::Antialiasing, false);
  QPen pen(kFrameColour, layout.scale);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(box.translated(0.5, 0.5));

  const std::optional<TextStyle> textStyle = usetextstyle(painter, layout.scale, text);
  const double lineHeight = labelsize(textStyle, QString()).height();
  auto width = [&](const QString& label) { return labelsize(textStyle, label).width(); };

  const double xlo = layout.lower.x(), xhi = layout.upper.x();
  const std::vector<double> xticks = fittingticks(
      xlo, xhi, box.width(), 8, [&](const QString& label) { return width(label) + 12; });
  const double xstep = xticks.size() > 1 ? xticks[1] - xticks[0] : 1;
  const double ylo = layout.lower.y(), yhi = layout.upper.y();
  const std::vector<double> yticks =
      fittingticks(ylo, yhi, box.height(), 8, [&](const QString&) { return lineHeight * 1.8; });
  const double ystep = yticks.size() > 1 ? yticks[1] - yticks[0] : 1;
  auto xat = [&](double t) { return std::round(layout.map(t, 0).x()) + 0.5; };
  auto yat = [&](double t) { return std::round(layout.map(0, t).y()) + 0.5; };

  // Tick marks inside the box, then the numbers: one pen each (a tidy SVG).
  for (double t : xticks) {
    painter.drawLine(QPointF(xat(t), box.bottom() + 0.5),
                     QPointF(xat(t), box.bottom() + 0.5 - kTickLength * layout.scale));
  }
  for (double t : yticks) {
    painter.drawLine(QPointF(box.left() + 0.5, yat(t)),
                     QPointF(box.left() + 0.5 + kTickLength * layout.scale, yat(t)));
  }
  if (!textStyle) return;
  painter.setPen(kTextColour);
  for (double t : xticks) {
    drawcentredtext(painter,
                    QPointF(xat(t), box.bottom() + kLabelGap * layout.scale + 2 + lineHeight / 2),
                    ticklabel(t, xstep), textStyle->metrics);
  }
  for (double t : yticks) {
    const QString label = ticklabel(t, ystep);
    const double w = width(label);
    painter.drawText(QRectF(box.left() - kLabelGap * layout.scale - 3 - w - 2,
                            yat(t) - lineHeight / 2, w + 4, lineHeight),
                     Qt::AlignRight | Qt::AlignVCenter, label);
  }
}

Eigen::Vector3d corner(const AxesLayout& layout, int index) {
  return {index & 1 ? layout.upper.x() : layout.lower.x(),
          index & 2 ? layout.upper.y() : layout.lower.y(),
          index & 4 ? layout.upper.z() : layout.lower.z()};
}

QPointF mapped(const AxesLayout& layout, const Eigen::Vector3d& p) {
  return layout.map(p.x(), p.y(), p.z());
}

double length(const QPointF& p) { return std::hypot(p.x(), p.y()); }

// The edge of the box along axis `axis` that carries its numbers: for x and
// y the lowest on the screen, for z the leftmost; ties go to the left, then
// to the one nearer the viewer. Returned as the index of its lower corner.
int tickedge(const AxesLayout& layout, const ViewBasis& basis, int axis) {
  const int bit = 1 << axis;
  int best = -1;
  std::tuple<double, double, double> bestScore;
  for (int c = 0; c < 8; ++c) {
    if (c & bit) continue;
    const QPointF mid =
        (mapped(layout, corner(layout, c)) + mapped(layout, corner(layout, c | bit))) / 2;
    const double nearness = basis.towardViewer.dot(
        (corner(layout, c) + corner(layout, c | bit)) / 2 - (layout.lower + layout.upper) / 2);
    // Screen positions are compared to half a pixel.
    const double down = std::round(mid.y() * 2), left = std::round(-mid.x() * 2);
    const std::tuple<double, double, double> score =
        axis == 2 ? std::make_tuple(left, down, nearness) : std::make_tuple(down, left, nearness);
    if (best < 0 || score > bestScore) {
      best = c;
      bestScore = score;
    }
  }
  return best;
}

void drawframe3d(QPainter& painter, const AxesLayout& layout, const ViewBasis& basis, bool text) {
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setBrush(Qt::NoBrush);

  // The back faces: for each axis the face turned away from the viewer.
  std::array<int, 3> backSide{};
  for (int axis = 0; axis < 3; ++axis) backSide[axis] = basis.towardViewer(axis) >= 0 ? 0 : 1;
  painter.setPen(QPen(kBackEdgeColour, layout.scale));
  for (int c = 0; c < 8; ++c) {
    for (int axis = 0; axis < 3; ++axis) {
      const int bit = 1 << axis;
      if (c & bit) continue;
      bool onBack = false;
      for (int other = 0; other < 3; ++other) {
        if (other != axis && ((c >> other) & 1) == backSide[other]) onBack = true;
      }
      if (onBack) {
        painter.drawLine(mapped(layout, corner(layout, c)),
                         mapped(layout, corner(layout, c | bit)));
      }
    }
  }

  const std::optional<TextStyle> textStyle = usetextstyle(painter, layout.scale, text);
  const QPointF centre = mapped(layout, (layout.lower + layout.upper) / 2);
  const QPen framePen(kFrameColour, layout.scale);
  static const char* const letters[] = {"X", "Y", "Z"};
  std::vector<QRectF> labelled;  // where tick numbers stand already
  for (int axis = 0; axis < 3; ++axis) {
    const int c = tickedge(layout, basis, axis);
    const Eigen::Vector3d from = corner(layout, c), to = corner(layout, c | (1 << axis));
    const QPointF a = mapped(layout, from), b = mapped(layout, to);
    painter.setPen(framePen);
    painter.drawLine(a, b);
    const double pixels = length(b - a);
    if (pixels < 20) continue;  // seen end on: no room for numbers
    const QPointF along = (b - a) / pixels;
    QPointF out(-along.y(), along.x());
    if (QPointF::dotProduct(out, (a + b) / 2 - centre) < 0) out = -out;

    auto size = [&](const QString& label) { return labelsize(textStyle, label); };
    const double lo = layout.lower(axis), hi = layout.upper(axis);
    const std::vector<double> ticks = fittingticks(lo, hi, pixels, 6, [&](const QString& label) {
      const QSizeF s = size(label);
      return std::abs(along.x()) * s.width() + std::abs(along.y()) * s.height() + 10;
    });
    const double step = ticks.size() > 1 ? ticks[1] - ticks[0] : 1;
    auto tickat = [&](double t) {
      Eigen::Vector3d p = from;
      p(axis) = t;
      return mapped(layout, p);
    };
    for (double t : ticks)
      painter.drawLine(tickat(t), tickat(t) + out * kTickLength * layout.scale);
    if (!textStyle) continue;

    painter.setPen(kTextColour);
    double farthest = 0;
    for (double t : ticks) {
      const QString label = ticklabel(t, step);
      const QSizeF s = size(label);
      const double reach = halfextent(out, s.width(), s.height());
      farthest = std::max(farthest, 2 * reach);
      const QPointF at =
          tickat(t) + out * (kTickLength * layout.scale + kLabelGap * layout.scale + reach);
      // Where two axes meet at a corner their end labels may fall on each
      // other: the later one is left out.
      const QRectF box(at.x() - s.width() / 2 - 2, at.y() - s.height() / 2, s.width() + 4,
                       s.height());
      const bool covered = std::any_of(labelled.begin(), labelled.end(),
                                       [&](const QRectF& taken) { return taken.intersects(box); });
      if (covered) continue;
      labelled.push_back(box);
      drawcentredtext(painter, at, label, textStyle->metrics);
    }
    QFont bold = textStyle->font;
    bold.setBold(true);
    painter.setFont(bold);
    const QFontMetricsF boldMetrics(bold, painter.device());
    const QString letter = QString::fromLatin1(letters[axis]);
    const double reach =
        halfextent(out, boldMetrics.horizontalAdvance(letter), boldMetrics.height());
    drawcentredtext(painter,
                    (a + b) / 2 + out * (kTickLength * layout.scale + 2 * kLabelGap * layout.scale +
                                         farthest + 4 + reach),
                    letter, boldMetrics);
    painter.setFont(textStyle->font);
  }
}

// ---------------------------------------------------------------- data drawing

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

// ---------------------------------------------------------------- title, legend, numbers

QFont sizedfont(const QPainter& painter, double pixels, bool bold = false) {
  QFont font = painter.font();
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
  font.setBold(bold);
  return font;
}

QString qtext(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A flat plot's axis titles: x centred below the numbers under the box, y
// turned upwards left of the numbers beside it, each cut to the box's length.
void drawaxistitles(QPainter& painter, const QRectF& area, const AxesLayout& layout,
                    const ObjectDetails& axes) {
  if (layout.is3d || (axes.xlabel.empty() && axes.ylabel.empty())) return;
  const double k = layout.scale;
  QFont font = QGuiApplication::font();
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(kFontPixels * k))));
  painter.setFont(font);
  const QFontMetricsF metrics(font, painter.device());
  const QRectF& box = layout.plotBox;
  const double room = kAxisTitleRoom * k;
  painter.setPen(kTextColour);
  if (!axes.xlabel.empty()) {
    const QString text = metrics.elidedText(qtext(axes.xlabel), Qt::ElideRight, box.width());
    painter.drawText(QRectF(box.left(), area.bottom() - room - 2 * k, box.width(), room),
                     Qt::AlignCenter, text);
  }
  if (!axes.ylabel.empty()) {
    const QString text = metrics.elidedText(qtext(axes.ylabel), Qt::ElideRight, box.height());
    painter.save();
    painter.translate(area.left() + 2 * k + room / 2, box.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-box.height() / 2, -room / 2, box.height(), room), Qt::AlignCenter,
                     text);
    painter.restore();
  }
}

// ---------------------------------------------------------------- legend place

// The legend's text and size: the names as they fit, and the box around them.
struct LegendText {
  QFont font;
  double rowHeight = 0;
  double textWidth = 0;
  std::vector<QString> names;  // as many rows as the area holds
  QSizeF size;                 // of the box; empty: no legend
};

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
  const auto rows = static_cast<size_t>(
      std::clamp(std::floor((area.height() - titleRoom - 2 * gap - 2 * pad) / legend.rowHeight),
                 0.0, static_cast<double>(items.size())));
  if (rows == 0) return legend;
  // Only a name longer than the area is wide is cut.
  const double longest = std::max(area.width() - sample - 3 * pad - 2 * gap, 20 * scale);
  for (size_t r = 0; r < rows; ++r) {
    legend.names.push_back(metrics.elidedText(qtext(items[r].name), Qt::ElideRight, longest));
    legend.textWidth = std::max(legend.textWidth, metrics.horizontalAdvance(legend.names.back()));
  }
  legend.size = QSizeF(std::round(3 * pad + sample + legend.textWidth + 2),
                       std::round(2 * pad + static_cast<double>(rows) * legend.rowHeight));
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
      style = parsestyle(line.lineStyle);
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
  AxesLayout inside = layoutfor(area, lines, axes, view, scale);
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
  AxesLayout beside = layoutfor(area, lines, axes, view, scale, {0, legend.width() + gap});
  AxesLayout above = layoutfor(area, lines, axes, view, scale, {legend.height() + gap, 0});
  // How much room the data get: their scale, or a flat plot's box when its
  // axes are scaled apart.
  auto room = [&](const AxesLayout& l) {
    return l.is3d || axes.axisEqual ? l.toDevice.norm() : l.plotBox.width() * l.plotBox.height();
  };
  AxesLayout& chosen = room(above) > room(beside) ? above : beside;
  chosen.legendBox = box;
  return chosen;
}

// The title centred over `centreX`, in the room kept for it at the top of
// the area.
void drawtitle(QPainter& painter, const QRectF& area, double centreX, const std::string& title,
               double scale) {
  const QFont font = sizedfont(painter, kTitlePixels * scale, true);
  painter.setFont(font);
  const QFontMetricsF metrics(font, painter.device());
  const QString text = metrics.elidedText(qtext(title), Qt::ElideRight, area.width() - 8 * scale);
  const double width = metrics.horizontalAdvance(text) + 4;
  const double left =
      std::clamp(centreX - width / 2, area.left(), std::max(area.left(), area.right() - width));
  painter.setPen(kTextColour);
  painter.drawText(QRectF(left, area.top() + 3 * scale, width, kTitleRoom * scale), Qt::AlignCenter,
                   text);
}

// The legend in `box`: a row per name that fits, each a sample of the
// object's line and marker (a mean's as large as the legend allows) and the
// name.
void drawlegend(QPainter& painter, const QRectF& box, const LegendText& legend,
                const std::vector<LegendItem>& items, double scale) {
  if (legend.names.empty() || box.isEmpty()) return;
  painter.setFont(legend.font);
  const double pad = kLegendPadding * scale, sample = kSampleLength * scale;
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(kLegendFrame, scale));
  painter.setBrush(kLegendBackground);
  painter.drawRect(box.translated(0.5, 0.5));
  painter.setBrush(Qt::NoBrush);
  for (size_t r = 0; r < legend.names.size(); ++r) {
    const GraphicsObject& line = *items[r].first;
    const PlotStyle style = parsestyle(line.lineStyle);
    const double y =
        std::floor(box.top() + pad + (static_cast<double>(r) + 0.5) * legend.rowHeight) + 0.5;
    const double x = box.left() + pad;
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
    painter.setPen(kTextColour);
    painter.drawText(
        QRectF(x + sample + pad, y - legend.rowHeight / 2, legend.textWidth + 2, legend.rowHeight),
        Qt::AlignLeft | Qt::AlignVCenter, legend.names[r]);
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
                                      const QRectF& region) {
  std::vector<Numbered> numbers;
  std::vector<std::pair<std::string_view, int>> counted;  // per name, the points seen
  for (const Drawn& d : order) {
    if (!d.kind.numbered) continue;
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

// ---------------------------------------------------------------- stamping

// Every channel of a premultiplied colour times alpha / 255.
inline std::uint32_t fade(std::uint32_t argb, std::uint32_t alpha) {
  std::uint32_t rb = (argb & 0x00ff00ffu) * alpha;
  rb = ((rb + ((rb >> 8) & 0x00ff00ffu) + 0x00800080u) >> 8) & 0x00ff00ffu;
  std::uint32_t ag = ((argb >> 8) & 0x00ff00ffu) * alpha;
  ag = (ag + ((ag >> 8) & 0x00ff00ffu) + 0x00800080u) & 0xff00ff00u;
  return rb + ag;
}

// Source over destination, both premultiplied ARGB.
inline std::uint32_t blend(std::uint32_t src, std::uint32_t dst) {
  const std::uint32_t inverse = 255 - (src >> 24);
  std::uint32_t rb = (dst & 0x00ff00ffu) * inverse;
  rb = ((rb + ((rb >> 8) & 0x00ff00ffu) + 0x00800080u) >> 8) & 0x00ff00ffu;
  std::uint32_t ag = ((dst >> 8) & 0x00ff00ffu) * inverse;
  ag = (ag + ((ag >> 8) & 0x00ff00ffu) + 0x00800080u) & 0xff00ff00u;
  return src + rb + ag;
}

// A marker painted once, kept as the list of its non-transparent pixels.
struct Sprite {
  struct Dot {
    int dx, dy;
    std::uint32_t argb;     // premultiplied
    std::ptrdiff_t offset;  // dy * stride + dx in the target image
  };
  std::vector<Dot> dots;  // the opaque ones first: those need no blending
  size_t opaque = 0;
  int reach = 0;  // no dot lies farther than this from the centre on either axis
};

// `alpha` (0 to 255) fades the whole marker, as a painter's opacity would.
Sprite makesprite(const PlotStyle& style, double size, const MarkerPen& pen, int alpha,
                  std::ptrdiff_t stride) {
  const int side =
      (static_cast<int>(std::ceil(std::max(size, 1.0) * 1.3 + 2 * pen.width + 4 * pen.rim)) + 4) |
      1;
  const int mid = side / 2;
  QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    drawmarkerwith(painter, QPointF(mid + 0.5, mid + 0.5), style, size, pen);
  }
  Sprite sprite;
  for (int y = 0; y < side; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
    for (int x = 0; x < side; ++x) {
      std::uint32_t argb = row[x];
      if (alpha < 255) argb = fade(argb, static_cast<std::uint32_t>(alpha));
      if (argb == 0) continue;
      const int dx = x - mid, dy = y - mid;
      sprite.dots.push_back({dx, dy, argb, static_cast<std::ptrdiff_t>(dy) * stride + dx});
      sprite.reach = std::max({sprite.reach, std::abs(dx), std::abs(dy)});
    }
  }
  const auto translucent =
      std::stable_partition(sprite.dots.begin(), sprite.dots.end(),
                            [](const Sprite::Dot& dot) { return dot.argb >> 24 == 255; });
  sprite.opaque = static_cast<size_t>(translucent - sprite.dots.begin());
  return sprite;
}

// Per pixel of the area, the run of objects that last stamped there; kept
// between calls so that a picture of the same size needs no new buffer.
struct StampMarks {
  std::vector<std::uint32_t> run;
  std::uint32_t last = 0;
};

StampMarks& stampmarks(size_t pixels, size_t runs) {
  thread_local StampMarks marks;
  if (marks.run.size() != pixels ||
      marks.last > std::numeric_limits<std::uint32_t>::max() - runs - 2) {
    marks.run.assign(pixels, 0);
    marks.last = 0;
  }
  return marks;
}

// Stamps markers straight into an ARGB32 premultiplied image.
class Stamper {
 public:
  Stamper(QImage& image, const QRect& clip, const QRectF& region, size_t objects)
      : bits_(reinterpret_cast<std::uint32_t*>(image.bits())),
        stride_(image.bytesPerLine() / 4),
        clip_(clip),
        marks_(stampmarks(static_cast<size_t>(clip.width()) * static_cast<size_t>(clip.height()),
                          objects)) {
    // The region, cut to whole pixels of the clip.
    left_ = std::max(region.left(), static_cast<double>(clip.left()));
    top_ = std::max(region.top(), static_cast<double>(clip.top()));
    right_ = std::min(region.right(), static_cast<double>(clip.right() + 1));
    bottom_ = std::min(region.bottom(), static_cast<double>(clip.bottom() + 1));
  }

  // Starts a new run of objects: points stamped before no longer count as
  // already there.
  void newrun() { ++marks_.last; }

  const Sprite& sprite(const PlotStyle& style, double size, const MarkerPen& pen, int alpha) {
    const auto key = std::make_tuple(style.colour.rgba(), style.marker, size, pen, alpha);
    auto found = sprites_.find(key);
    if (found == sprites_.end()) {
      found = sprites_.emplace(key, makesprite(style, size, pen, alpha, stride_)).first;
    }
    return found->second;
  }

  void stamp(const AxesLayout& layout, const GraphicsObject& line, const Sprite& sprite) {
    const Eigen::Index n = line.xdata.size();
    const double* xs = line.xdata.data();
    const double* ys = line.ydata.data();
    const double* zs = line.zdata.size() == n ? line.zdata.data() : nullptr;
    const double a00 = layout.toDevice(0, 0), a01 = layout.toDevice(0, 1),
                 a02 = layout.toDevice(0, 2), a10 = layout.toDevice(1, 0),
                 a11 = layout.toDevice(1, 1), a12 = layout.toDevice(1, 2);
    const double o0 = layout.offset(0), o1 = layout.offset(1);
    const std::uint32_t run = marks_.last;
    std::uint32_t* marks = marks_.run.data();
    const int clipLeft = clip_.left(), clipTop = clip_.top(), clipWidth = clip_.width();
    const int innerLeft = clipLeft + sprite.reach, innerRight = clip_.right() - sprite.reach;
    const int innerTop = clipTop + sprite.reach, innerBottom = clip_.bottom() - sprite.reach;
    for (Eigen::Index i = 0; i < n; ++i) {
      const double x = xs[i], y = ys[i], z = zs ? zs[i] : 0;
      const double px = a00 * x + a01 * y + a02 * z + o0;
      const double py = a10 * x + a11 * y + a12 * z + o1;
      if (!(px >= left_ && px < right_ && py >= top_ && py < bottom_)) continue;
      const int ix = static_cast<int>(px), iy = static_cast<int>(py);  // both >= 0
      std::uint32_t& mark =
          marks[static_cast<size_t>(iy - clipTop) * static_cast<size_t>(clipWidth) +
                static_cast<size_t>(ix - clipLeft)];
      if (mark == run) continue;
      mark = run;
      std::uint32_t* at = bits_ + static_cast<std::ptrdiff_t>(iy) * stride_ + ix;
      if (ix >= innerLeft && ix <= innerRight && iy >= innerTop && iy <= innerBottom) {
        const Sprite::Dot* dots = sprite.dots.data();
        const size_t count = sprite.dots.size();
        for (size_t d = 0; d < sprite.opaque; ++d) at[dots[d].offset] = dots[d].argb;
        for (size_t d = sprite.opaque; d < count; ++d) {
          at[dots[d].offset] = blend(dots[d].argb, at[dots[d].offset]);
        }
      } else {
        for (const Sprite::Dot& dot : sprite.dots) {
          if (clip_.contains(ix + dot.dx, iy + dot.dy)) {
            at[dot.offset] = blend(dot.argb, at[dot.offset]);
          }
        }
      }
    }
  }

 private:
  std::uint32_t* bits_;
  std::ptrdiff_t stride_;
  QRect clip_;
  StampMarks& marks_;
  double left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
  std::map<std::tuple<QRgb, char, double, MarkerPen, int>, Sprite> sprites_;
};

// The image the painter draws on, when markers may be stamped into it.
QImage* stampableimage(const QPainter& painter) {
  QPaintDevice* device = painter.device();
  if (device == nullptr || device->devType() != QInternal::Image) return nullptr;
  auto* image = dynamic_cast<QImage*>(device);
  if (image == nullptr || image->format() != QImage::Format_ARGB32_Premultiplied) return nullptr;
  if (image->devicePixelRatio() != 1 || !painter.deviceTransform().isIdentity()) return nullptr;
  if (painter.hasClipping() || painter.opacity() < 1 ||
      painter.compositionMode() != QPainter::CompositionMode_SourceOver) {
    return nullptr;
  }
  return image;
}

}  // namespace

ViewBasis viewbasis(double azimuth, double elevation) {
  const double ca = std::cos(azimuth * kDegree), sa = std::sin(azimuth * kDegree);
  const double ce = std::cos(elevation * kDegree), se = std::sin(elevation * kDegree);
  ViewBasis basis;
  basis.right = Eigen::Vector3d(ca, sa, 0);
  basis.up = Eigen::Vector3d(-se * sa, se * ca, ce);
  basis.towardViewer = basis.right.cross(basis.up);  // (ce sa, -ce ca, se)
  return basis;
}

std::vector<double> niceticks(double lower, double upper, int wanted) {
  if (!std::isfinite(lower) || !std::isfinite(upper)) return {};
  if (!(upper > lower)) return {lower};
  wanted = std::max(wanted, 2);
  const double range = upper - lower;
  const double slack = range * 1e-9;
  const int exponent = static_cast<int>(std::floor(std::log10(range / wanted)));
  double bestStep = 0;
  long long bestFirst = 0, bestCount = 0;
  for (int e = exponent - 1; e <= exponent + 1; ++e) {
    for (double mantissa : {1.0, 2.0, 5.0}) {
      const double step = mantissa * std::pow(10.0, e);
      const auto first = static_cast<long long>(std::ceil((lower - slack) / step));
      const auto last = static_cast<long long>(std::floor((upper + slack) / step));
      const long long count = last - first + 1;
      const auto miss = std::abs(count - wanted);
      // Equally near: the longer step, fewer numbers.
      if (bestCount == 0 || miss < std::abs(bestCount - wanted) ||
          (miss == std::abs(bestCount - wanted) && step > bestStep)) {
        bestStep = step;
        bestFirst = first;
        bestCount = count;
      }
    }
  }
  std::vector<double> ticks;
  for (long long k = 0; k < bestCount; ++k) {
    ticks.push_back(static_cast<double>(bestFirst + k) * bestStep);
  }
  return ticks;
}

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
  const int fadedAlpha = static_cast<int>(std::lround(shown.opacity * 255));
  // The lighter look of large data sets is for the raw specimens: the
  // standardized ones, the result, stay solid until the user fades them.
  const int standardizedAlpha = look.chosen ? fadedAlpha : 255;
  bool inRun = false;
  std::tuple<QRgb, char, double, bool, int> runKey{};
  std::unordered_set<std::uint64_t> drawnInRun;  // for markers drawn as vector shapes
  double meanReach = 0;                          // the largest marker of the numbered means
  int painterAlpha = 255;                        // the painter's opacity, as a fraction of 255
  for (const Drawn& d : order) {
    const GraphicsObject& line = *d.line;
    const auto style = parsestyle(line.lineStyle);
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
    if (shown.numberMeans) {
      drawnumbers(painter, landmarknumbers(order, layout, region), meanReach, layout.scale);
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
