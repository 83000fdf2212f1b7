#pragma once
// One axes of the graphics model on screen. It draws the axes' point sets
// with renderaxes and lets the user look at them: drag with the left button
// to rotate a 3D plot, turn the wheel to zoom, double-click (or press R, or
// choose "Reset view" in the context menu) to go back to the first view.
// The context menu also changes the look of the plot (larger or smaller
// markers, the opacity of the specimens, the numbers of the landmarks of the
// means) and offers "Copy plot" and "Save picture...", which the window
// carries out with the same look.
//
// Axes with a callback name the tagged point under the pointer (a specimen
// in shape space) and run the callback for the point clicked, that point
// being the callback's object.
//
// The picture is drawn once into an image and kept until the model's data
// or the view change, so repainting a window (moving another window over it,
// say) costs no redraw of the points.
//
// Example:
//   auto* plot = new AxesWidget(graphics, axesHandle, canvas);
//   plot->dataChanged();   // after plot3 added a point set
//   plot->largerMarkers(); // as the context menu's "Larger markers"

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <optional>

#include "desktop/renderaxes.h"
#include "document/graphics.h"

namespace tarvolin {

class AxesWidget : public QWidget {
  Q_OBJECT

 public:
  AxesWidget(const Graphics& graphics, Handle axes, QWidget* parent);

  Handle handle() const { return handle_; }
  const ViewAngles& viewAngles() const { return view_; }
  void setViewAngles(const ViewAngles& view);
  void resetView();
  // The model's point sets changed: draw again.
  void dataChanged();

  // How the plot is drawn; a look not chosen adapts to big data (see
  // effectivelook). Setting another look draws again and says so.
  const PlotLook& look() const { return look_; }
  void setLook(const PlotLook& look);
  // The context menu's changes of the look, each starting from the look as
  // drawn and making it the user's choice: markers 1.41 times larger or
  // smaller, the specimens' opacity (0.05 to 1), the landmark numbers.
  void largerMarkers();
  void smallerMarkers();
  void setSpecimenOpacity(double opacity);
  void setNumberMeans(bool on);

  // The tagged single point within a few pixels of `at` (widget pixels) in
  // axes that have a callback, the nearest one; nothing elsewhere.
  std::optional<Handle> pointAt(QPointF at) const;

 signals:
  // The pointer is over a tagged point (its tag and where it is, in words),
  // or over none (an empty text).
  void pointed(const QString& text);
  // A tagged point was clicked.
  void pointClicked(Handle point);
  void copyRequested();
  void saveRequested();
  void lookChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  const Graphics& graphics_;
  Handle handle_;
  // The look as drawn, made the user's choice: the start of every change.
  PlotLook chosenLook() const;

  ViewAngles view_;
  PlotLook look_;
  QImage picture_;
  bool stale_ = true;
  bool dragging_ = false;  // a 3D plot is being turned
  bool pointing_ = false;  // a point is named in the status line
  QPoint lastPosition_;
};

}  // namespace tarvolin
