#include <QGuiApplication>
#include <cmath>

#include "desktop/renderaxesparts.h"

namespace tarvolin {
namespace axesdrawing {

namespace {

// The title's font.
constexpr int kTitlePixels = 12;
constexpr double kTitleSmallest = 0.6;

}  // namespace

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

QFont sizedfont(const QPainter& painter, double pixels, bool bold) {
  QFont font = painter.font();
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
  font.setBold(bold);
  return font;
}

QString qtext(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A title wider than its room is set smaller, down to kTitleSmallest of its
// size, before it is cut: it names the data set and what is shown.
QFont titlefont(const QPainter& painter, const std::string& title, double width, double scale) {
  QFont font = sizedfont(painter, kTitlePixels * scale, true);
  const double full = QFontMetricsF(font, painter.device()).horizontalAdvance(qtext(title));
  if (!(full > width && full > 0)) return font;
  // Text does not narrow quite in step with its size: a pixel less until it fits.
  const double smallest = std::max(1.0, std::floor(kTitleSmallest * kTitlePixels * scale));
  for (double pixels = std::floor(kTitlePixels * scale * std::max(kTitleSmallest, width / full));
       pixels >= smallest; --pixels) {
    font = sizedfont(painter, pixels, true);
    if (QFontMetricsF(font, painter.device()).horizontalAdvance(qtext(title)) <= width) break;
  }
  return font;
}

// The title centred over `centreX`, in the room kept for it at the top of
// the area.
void drawtitle(QPainter& painter, const QRectF& area, double centreX, const std::string& title,
               double scale) {
  const double room = area.width() - 8 * scale;
  const QFont font = titlefont(painter, title, room, scale);
  painter.setFont(font);
  const QFontMetricsF metrics(font, painter.device());
  const QString text = metrics.elidedText(qtext(title), Qt::ElideRight, room);
  const double width = metrics.horizontalAdvance(text) + 4;
  const double left =
      std::clamp(centreX - width / 2, area.left(), std::max(area.left(), area.right() - width));
  painter.setPen(kTextColour);
  painter.drawText(QRectF(left, area.top() + 3 * scale, width, kTitleRoom * scale), Qt::AlignCenter,
                   text);
}

}  // namespace axesdrawing

using namespace axesdrawing;

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

}  // namespace tarvolin
