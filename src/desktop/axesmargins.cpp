#include <cmath>
#include <limits>

#include "desktop/renderaxesparts.h"

namespace tarvolin {
namespace axesdrawing {

namespace {

// Margins of the 2D box inside the area, in pixels: room for the numbers on
// the left and below.
constexpr double kMarginTop = 15, kMarginRight = 15;

// Room around the projected 3D box for its numbers and axis letters.
constexpr double kMargin3dLeft = 70, kMargin3dRight = 50, kMargin3dTop = 20, kMargin3dBottom = 55;

// The room between a flat plot's frame and the data inside it, so that no
// marker sits on or against the frame: kDataInset pixels, or kDataInsetShare
// of the box's shorter side when that is more.
constexpr double kDataInset = 12;
constexpr double kDataInsetShare = 0.04;

void widen(const PlotData& values, double& lower, double& upper) {
  lower = std::min(lower, values.finitemin());
  upper = std::max(upper, values.finitemax());
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

}  // namespace

DataLimits datalimitsof(const std::vector<const GraphicsObject*>& lines) {
  DataLimits limits;
  limits.is3d = anyzdata(lines);
  datalimits(lines, limits.is3d, limits.lower, limits.upper);
  return limits;
}

// Room is kept above the plot for the axes' title, and in 2D below and left
// of it for the axis titles.
AxesLayout layoutfor(const QRectF& area, const DataLimits& data, const ObjectDetails& axes,
                     const ViewAngles& view, double scale, const LegendRoom& legend) {
  AxesLayout layout;
  layout.scale = scale > 0 ? scale : 1;
  const double k = layout.scale;
  const bool axisEqual = axes.axisEqual;
  const double titleRoom = axes.title.empty() ? 0 : kTitleRoom;
  const double xlabelRoom = axes.xlabel.empty() ? 0 : kAxisTitleRoom;
  const double ylabelRoom = axes.ylabel.empty() ? 0 : kAxisTitleRoom;
  layout.is3d = data.is3d;
  layout.lower = data.lower;
  layout.upper = data.upper;
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
    const double inset =
        std::max(kDataInset * k, kDataInsetShare * std::min(box.width(), box.height()));
    const QRectF inner = box.adjusted(inset, inset, -inset, -inset);
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

}  // namespace axesdrawing

}  // namespace tarvolin
