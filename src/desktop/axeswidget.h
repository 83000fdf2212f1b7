#pragma once
// One axes of the graphics model on screen. It draws the axes' point sets
// with renderaxes and lets the user look at them: drag with the left button
// to rotate a 3D plot, turn the wheel to zoom, double-click (or press R, or
// choose "Reset view" in the context menu) to go back to the first view.
// The context menu also offers "Copy picture" and "Save picture as...",
// which the window carries out.
//
// The picture is drawn once into an image and kept until the model's data
// or the view change, so repainting a window (moving another window over it,
// say) costs no redraw of the points.
//
// Example:
//   auto* plot = new AxesWidget(graphics, axesHandle, canvas);
//   plot->dataChanged();   // after plot3 added a point set

#include <QImage>
#include <QPoint>
#include <QWidget>

#include "platform/graphics.h"
#include "renderaxes.h"

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

 signals:
  void copyRequested();
  void saveRequested();

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
  ViewAngles view_;
  QImage picture_;
  bool stale_ = true;
  bool dragging_ = false;  // a 3D plot is being turned
  QPoint lastPosition_;
};

}  // namespace tarvolin
