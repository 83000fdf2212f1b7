#include "desktop/axeswidget.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <cmath>

#include "tests/desktop/qttesting.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::row;

// A plot on screen as the user handles it: one axes holding a 3D or a flat
// point set.
struct Plot {
  explicit Plot(bool is3d) {
    testing::qtApplication();
    graphics.figure();
    if (is3d) {
      graphics.plot3(row({0, 1, 0}), row({0, 0, 1}), row({0, 1, 1}), "bo");
    } else {
      graphics.plot(row({0, 1, 0}), row({0, 0, 1}), "bo", 6);
    }
    widget = std::make_unique<AxesWidget>(
        graphics, *graphics.object(*graphics.currentFigure()).details().currentAxes, nullptr);
    widget->resize(400, 300);
    widget->show();
  }

  void drag(QPoint from, QPoint to) {
    QTest::mousePress(widget.get(), Qt::LeftButton, {}, from);
    QTest::mouseMove(widget.get(), from + (to - from) / 2);
    QTest::mouseMove(widget.get(), to);
    QTest::mouseRelease(widget.get(), Qt::LeftButton, {}, to);
  }

  void wheel(int notches) {
    const QPointF at(200, 150);
    QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(widget.get(), &event);
  }

  Graphics graphics;
  std::unique_ptr<AxesWidget> widget;
};

void expectFirstView(const ViewAngles& view) {
  const ViewAngles first;
  EXPECT_DOUBLE_EQ(view.azimuth, first.azimuth);
  EXPECT_DOUBLE_EQ(view.elevation, first.elevation);
  EXPECT_DOUBLE_EQ(view.zoom, first.zoom);
}

TEST(AxesWidgetView, DraggingTurnsA3DPlotAndTheWheelZoomsIt) {
  Plot plot(true);
  plot.drag(QPoint(100, 100), QPoint(140, 80));
  const ViewAngles turned = plot.widget->viewAngles();
  EXPECT_NEAR(turned.azimuth, -37.5 - 40 * 0.5, 1e-9);  // right: the plot turns with the mouse
  EXPECT_NEAR(turned.elevation, 30 - 20 * 0.5, 1e-9);   // up: seen from lower down
  EXPECT_DOUBLE_EQ(turned.zoom, 1);

  plot.wheel(2);
  EXPECT_NEAR(plot.widget->viewAngles().zoom, 1.15 * 1.15, 1e-12);
  plot.wheel(-1);
  EXPECT_NEAR(plot.widget->viewAngles().zoom, 1.15, 1e-12);
  EXPECT_DOUBLE_EQ(plot.widget->viewAngles().azimuth, turned.azimuth);
}

TEST(AxesWidgetView, DoubleClickAndRGoBackToTheFirstView) {
  Plot plot(true);
  plot.drag(QPoint(100, 100), QPoint(200, 200));
  plot.wheel(3);
  QTest::mouseDClick(plot.widget.get(), Qt::LeftButton, {}, QPoint(50, 50));
  expectFirstView(plot.widget->viewAngles());

  plot.drag(QPoint(100, 100), QPoint(50, 120));
  QTest::keyClick(plot.widget.get(), Qt::Key_R);
  expectFirstView(plot.widget->viewAngles());
}

TEST(AxesWidgetView, TheViewStaysWithinItsBoundsWhateverTheUserDoes) {
  Plot plot(true);
  plot.drag(QPoint(10, 10), QPoint(10, 290));  // far down: over the top
  plot.drag(QPoint(10, 10), QPoint(10, 290));
  EXPECT_DOUBLE_EQ(plot.widget->viewAngles().elevation, 90);
  for (int i = 0; i < 10; ++i) plot.drag(QPoint(10, 10), QPoint(390, 10));
  EXPECT_LE(std::abs(plot.widget->viewAngles().azimuth), 180);
  plot.wheel(100);
  EXPECT_DOUBLE_EQ(plot.widget->viewAngles().zoom, 50);
  plot.wheel(-200);
  EXPECT_DOUBLE_EQ(plot.widget->viewAngles().zoom, 0.05);
}

TEST(AxesWidgetView, AFlatPlotDoesNotTurnButZooms) {
  Plot plot(false);
  plot.drag(QPoint(100, 100), QPoint(180, 40));
  EXPECT_DOUBLE_EQ(plot.widget->viewAngles().azimuth, ViewAngles{}.azimuth);
  EXPECT_DOUBLE_EQ(plot.widget->viewAngles().elevation, ViewAngles{}.elevation);
  plot.wheel(1);
  EXPECT_NEAR(plot.widget->viewAngles().zoom, 1.15, 1e-12);
}

TEST(AxesWidgetView, APlotThatBecomes3DWhileShownTurnsAtTheNextDrag) {
  Plot plot(false);
  plot.graphics.plot3(row({0, 2}), row({0, 2}), row({0, 2}), "r*");
  plot.widget->dataChanged();
  plot.drag(QPoint(100, 100), QPoint(110, 100));
  EXPECT_NEAR(plot.widget->viewAngles().azimuth, -37.5 - 5, 1e-9);
}

TEST(AxesWidgetLook, MenuChangesAreTheUsersChoiceAndAreAnnounced) {
  Plot plot(true);
  AxesWidget& widget = *plot.widget;
  QSignalSpy changed(&widget, &AxesWidget::lookChanged);
  const QImage before = widget.grab().toImage();
  widget.largerMarkers();
  EXPECT_NEAR(widget.look().markerScale, std::sqrt(2.0), 1e-12);
  EXPECT_TRUE(widget.look().chosen);
  EXPECT_NE(widget.grab().toImage(), before);  // drawn again
  widget.smallerMarkers();
  widget.smallerMarkers();
  EXPECT_NEAR(widget.look().markerScale, std::sqrt(0.5), 1e-12);
  widget.setSpecimenOpacity(0.25);
  widget.setNumberMeans(true);
  EXPECT_DOUBLE_EQ(widget.look().opacity, 0.25);
  EXPECT_TRUE(widget.look().numberMeans);
  EXPECT_EQ(changed.count(), 5);
  widget.setLook(widget.look());  // no change: nothing said
  EXPECT_EQ(changed.count(), 5);
  for (int i = 0; i < 20; ++i) widget.largerMarkers();
  EXPECT_DOUBLE_EQ(widget.look().markerScale, 4);
}

TEST(AxesWidgetLook, AChoiceOnBigDataKeepsItsLighterLook) {
  Plot plot(false);
  const Eigen::RowVectorXd many = Eigen::RowVectorXd::LinSpaced(6000, 0, 1);
  plot.graphics.plot(many, many, "bo", 6, "specimens, superimposed");
  plot.widget->dataChanged();
  plot.widget->setNumberMeans(true);
  const PlotLook& look = plot.widget->look();
  EXPECT_TRUE(look.chosen && look.numberMeans);
  EXPECT_DOUBLE_EQ(look.opacity, 0.35);
  EXPECT_DOUBLE_EQ(look.specimenScale, 0.6);
}

}  // namespace
}  // namespace tarvolin
