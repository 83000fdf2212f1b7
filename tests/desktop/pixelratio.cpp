// The plot window on a screen of two device pixels per pixel (as
// QT_SCALE_FACTOR=2 makes it): the plot fills its widget the same at every
// repaint, not only the first.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <cstdlib>
#include <memory>

#include "desktop/axeswidget.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::row;

// The application of this program, on a doubled offscreen screen.
QApplication& doubledApplication() {
  static int argc = 1;
  static char name[] = "tests_desktop_pixelratio";
  static char* argv[] = {name, nullptr};
  static QApplication* application = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("QT_SCALE_FACTOR", "2", 1);
    return new QApplication(argc, argv);
  }();
  return *application;
}

// The pixels of the data: blue, where the frame, numbers and back edges are grey.
struct Data {
  int count = 0;
  QRect box;
};
Data data(const QImage& image) {
  Data found;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = image.pixel(x, y);
      if (qBlue(c) < qRed(c) + 80) continue;
      ++found.count;
      found.box |= QRect(x, y, 1, 1);
    }
  }
  return found;
}

TEST(PixelRatio, ThePlotFillsItsWidgetAtEveryRepaint) {
  doubledApplication();
  for (const bool in3d : {true, false}) {
    Graphics graphics;
    graphics.figure();
    const Eigen::RowVectorXd x = row({0, 1, 0, 1, 0.5}), y = row({0, 0, 1, 1, 0.5});
    if (in3d) {
      graphics.plot3(x, y, row({0, 1, 1, 0, 0.5}), "bo");
    } else {
      graphics.plot(x, y, "bo", 6);
    }
    AxesWidget widget(graphics, graphics.gca(), nullptr);
    widget.resize(400, 300);
    widget.show();
    ASSERT_DOUBLE_EQ(widget.devicePixelRatioF(), 2);

    const QImage first = widget.grab().toImage();
    widget.dataChanged();
    const QImage again = widget.grab().toImage();
    ASSERT_EQ(first.size(), QSize(800, 600)) << in3d;
    for (const QImage* image : {&first, &again}) {
      const Data seen = data(*image);
      EXPECT_GE(seen.box.width(), image->width() / 2) << in3d;
      EXPECT_GE(seen.box.height(), image->height() / 2) << in3d;
      EXPECT_TRUE(image->rect().adjusted(10, 10, -10, -10).contains(seen.box)) << in3d;
    }
    // Every marker whole, at each repaint.
    EXPECT_EQ(data(again).count, data(first).count) << in3d;
    EXPECT_GE(data(first).count, 5 * 20) << in3d;
  }
}

}  // namespace
}  // namespace tarvolin
