#include "desktop/axeswidget.h"

#include <QActionGroup>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace tarvolin {
namespace {

// Degrees of turn per pixel dragged, and zoom per wheel notch.
constexpr double kDegreesPerPixel = 0.5;
constexpr double kZoomPerNotch = 1.15;
// Markers grow or shrink by this much per step of the menu: enough for a
// marker of a few pixels to change by a whole pixel on either side.
constexpr double kMarkerStep = std::numbers::sqrt2;
// How near the pointer must come to a point to name or click it.
constexpr double kPointReach = 6;

// The first word of an axis title ("PC1" of "PC1 (34.2%)").
QString firstword(const std::string& title) {
  const QString text = QString::fromStdString(title);
  return text.section(u' ', 0, 0);
}

}  // namespace

AxesWidget::AxesWidget(const Graphics& graphics, Handle axes, QWidget* parent)
    : QWidget(parent), graphics_(graphics), handle_(axes) {
  setFocusPolicy(Qt::ClickFocus);
  setMouseTracking(true);  // to name the point under the pointer
  setMinimumSize(120, 90);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setToolTip(
      tr("Drag to turn the plot, turn the wheel to zoom, double-click to reset the view; "
         "right-click to change the markers, copy the plot or save the picture"));
}

void AxesWidget::setViewAngles(const ViewAngles& view) {
  view_ = view;
  view_.elevation = std::clamp(view_.elevation, -90.0, 90.0);
  view_.azimuth = std::remainder(view_.azimuth, 360.0);
  view_.zoom = std::clamp(view_.zoom, 0.05, 50.0);
  dataChanged();
}

void AxesWidget::resetView() { setViewAngles(ViewAngles{}); }

void AxesWidget::dataChanged() {
  stale_ = true;
  update();
}

void AxesWidget::setLook(const PlotLook& look) {
  if (look == look_) return;
  look_ = look;
  dataChanged();
  emit lookChanged();
}

PlotLook AxesWidget::chosenLook() const {
  PlotLook look = graphics_.isValid(handle_)
                      ? effectivelook(look_, plottedpoints(graphics_, handle_))
                      : effectivelook(look_, 0);
  look.chosen = true;
  return look;
}

void AxesWidget::largerMarkers() {
  PlotLook look = chosenLook();
  look.markerScale = std::min(look.markerScale * kMarkerStep, 4.0);
  setLook(look);
}

void AxesWidget::smallerMarkers() {
  PlotLook look = chosenLook();
  look.markerScale = std::max(look.markerScale / kMarkerStep, 0.25);
  setLook(look);
}

void AxesWidget::setSpecimenOpacity(double opacity) {
  PlotLook look = chosenLook();
  look.opacity = std::clamp(opacity, 0.05, 1.0);
  setLook(look);
}

void AxesWidget::setNumberMeans(bool on) {
  PlotLook look = chosenLook();
  look.numberMeans = on;
  setLook(look);
}

void AxesWidget::paintEvent(QPaintEvent* /*event*/) {
  const qreal ratio = devicePixelRatioF();
  const QSize size(static_cast<int>(std::ceil(width() * ratio)),
                   static_cast<int>(std::ceil(height() * ratio)));
  if (stale_ || picture_.size() != size) {
    if (picture_.size() != size) picture_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
    // The picture is drawn in device pixels: an image that says it has a
    // ratio would have the painter scale every drawing by it once more.
    picture_.setDevicePixelRatio(1);
    QPainter painter(&picture_);
    // The axes may already be gone from the model while the widget waits
    // to be deleted.
    if (graphics_.isValid(handle_)) {
      renderaxes(painter, QRectF(QPointF(0, 0), QSizeF(size)), graphics_, handle_, view_, ratio,
                 look_);
    } else {
      picture_.fill(Qt::white);
    }
    stale_ = false;
  }
  picture_.setDevicePixelRatio(ratio);
  QPainter painter(this);
  painter.drawImage(QPointF(0, 0), picture_);
}

void AxesWidget::resizeEvent(QResizeEvent* /*event*/) { stale_ = true; }

std::optional<Handle> AxesWidget::pointAt(QPointF at) const {
  if (!graphics_.isValid(handle_)) return std::nullopt;
  const GraphicsObject& axes = graphics_.object(handle_);
  if (axes.details().callback.empty()) return std::nullopt;
  const AxesLayout layout =
      axeslayout(QRectF(0, 0, width(), height()), graphics_, handle_, view_, 1, look_);
  std::optional<Handle> nearest;
  double best = kPointReach * kPointReach;
  for (const Handle child : axes.children) {
    const GraphicsObject& line = graphics_.object(child);
    if (line.type != ObjectType::line || line.tag.empty() || line.xdata.size() != 1) continue;
    const double z = line.zdata.size() == 1 ? line.zdata(0) : 0;
    const QPointF p = layout.map(line.xdata(0), line.ydata(0), z) - at;
    const double distance = p.x() * p.x() + p.y() * p.y();
    if (distance <= best) {
      best = distance;
      nearest = child;
    }
  }
  return nearest;
}

void AxesWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  if (const std::optional<Handle> point = pointAt(event->position())) {
    dragging_ = false;
    emit pointClicked(*point);
    return;
  }
  // Only a 3D plot turns. Asked once per drag: the answer walks the plotted
  // objects, of which a flat plot may hold one per point.
  dragging_ = graphics_.isValid(handle_) && isaxes3d(graphics_, handle_);
  lastPosition_ = event->position().toPoint();
}

void AxesWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) {
    const std::optional<Handle> point = pointAt(event->position());
    if (point) {
      const GraphicsObject& line = graphics_.object(*point);
      const ObjectDetails& axes = graphics_.object(handle_).details();
      emit pointed(QStringLiteral("%1: %2 %3, %4 %5")
                       .arg(QString::fromStdString(line.tag), firstword(axes.xlabel),
                            QString::number(line.xdata(0), 'g', 4), firstword(axes.ylabel),
                            QString::number(line.ydata(0), 'g', 4)));
      pointing_ = true;
    } else if (pointing_) {
      emit pointed(QString());
      pointing_ = false;
    }
    return;
  }
  const QPoint now = event->position().toPoint();
  const QPoint moved = now - lastPosition_;
  lastPosition_ = now;
  ViewAngles view = view_;
  view.azimuth -= moved.x() * kDegreesPerPixel;
  view.elevation += moved.y() * kDegreesPerPixel;
  setViewAngles(view);
}

void AxesWidget::mouseReleaseEvent(QMouseEvent* /*event*/) { dragging_ = false; }

void AxesWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) resetView();
}

void AxesWidget::wheelEvent(QWheelEvent* event) {
  const double notches = event->angleDelta().y() / 120.0;
  if (notches == 0) return;
  ViewAngles view = view_;
  view.zoom *= std::pow(kZoomPerNotch, notches);
  setViewAngles(view);
  event->accept();
}

void AxesWidget::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_R:
      resetView();
      return;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      setViewAngles({view_.azimuth, view_.elevation, view_.zoom * kZoomPerNotch});
      return;
    case Qt::Key_Minus:
      setViewAngles({view_.azimuth, view_.elevation, view_.zoom / kZoomPerNotch});
      return;
    case Qt::Key_Left:
      setViewAngles({view_.azimuth + 5, view_.elevation, view_.zoom});
      return;
    case Qt::Key_Right:
      setViewAngles({view_.azimuth - 5, view_.elevation, view_.zoom});
      return;
    case Qt::Key_Up:
      setViewAngles({view_.azimuth, view_.elevation - 5, view_.zoom});
      return;
    case Qt::Key_Down:
      setViewAngles({view_.azimuth, view_.elevation + 5, view_.zoom});
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

void AxesWidget::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction(tr("Reset view"), this, &AxesWidget::resetView);
  menu.addSeparator();
  menu.addAction(tr("Larger markers"), this, &AxesWidget::largerMarkers);
  menu.addAction(tr("Smaller markers"), this, &AxesWidget::smallerMarkers);
  QMenu* opacity = menu.addMenu(tr("Opacity of specimens"));
  auto* opacities = new QActionGroup(opacity);
  const double shown = chosenLook().opacity;
  for (const int percent : {100, 50, 25, 10}) {
    QAction* action = opacity->addAction(tr("%1%").arg(percent), this,
                                         [this, percent] { setSpecimenOpacity(percent / 100.0); });
    action->setCheckable(true);
    action->setChecked(std::abs(shown - percent / 100.0) < 0.005);
    opacities->addAction(action);
  }
  QAction* numbers = menu.addAction(tr("Number the landmarks of the means"));
  numbers->setCheckable(true);
  numbers->setChecked(look_.numberMeans);
  connect(numbers, &QAction::toggled, this, &AxesWidget::setNumberMeans);
  menu.addSeparator();
  menu.addAction(tr("Copy plot"), this, &AxesWidget::copyRequested);
  menu.addAction(tr("Save picture..."), this, &AxesWidget::saveRequested);
  menu.exec(event->globalPos());
}

}  // namespace tarvolin
