#include <QGuiApplication>
#include <QPen>
#include <algorithm>
#include <cmath>

#include "desktop/renderaxesparts.h"

namespace tarvolin {
namespace axesdrawing {

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
  // The titles keep to the box's tick labels: a plot of equal scales may
  // stand well inside its area.
  double titleTop = area.bottom() - room - 2 * k;
  const double belowTicks = box.bottom() + (kMarginBottom - 2) * k;
  if (belowTicks < titleTop - 1) titleTop = belowTicks;
  double titleCentre = area.left() + 2 * k + room / 2;
  const double nearBox = box.left() - kMarginLeft * k - room / 2 + 2 * k;
  if (nearBox > titleCentre + 1) titleCentre = nearBox;
  if (!axes.xlabel.empty()) {
    const QString text = metrics.elidedText(qtext(axes.xlabel), Qt::ElideRight, box.width());
    painter.drawText(QRectF(box.left(), titleTop, box.width(), room), Qt::AlignCenter, text);
  }
  if (!axes.ylabel.empty()) {
    const QString text = metrics.elidedText(qtext(axes.ylabel), Qt::ElideRight, box.height());
    painter.save();
    painter.translate(titleCentre, box.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-box.height() / 2, -room / 2, box.height(), room), Qt::AlignCenter,
                     text);
    painter.restore();
  }
}

}  // namespace axesdrawing

}  // namespace tarvolin
