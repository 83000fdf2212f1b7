#include <Eigen/Geometry>
#include <QPen>
#include <array>
#include <cmath>

#include "desktop/renderaxesparts.h"

namespace tarvolin {
namespace axesdrawing {

namespace {

const QColor kBackEdgeColour(205, 205, 205);

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

}  // namespace

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

}  // namespace axesdrawing

using namespace axesdrawing;

ViewBasis viewbasis(double azimuth, double elevation) {
  const double ca = std::cos(azimuth * kDegree), sa = std::sin(azimuth * kDegree);
  const double ce = std::cos(elevation * kDegree), se = std::sin(elevation * kDegree);
  ViewBasis basis;
  basis.right = Eigen::Vector3d(ca, sa, 0);
  basis.up = Eigen::Vector3d(-se * sa, se * ca, ce);
  basis.towardViewer = basis.right.cross(basis.up);  // (ce sa, -ce ca, se)
  return basis;
}

}  // namespace tarvolin
