#include "desktop/renderaxes.h"

#include <gtest/gtest.h>

#include <Eigen/LU>
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>

#include "core/sprintf.h"
#include "desktop/figurepicture.h"
#include "desktop/renderaxesparts.h"
#include "tests/document/legendroles.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

// Text on the axes needs an application; no display is needed.
class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tests_qtview_render";
    static char* argv[] = {name, nullptr};
    application_ = std::make_unique<QGuiApplication>(argc, argv);
  }
  void TearDown() override { application_.reset(); }

 private:
  std::unique_ptr<QGuiApplication> application_;
};
const ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr QImage::Format kFast = QImage::Format_ARGB32_Premultiplied;
constexpr QImage::Format kVector = QImage::Format_RGB32;  // not stampable: drawn shape by shape

using testing::row;

QImage render(const Graphics& g, QImage::Format format = kFast, const ViewAngles& view = {},
              QSize size = QSize(400, 300), const PlotLook& look = {}) {
  QImage image(size, format);
  image.fill(Qt::magenta);
  QPainter painter(&image);
  renderaxes(painter, QRectF(image.rect()), g, *g.object(*g.currentFigure()).details().currentAxes,
             view, 1, look);
  return image;
}

AxesLayout layoutof(const Graphics& g, const ViewAngles& view = {}, QSize size = QSize(400, 300)) {
  return axeslayout(QRectF(QPoint(0, 0), size), g,
                    *g.object(*g.currentFigure()).details().currentAxes, view);
}

QPoint pixel(const QPointF& p) {
  return {static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y()))};
}

using Test = std::function<bool(QRgb)>;
bool red(QRgb c) { return qRed(c) > 150 && qGreen(c) < 110 && qBlue(c) < 110; }
bool blue(QRgb c) { return qBlue(c) > 150 && qRed(c) < 110 && qGreen(c) < 110; }
bool green(QRgb c) { return qGreen(c) > 80 && qRed(c) < 80 && qBlue(c) < 80; }
bool dark(QRgb c) { return qGray(c) < 160; }
bool magenta(QRgb c) { return qRed(c) > 150 && qBlue(c) > 150 && qGreen(c) < 80; }
bool white(QRgb c) { return qRed(c) == 255 && qGreen(c) == 255 && qBlue(c) == 255; }

// The pixels inside `within` (all the image when null) that pass `test`: how
// many, and the smallest rectangle holding them.
struct Ink {
  int count = 0;
  QRect box;
};
Ink ink(const QImage& image, const Test& test, QRect within = {}) {
  if (within.isNull()) within = image.rect();
  Ink found;
  for (int y = within.top(); y <= within.bottom(); ++y) {
    for (int x = within.left(); x <= within.right(); ++x) {
      if (!test(image.pixel(x, y))) continue;
      ++found.count;
      found.box |= QRect(x, y, 1, 1);
    }
  }
  return found;
}
int count(const QImage& image, const Test& test, QRect within = {}) {
  return ink(image, test, within).count;
}
QRect bounds(const QImage& image, const Test& test) { return ink(image, test).box; }
QPointF centreof(const QImage& image, const Test& test) {
  return QRectF(bounds(image, test)).center();
}

// ------------------------------------------------------------ the view and the ticks

TEST(RenderAxesView, FrontAndTop) {
  const ViewBasis front = viewbasis(0, 0);  // along +y: x right, z up
  EXPECT_TRUE(front.right.isApprox(Eigen::Vector3d(1, 0, 0)));
  EXPECT_TRUE(front.up.isApprox(Eigen::Vector3d(0, 0, 1)));
  EXPECT_TRUE(front.towardViewer.isApprox(Eigen::Vector3d(0, -1, 0)));
  const ViewBasis top = viewbasis(0, 90);  // straight down: x right, y up
  EXPECT_TRUE(top.right.isApprox(Eigen::Vector3d(1, 0, 0)));
  EXPECT_TRUE(top.up.isApprox(Eigen::Vector3d(0, 1, 0)));
  EXPECT_TRUE(top.towardViewer.isApprox(Eigen::Vector3d(0, 0, 1)));
}

TEST(RenderAxesView, DefaultViewFromFrontLeftAbove) {
  const ViewBasis b = viewbasis(-37.5, 30);
  // x runs to the upper right, y to the upper left, z straight up.
  EXPECT_GT(b.right.x(), 0);
  EXPECT_GT(b.up.x(), 0);
  EXPECT_LT(b.right.y(), 0);
  EXPECT_GT(b.up.y(), 0);
  EXPECT_NEAR(b.right.z(), 0, 1e-12);
  EXPECT_NEAR(b.up.z(), std::cos(30 * std::acos(-1.0) / 180), 1e-12);
  // The viewer stands at -x, -y, above.
  EXPECT_LT(b.towardViewer.x(), 0);
  EXPECT_LT(b.towardViewer.y(), 0);
  EXPECT_GT(b.towardViewer.z(), 0);
  Eigen::Matrix3d m;
  m << b.right, b.up, b.towardViewer;
  EXPECT_TRUE((m.transpose() * m).isApprox(Eigen::Matrix3d::Identity()));
  EXPECT_NEAR(m.determinant(), 1, 1e-12);
}

TEST(RenderAxesTicks, RoundSteps) {
  auto near = [](const std::vector<double>& a, const std::vector<double>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
      if (std::abs(a[i] - b[i]) > 1e-9) return false;
    }
    return true;
  };
  EXPECT_TRUE(near(niceticks(0, 1, 6), {0, 0.2, 0.4, 0.6, 0.8, 1}));
  EXPECT_TRUE(near(niceticks(0, 10, 5), {0, 2, 4, 6, 8, 10}));
  EXPECT_TRUE(near(niceticks(-93.4, 101.2, 5), {-50, 0, 50, 100}));
  EXPECT_TRUE(near(niceticks(-7.0, -6.9, 6), {-7, -6.98, -6.96, -6.94, -6.92, -6.9}));
  EXPECT_TRUE(near(niceticks(1234.5, 98765.0, 6), {2e4, 4e4, 6e4, 8e4}));
}

// ------------------------------------------------------------ frame and limits

TEST(RenderAxesFrame, EmptyAxesShowsAWhiteBoxWithAFrame) {
  Graphics g;
  g.figure();
  g.gca();
  EXPECT_FALSE(isaxes3d(g, g.gca()));
  const AxesLayout layout = layoutof(g);
  EXPECT_TRUE(layout.lower.isApprox(Eigen::Vector3d(0, 0, 0)));
  EXPECT_TRUE(layout.upper.isApprox(Eigen::Vector3d(1, 1, 1)));
  const QImage image = render(g);
  EXPECT_EQ(count(image, [](QRgb c) { return c == QColor(Qt::magenta).rgb(); }), 0);
  EXPECT_TRUE(white(image.pixel(2, 2)));
  EXPECT_TRUE(white(image.pixel(image.width() / 2, image.height() / 2)));
  const QRect box = layout.plotBox.toRect();
  const int bottom = static_cast<int>(layout.plotBox.bottom());  // the row below the last inside
  EXPECT_TRUE(dark(image.pixel(box.left(), box.center().y())));
  EXPECT_TRUE(dark(image.pixel(box.center().x(), bottom)));
  EXPECT_TRUE(white(image.pixel(box.center().x(), bottom - 10)));
  // Numbers stand left of the box.
  EXPECT_GT(count(image, dark, QRect(0, box.top(), box.left() - 3, box.height())), 20);
}

TEST(RenderAxesFrame, SinglePointWidensTheLimits) {
  Graphics g;
  g.figure();
  g.plot(row({5}), row({0}), "b.", 6);
  const AxesLayout layout = layoutof(g);
  EXPECT_NEAR(layout.lower.x(), 4.75, 1e-12);
  EXPECT_NEAR(layout.upper.x(), 5.25, 1e-12);
  EXPECT_NEAR(layout.lower.y(), -0.5, 1e-12);
  EXPECT_NEAR(layout.upper.y(), 0.5, 1e-12);
  const QImage image = render(g);
  EXPECT_TRUE(blue(image.pixel(pixel(layout.plotBox.center()))));
}

TEST(RenderAxesFrame, EqualAxesKeepASquareSquare) {
  Graphics g;
  g.figure();
  g.plot(row({0, 10, 0, 10}), row({0, 0, 10, 10}), "b.", 6);
  const QRect stretched = bounds(render(g), blue);
  EXPECT_GT(stretched.width(), stretched.height() + 50);
  g.axis("equal");
  const QRect square = bounds(render(g), blue);
  EXPECT_NEAR(square.width(), square.height(), 2);
  EXPECT_GT(square.height(), 150);
}

// A plot of equal scales stands inside its area: its axis titles stay by
// its tick labels, not at the area's edges.
TEST(RenderAxesFrame, AxisTitlesKeepToTheBoxOfEqualScales) {
  for (const bool equal : {false, true}) {
    Graphics g;
    g.figure();
    g.plot(row({0, 10}), row({0, 1}), "b.", 6);
    g.setXLabel(g.gca(), "across");
    g.setYLabel(g.gca(), "up");
    if (equal) g.axis("equal");
    const QSize size(400, 400);
    const QImage image = render(g, kFast, {}, size);
    const QRectF box = layoutof(g, {}, size).plotBox;
    // The lowest ink under the box is the x title; the leftmost, the y title.
    const QRect below = ink(image, dark,
                            QRect(0, static_cast<int>(box.bottom()) + 2, 400,
                                  400 - static_cast<int>(box.bottom()) - 2))
                            .box;
    EXPECT_LT(below.bottom() - box.bottom(), 55) << equal;
    EXPECT_GT(below.bottom(), box.bottom() + 25) << equal;
  }
}

// The points of a flat plot keep clear of its frame: the outermost ones
// stand 12 pixels (of the window) inside it at least, at any scale.
TEST(RenderAxesFrame, PointsKeepAMarginFromTheFrame) {
  for (const bool equal : {false, true}) {
    for (const double scale : {1.0, 2.0}) {
      SCOPED_TRACE(sprintf("equal %i, scale %g", equal ? 1 : 0, scale));
      Graphics g;
      g.figure();
      g.plot(row({-1, 3, 0.5}), row({0, 1, 2.5}), "bo", 6);
      if (equal) g.axis("equal");
      const AxesLayout layout =
          axeslayout(QRectF(0, 0, 400 * scale, 300 * scale), g, g.gca(), {}, scale);
      const QRectF box = layout.plotBox;
      for (const QPointF p : {layout.map(-1, 0), layout.map(3, 1), layout.map(0.5, 2.5)}) {
        EXPECT_GE(p.x() - box.left(), 12 * scale - 1e-9);
        EXPECT_GE(box.right() - p.x(), 12 * scale - 1e-9);
        EXPECT_GE(p.y() - box.top(), 12 * scale - 1e-9);
        EXPECT_GE(box.bottom() - p.y(), 12 * scale - 1e-9);
      }
    }
  }
}

TEST(RenderAxesFrame, ZoomMagnifiesAboutTheCentre) {
  Graphics g;
  g.figure();
  g.plot3(row({0, 1}), row({0, 1}), row({0, 1}), "b.");
  const AxesLayout one = layoutof(g);
  ViewAngles twice;
  twice.zoom = 2;
  const AxesLayout two = layoutof(g, twice);
  const QPointF centre = one.map(0.5, 0.5, 0.5);
  const QPointF d1 = one.map(1, 1, 1) - centre, d2 = two.map(1, 1, 1) - centre;
  EXPECT_LT((two.map(0.5, 0.5, 0.5) - centre).manhattanLength(), 1e-9);
  EXPECT_NEAR(d2.x(), 2 * d1.x(), 1e-9);
  EXPECT_NEAR(d2.y(), 2 * d1.y(), 1e-9);
}

// ------------------------------------------------------------ 3D pictures

// A magenta dot at the origin and a red, green and blue dot one unit along x, y
// and z.
Graphics axesDots() {
  Graphics g;
  g.figure();
  g.plot3(row({0}), row({0}), row({0}), "m.");
  g.hold(true);
  g.plot3(row({1}), row({0}), row({0}), "r.");
  g.plot3(row({0}), row({1}), row({0}), "g.");
  g.plot3(row({0}), row({0}), row({1}), "b.");
  return g;
}

TEST(RenderAxes3d, DefaultViewTurnsTheAxes) {
  const Graphics g = axesDots();
  EXPECT_TRUE(isaxes3d(g, g.object(*g.currentFigure()).children.front()));
  const QImage image = render(g);
  const QRect plot = layoutof(g).plotBox.toRect();
  const QPointF origin = centreof(image, magenta);
  const QPointF x = centreof(image, red), y = centreof(image, green), z = centreof(image, blue);
  EXPECT_TRUE(plot.contains(origin.toPoint()));
  EXPECT_GT(x.x(), origin.x() + 20);  // x: to the right, a little up
  EXPECT_LT(x.y(), origin.y());
  EXPECT_LT(y.x(), origin.x() - 20);  // y: to the left, a little up
  EXPECT_LT(y.y(), origin.y());
  EXPECT_NEAR(z.x(), origin.x(), 1);  // z: straight up
  EXPECT_LT(z.y(), origin.y() - 40);
}

TEST(RenderAxes3d, TopViewIsAMap) {
  const Graphics g = axesDots();
  ViewAngles top;
  top.azimuth = 0;
  top.elevation = 90;
  const QImage image = render(g, kFast, top);
  // Seen from above, the dot on the z axis covers the one at the origin.
  const QPointF origin = centreof(image, blue);
  const QPointF x = centreof(image, red), y = centreof(image, green);
  EXPECT_TRUE(layoutof(g, top).plotBox.contains(origin));
  EXPECT_GT(x.x(), origin.x() + 40);
  EXPECT_NEAR(x.y(), origin.y(), 1);
  EXPECT_NEAR(y.x(), origin.x(), 1);
  EXPECT_LT(y.y(), origin.y() - 40);
}

TEST(RenderAxes3d, PointAtTheDataCentreSitsAtTheProjectedCentre) {
  Graphics g;
  g.figure();
  g.plot3(row({1, 3}), row({-2, 2}), row({10, 30}), "w.");  // invisible, sets the box
  g.hold(true);
  g.plot3(row({2}), row({0}), row({20}), "r*");
  const AxesLayout layout = layoutof(g);
  const QPointF at = layout.map(2, 0, 20);
  // The box centre lies midway between opposite corners on the screen.
  const QPointF mid = (layout.map(1, -2, 10) + layout.map(3, 2, 30)) / 2;
  EXPECT_LT((at - mid).manhattanLength(), 1e-9);
  EXPECT_TRUE(QRectF(100, 50, 200, 200).contains(at));
  const QImage image = render(g);
  EXPECT_TRUE(red(image.pixel(pixel(at))));
  const QRect star = bounds(image, red);  // six pixels across
  EXPECT_GE(star.width(), 5);
  EXPECT_LE(star.width(), 8);
}

TEST(RenderAxes3d, EqualAxesKeepDataUnits) {
  Graphics g;
  g.figure();
  g.plot3(row({0, 10, 0}), row({0, 0, 1}), row({0, 0, 0}), "k.");
  ViewAngles top;
  top.azimuth = 0;
  top.elevation = 90;
  auto ratio = [&] {
    const AxesLayout l = layoutof(g, top);
    const QPointF o = l.map(0, 0, 0);
    return (l.map(10, 0, 0) - o).manhattanLength() / (l.map(0, 1, 0) - o).manhattanLength();
  };
  EXPECT_NEAR(ratio(), 1, 1e-9);  // each axis to its own range: a cube
  g.axis("equal");
  EXPECT_NEAR(ratio(), 10, 1e-9);
}

// ------------------------------------------------------------ drawing order and styles

TEST(RenderAxesOrder, LaterObjectsCoverEarlierOnes) {
  for (const QImage::Format format : {kFast, kVector}) {
    Graphics g;
    g.figure();
    g.plot(row({0, 10}), row({0, 10}), "w.", 6);
    g.hold(true);
    // The same look again after another one must still be drawn on top.
    for (const char* style : {"r.", "r.", "b.", "b.", "r."}) g.plot(row({5}), row({5}), style, 6);
    const QPoint at = pixel(layoutof(g).map(5, 5));
    EXPECT_TRUE(red(render(g, format).pixel(at))) << format;
    g.plot(row({5}), row({5}), "b.", 6);
    EXPECT_TRUE(blue(render(g, format).pixel(at))) << format;
  }
}

TEST(RenderAxesOrder, LineBetweenMarkersOfOneLook) {
  Graphics g;
  g.figure();
  g.plot(row({0, 10}), row({0, 10}), "w.", 6);
  g.hold(true);
  g.plot(row({5}), row({5}), "r.", 6);
  g.plot(row({0, 10}), row({5, 5}), "b-", 6);
  const QPoint at = pixel(layoutof(g).map(5, 5));
  EXPECT_TRUE(blue(render(g).pixel(at)));
  g.plot(row({5}), row({5}), "r.", 6);
  EXPECT_TRUE(red(render(g).pixel(at)));
}

TEST(RenderAxesOrder, RepeatedPointsLookLikeOne) {
  Graphics once, many;
  for (Graphics* g : {&once, &many}) {
    g->figure();
    g->plot3(row({0, 1}), row({0, 1}), row({0, 1}), "w.");
    g->hold(true);
  }
  once.plot3(row({0.5, 0.2}), row({0.5, 0.7}), row({0.5, 0.3}), "bo");
  for (int i = 0; i < 50; ++i) many.plot3(row({0.5, 0.2}), row({0.5, 0.7}), row({0.5, 0.3}), "bo");
  const QImage a = render(once), b = render(many);
  EXPECT_GE(count(a, blue), 8);
  EXPECT_EQ(a, b);
}

TEST(RenderAxesStyle, MarkerShapes) {
  auto picture = [](const char* style, double size) {
    Graphics g;
    g.figure();
    g.plot(row({5}), row({5}), style, size);
    QImage image = render(g);
    return std::make_pair(image, pixel(layoutof(g).map(5, 5)));
  };
  for (const char marker : std::string_view(".ox+*sdv^<>ph")) {
    const std::string style = std::string("b") + marker;
    const auto [image, at] = picture(style.c_str(), 12);
    const QRect r = bounds(image, blue);
    const int least = marker == '.' ? 3 : 10;
    EXPECT_GE(std::max(r.width(), r.height()), least) << marker;
    EXPECT_LE(std::max(r.width(), r.height()), 17) << marker;
    EXPECT_LE(std::abs(r.center().x() - at.x()) + std::abs(r.center().y() - at.y()), 2) << marker;
  }
  const auto [ring, ringAt] = picture("bo", 12);
  EXPECT_TRUE(white(ring.pixel(ringAt)));
  const auto [cross, crossAt] = picture("b+", 12);
  EXPECT_TRUE(blue(cross.pixel(crossAt)));
  EXPECT_TRUE(white(cross.pixel(crossAt + QPoint(3, 3))));
  const auto [square, squareAt] = picture("bs", 12);
  EXPECT_FALSE(white(square.pixel(squareAt + QPoint(6, 6))));
  EXPECT_TRUE(white(ring.pixel(ringAt + QPoint(6, 6))));
  // Triangles point where they say: the half with the base holds more of the outline.
  const std::vector<std::pair<const char*, QPoint>> triangles{
      {"b^", QPoint(0, -1)}, {"bv", QPoint(0, 1)}, {"b<", QPoint(-1, 0)}, {"b>", QPoint(1, 0)}};
  for (const auto& [marker, tip] : triangles) {
    const auto [image, at] = picture(marker, 12);
    const QRect box(at - QPoint(8, 8), QSize(17, 17));
    EXPECT_LT(count(image, blue, box & box.translated(tip * 9)),
              count(image, blue, box & box.translated(-tip * 9)))
        << marker;
  }
  const QRect small = bounds(picture("bo", 6).first, blue);
  const QRect large = bounds(picture("bo", 12).first, blue);
  EXPECT_GE(large.width(), small.width() + 5);
}

TEST(RenderAxesStyle, DottedLineBetweenItsEnds) {
  auto along = [](const char* style) {
    Graphics g;
    g.figure();
    g.plot(row({0, 10}), row({0, 10}), style, 6);
    const AxesLayout layout = layoutof(g);
    const QImage image = render(g);
    int near = 0, inked = 0;
    // Densely, so that the samples never fall in step with the dots.
    for (int i = 50; i <= 950; ++i) {
      const QPoint p = pixel(layout.map(i / 100.0, i / 100.0));
      ++near;
      bool any = false;
      for (int dy = -1; dy <= 1; ++dy) any = any || dark(image.pixel(p + QPoint(0, dy)));
      inked += any ? 1 : 0;
    }
    const QPoint off = pixel(layout.map(7, 3));
    EXPECT_TRUE(white(image.pixel(off))) << style;
    return static_cast<double>(inked) / near;
  };
  const double dotted = along("k:");
  EXPECT_GT(dotted, 0.25);
  EXPECT_LT(dotted, 0.85);
  EXPECT_GT(along("k-"), 0.95);
  EXPECT_GT(along("k"), 0.95);  // a colour alone is a solid line
}

TEST(RenderAxesStyle, PointsThatAreNotNumbersAreSkipped) {
  Graphics g;
  g.figure();
  g.plot(row({2, kNaN, 8, 4, 6}), row({2, 5, 8, kNaN, 3}), "b.", 12);
  const AxesLayout limits = layoutof(g);
  EXPECT_TRUE(limits.lower.head<2>().isApprox(Eigen::Vector2d(2, 2)));
  EXPECT_TRUE(limits.upper.head<2>().isApprox(Eigen::Vector2d(8, 8)));
  g.hold(true);
  g.plot(row({0, 10}), row({0, 10}), "w.", 6);  // the dots away from the frame
  const AxesLayout layout = layoutof(g);
  const QImage image = render(g);
  // Three dots drawn, no more: every dot has the same pixels.
  const QRect around(pixel(layout.map(6, 3)) - QPoint(6, 6), QSize(13, 13));
  EXPECT_GE(count(image, blue, around), 4);
  EXPECT_EQ(count(image, blue), 3 * count(image, blue, around));
  EXPECT_TRUE(blue(image.pixel(pixel(layout.map(2, 2)))));
  EXPECT_TRUE(white(image.pixel(pixel(layout.map(4, 5)))));
}

TEST(RenderAxesStyle, LineBreaksAtAMissingPoint) {
  Graphics g;
  g.figure();
  g.plot(row({0, 4, kNaN, 6, 10}), row({0, 0, kNaN, 0, 0}), "b-", 6);
  const AxesLayout layout = layoutof(g);
  const QImage image = render(g);
  EXPECT_TRUE(blue(image.pixel(pixel(layout.map(2, 0)))));
  EXPECT_TRUE(blue(image.pixel(pixel(layout.map(8, 0)))));
  EXPECT_TRUE(white(image.pixel(pixel(layout.map(5, 0)))));
}

// ------------------------------------------------------------ devices

TEST(RenderAxesDevices, StampedAndVectorPicturesAgree) {
  Graphics g;
  g.figure();
  const Eigen::RowVectorXd x = row({1, 2, 3, 4, 5, 6}), y = row({3, 1, 4, 1, 5, 9});
  g.plot(row({0, 7}), row({0, 10}), "w.", 6);
  g.hold(true);
  g.plot(x, y, "k+", 8);
  g.plot(x.array() + 0.5, y, "rs", 8);
  const AxesLayout layout = layoutof(g);
  const QImage fast = render(g, kFast), vector = render(g, kVector);
  for (Eigen::Index i = 0; i < x.size(); ++i) {
    const QPoint at = pixel(layout.map(x(i), y(i)));
    EXPECT_TRUE(dark(fast.pixel(at)) && dark(vector.pixel(at))) << i;
    const QPoint inSquare = pixel(layout.map(x(i) + 0.5, y(i)));
    EXPECT_TRUE(white(fast.pixel(inSquare)) && white(vector.pixel(inSquare))) << i;
  }
  const int inkFast = count(fast, [](QRgb c) { return !white(c); });
  const int inkVector = count(vector, [](QRgb c) { return !white(c); });
  EXPECT_NEAR(inkFast, inkVector, 0.05 * inkVector);
  EXPECT_GT(count(vector, red), 6 * 20);
  EXPECT_NEAR(count(fast, red), count(vector, red), 0.05 * count(vector, red));
}

TEST(RenderAxesDevices, StaysInsideItsArea) {
  Graphics g;
  g.figure();
  g.plot3(row({0, 1, 0.5, 0.99}), row({0, 1, 0.5, 0.01}), row({0, 1, 0.5, 0.5}), "bo-");
  ViewAngles near;
  near.zoom = 4;
  for (const QImage::Format format : {kFast, kVector}) {
    QImage image(400, 300, format);
    image.fill(Qt::magenta);
    const QRect area(100, 80, 200, 120);
    QPainter painter(&image);
    renderaxes(painter, QRectF(area), g, g.gca(), near);
    painter.end();
    const int untouched = count(image, [](QRgb c) { return c == QColor(Qt::magenta).rgb(); });
    EXPECT_EQ(untouched, 400 * 300 - area.width() * area.height()) << format;
    EXPECT_GT(count(image, blue, area), 10) << format;
  }
}

TEST(RenderAxesDevices, TwiceTheScaleLooksTheSameAtTwiceTheSize) {
  Graphics g;
  g.figure();
  g.plot3(row({0, 1}), row({0, 1}), row({0, 1}), "ro");
  for (const QImage::Format format : {kFast, kVector}) {
    QImage once(400, 300, format), twice(800, 600, format);
    {
      QPainter painter(&once);
      renderaxes(painter, QRectF(once.rect()), g, g.gca(), ViewAngles{}, 1);
    }
    {
      QPainter painter(&twice);
      renderaxes(painter, QRectF(twice.rect()), g, g.gca(), ViewAngles{}, 2);
    }
    // Every marker, outline and number covers four times the pixels, in the
    // same place relative to the picture.
    const Ink small = ink(once, red), large = ink(twice, red);
    EXPECT_NEAR(large.count, 4 * small.count, 1.2 * small.count) << format;
    EXPECT_NEAR(QRectF(large.box).center().x(), 2 * QRectF(small.box).center().x(), 4);
    EXPECT_NEAR(QRectF(large.box).center().y(), 2 * QRectF(small.box).center().y(), 4);
    EXPECT_NEAR(count(twice, dark), 4 * count(once, dark), 1.2 * count(once, dark)) << format;
  }
}

TEST(RenderAxesDevices, PainterStateIsKept) {
  Graphics g;
  g.figure();
  g.plot3(row({0, 1}), row({0, 1}), row({0, 1}), "bo-");
  QImage image(200, 150, kFast);
  QPainter painter(&image);
  painter.setPen(QPen(Qt::green, 3));
  painter.setBrush(Qt::red);
  QFont font = painter.font();
  font.setPixelSize(23);
  painter.setFont(font);
  renderaxes(painter, QRectF(image.rect()), g, g.gca(), ViewAngles{});
  EXPECT_EQ(painter.pen(), QPen(Qt::green, 3));
  EXPECT_EQ(painter.brush(), QBrush(Qt::red));
  EXPECT_EQ(painter.font().pixelSize(), 23);
  EXPECT_FALSE(painter.testRenderHint(QPainter::Antialiasing));
  EXPECT_FALSE(painter.hasClipping());
}

// The SVG text of the three points (1, 1), (2, 3), (3, 2) plotted once in
// each style, in that order.
QString svgof(const std::vector<const char*>& styles) {
  Graphics g;
  g.figure();
  g.hold(true);
  for (const char* style : styles) g.plot(row({1, 2, 3}), row({1, 3, 2}), style, 6);
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(QSize(400, 300));
  generator.setViewBox(QRect(0, 0, 400, 300));
  QPainter painter(&generator);
  renderaxes(painter, QRectF(0, 0, 400, 300), g, g.gca(), ViewAngles{});
  painter.end();
  return QString::fromUtf8(buffer.data());
}

int circlesin(const QString& svg) {
  return static_cast<int>(svg.count(QStringLiteral("<circle")) +
                          svg.count(QStringLiteral("<ellipse")));
}

TEST(RenderAxesDevices, SvgHoldsOneShapePerMarker) {
  const QString circles = svgof({"bo"});
  EXPECT_EQ(circlesin(circles), 3);
  EXPECT_TRUE(circles.contains(QStringLiteral("#0000ff")));
  EXPECT_TRUE(circles.contains(QStringLiteral(">2</text>")));  // a tick number
  const QString dotted = svgof({"k:"});
  EXPECT_EQ(circlesin(dotted), 0);
  EXPECT_TRUE(dotted.contains(QStringLiteral("stroke-dasharray")));
}

TEST(RenderAxesDevices, SvgDrawsAMarkerOncePerPixelWithinARunOfOneLook) {
  // The same three points once per style: specimens that coincide.
  auto circles = [](const std::vector<const char*>& styles) { return circlesin(svgof(styles)); };
  EXPECT_EQ(circles({"bo", "bo", "bo"}), 3);
  // A run of another look in between: the blue markers must come back on top.
  EXPECT_EQ(circles({"bo", "ro", "bo"}), 9);
}

// ------------------------------------------------------------ legend, title and look

// Plotted objects as the workflows name them.
struct Named {
  const char* style;
  const char* name;
};

// The role a workflow gives objects of that name; other for the rest.
PlotRole roleOf(std::string_view name) {
  return testing::roleOfLegend(name).value_or(PlotRole::other);
}

// Each object one point at (5, 5) in a frame from 0 to 10 (in 3D with z = 5).
Graphics named(const std::vector<Named>& objects, bool in3d = false, double size = 6) {
  Graphics g;
  g.figure();
  if (in3d) {
    g.plot3(row({0, 10}), row({0, 10}), row({0, 10}), "w.");
  } else {
    g.plot(row({0, 10}), row({0, 10}), "w.", 6);
  }
  g.hold(true);
  for (const Named& o : objects) {
    if (in3d) {
      g.plot3(row({5}), row({5}), row({5}), o.style, o.name, roleOf(o.name));
      g.set(g.object(g.gca()).children.back(), "MarkerSize", size);
    } else {
      g.plot(row({5}), row({5}), o.style, size, o.name, roleOf(o.name));
    }
  }
  return g;
}

const PlotLook kChosen{1, 1, false, 1, true};

TEST(RenderAxesLegend, OneEntryPerNameInDrawingOrder) {
  struct Case {
    std::vector<Named> plotted;
    std::vector<LegendEntry> expected;
  };
  const std::vector<Case> cases{
      {{{"bo", ""}, {"r*", ""}}, {}},
      // By layer: specimens, others, standardized, wireframe, means.
      {{{"b<", "mean shape"},
        {"bo", "specimens, superimposed"},
        {"k:", "wireframe"},
        {"bo", "specimens, superimposed"},
        {"rs", "standardized specimens"},
        {"ks", "mean of standardized"},
        {"m.", ""},
        {"gx", "outliers"}},
       {{"specimens, superimposed", "bo", 6},
        {"outliers", "gx", 6},
        {"standardized specimens", "rs", 6},
        {"wireframe", "k:", 6},
        {"mean shape", "b<", 6},
        {"mean of standardized", "ks", 6}}},
      // A name seen again keeps its first place and its first look.
      {{{"bo", "a"}, {"rs", "b"}, {"k*", "a"}}, {{"a", "bo", 6}, {"b", "rs", 6}}},
      // The sets as saved and the allometry plot's.
      {{{"ks", "mean of standardized, as saved"},
        {"rs", "standardized specimens, as saved"},
        {"r-", "fitted line"},
        {"bo", "specimens"}},
       {{"fitted line", "r-", 6},
        {"specimens", "bo", 6},
        {"standardized specimens, as saved", "rs", 6},
        {"mean of standardized, as saved", "ks", 6}}},
  };
  for (const Case& c : cases) {
    Graphics g = named(c.plotted);
    EXPECT_EQ(legendentries(g, g.gca()), c.expected) << c.plotted.size();
  }
}

// The drawing order follows the role whoever plotted an object gave it,
// whatever the object is called.
TEST(RenderAxesLegend, OrderComesFromTheRoleNotTheName) {
  Graphics g;
  g.figure();
  g.plot(row({0, 10}), row({0, 10}), "w.", 6);
  g.hold(true);
  g.plot(row({5}), row({5}), "b*", 6, "mean shape", PlotRole::other);
  g.plot(row({5}), row({5}), "ks", 6, "a", PlotRole::mean);
  g.plot(row({5}), row({5}), "ro", 6, "b", PlotRole::specimens);
  const std::vector<LegendEntry> expected{{"b", "ro", 6}, {"mean shape", "b*", 6}, {"a", "ks", 6}};
  EXPECT_EQ(legendentries(g, g.gca()), expected);
}

TEST(RenderAxesLegend, LegendWhereTheLayoutSaysAndTitleAboveOnEveryDevice) {
  for (const bool in3d : {false, true}) {
    Graphics g = named({{"bo", "specimens, superimposed"}, {"r*", "mean shape"}}, in3d);
    const Graphics plain = named({{"bo", ""}, {"r*", ""}}, in3d);
    const QRect corner = layoutof(g).legendBox.toAlignedRect();
    ASSERT_FALSE(corner.isEmpty()) << in3d;
    EXPECT_TRUE(layoutof(plain).legendBox.isEmpty()) << in3d;
    const int withLegend = count(render(g), dark, corner);
    EXPECT_GT(withLegend, count(render(plain), dark, corner) + 40) << in3d;
    EXPECT_NEAR(count(render(g, kVector), dark, corner), withLegend, 0.1 * withLegend) << in3d;
    // Its samples in the style's colours.
    auto bluish = [](QRgb c) { return qBlue(c) > qRed(c) + 60; };
    auto reddish = [](QRgb c) { return qRed(c) > qBlue(c) + 60; };
    EXPECT_GT(count(render(g), bluish, corner), 6) << in3d;
    EXPECT_GT(count(render(g), reddish, corner), 4) << in3d;

    const QRect top(120, 0, 80, 14);
    EXPECT_EQ(count(render(g), dark, top), 0) << in3d;
    g.set(g.gca(), "Title", std::string("skulls.txt: 40 specimens"));
    const QImage titled = render(g);
    EXPECT_GT(count(titled, dark, top), 30) << in3d;
    // Outside the plot, under the title.
    if (in3d) {
      EXPECT_GE(layoutof(g).legendBox.top(), 14);
    }
    EXPECT_GE(layoutof(g).map(5, 5, 5).y(), layoutof(plain).map(5, 5, 5).y()) << in3d;
  }
}

// A legend of many groups stands in columns; when even they cannot hold
// every group, the last place says how many are left out.
TEST(RenderAxesLegend, ManyGroupsStandInColumnsOrAreCounted) {
  const struct {
    int groups;
    QSize size;
    double scale;
    bool all;  // every group named
  } cases[] = {
      {5, {400, 300}, 1, true},    {40, {400, 300}, 1, true},   {40, {800, 600}, 2, true},
      {300, {400, 300}, 1, false}, {300, {800, 600}, 2, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(sprintf("%i groups at scale %g", c.groups, c.scale));
    Graphics g;
    g.figure();
    g.hold(true);
    std::vector<std::string> names;
    for (int i = 1; i <= c.groups; ++i) {
      names.push_back(sprintf("group %i", i));
      g.plot(row({static_cast<double>(i)}), row({0}), "bo", 6, names.back());
    }
    const std::vector<std::string> shown =
        legendshown(QRectF(QPoint(0, 0), c.size), g, g.gca(), c.scale);
    if (c.all) {
      EXPECT_EQ(shown, names);
      continue;
    }
    ASSERT_GT(shown.size(), 1u);
    const size_t named = shown.size() - 1;
    EXPECT_EQ(shown.back(), sprintf("and %i more", c.groups - static_cast<int>(named)));
    EXPECT_EQ(std::vector<std::string>(shown.begin(), shown.end() - 1),
              std::vector<std::string>(names.begin(), names.begin() + static_cast<long>(named)));
    // More than one column holds: a column is at most the area's height.
    EXPECT_GT(static_cast<double>(named) * 12 * c.scale, c.size.height());
  }
}

// A long title is set smaller rather than cut, as far as 0.6 of its size
// allows: the 2D window's narrow plot names its file and what it shows.
TEST(RenderAxesTitle, ALongTitleIsSetSmallerToFitWhole) {
  QImage image(10, 10, kFast);
  QPainter painter(&image);
  const std::string title = "skulls2d_superimposed.txt: standardized to log10 x = 1.2605";
  for (const double scale : {1.0, 2.0}) {
    const QFont full = axesdrawing::titlefont(painter, title, 1e6, scale);
    const double width =
        QFontMetricsF(full, painter.device()).horizontalAdvance(QString::fromStdString(title));
    for (const double share : {1.0, 0.9, 0.75, 0.65}) {
      SCOPED_TRACE(sprintf("scale %g, %g of its width", scale, share));
      const QFont font = axesdrawing::titlefont(painter, title, share * width, scale);
      EXPECT_LE(
          QFontMetricsF(font, painter.device()).horizontalAdvance(QString::fromStdString(title)),
          share * width);
      EXPECT_EQ(font.pixelSize() == full.pixelSize(), share == 1.0);
    }
  }
}

TEST(RenderAxesLegend, PicturesShowTheLegend) {
  Graphics g = named({{"b<", "mean shape"}});
  const Graphics plain = named({{"b<", ""}});
  const std::vector<PictureArea> areas{{g.gca(), QRectF(0, 0, 400, 300), ViewAngles{}}};
  const QImage png = QImage::fromData(figurepicture(g, areas, QSize(400, 300), PictureFormat::png));
  const QImage bare =
      QImage::fromData(figurepicture(plain, areas, QSize(400, 300), PictureFormat::png));
  ASSERT_EQ(png.size(), QSize(800, 600));
  const QRect corner =
      axeslayout(QRectF(0, 0, 800, 600), g, g.gca(), {}, 2).legendBox.toAlignedRect();
  ASSERT_FALSE(corner.isEmpty());
  EXPECT_GT(count(png, dark, corner), count(bare, dark, corner) + 100);
  const QByteArray svg = figurepicture(g, areas, QSize(400, 300), PictureFormat::svg);
  EXPECT_TRUE(svg.contains(">mean shape</text>"));
}

TEST(RenderAxesLook, MeansCoverSpecimensWhateverTheModelOrder) {
  for (const QImage::Format format : {kFast, kVector}) {
    const Graphics g = named({{"r.", "mean shape"},
                              {"g.", "wireframe"},
                              {"k.", "standardized specimens"},
                              {"b.", "specimens, superimposed"}},
                             false, 12);
    EXPECT_TRUE(red(render(g, format).pixel(pixel(layoutof(g).map(5, 5))))) << format;
  }
}

// A chosen opacity fades every specimen set; the lighter default look of a
// large data set (6,000 more points) fades the raw specimens only, never the
// standardized ones, which are the result.
TEST(RenderAxesLook, OpacityFadesTheSpecimensOnly) {
  struct Case {
    const char* name;
    double opacity;  // chosen; 0: the default look, on a large data set
    int red;         // of the blue point drawn over white
  };
  const std::vector<Case> cases{{"specimens, superimposed", 0.5, 128},
                                {"standardized specimens, as saved", 0.5, 128},
                                {"", 0.5, 128},
                                {"mean shape", 0.5, 0},
                                {"specimens, superimposed", 1, 0},
                                {"specimens, superimposed", 0, 166},
                                {"standardized specimens", 0, 0}};
  for (const Case& c : cases) {
    Graphics g = named({{"b.", c.name}}, false, 12);
    PlotLook look = kChosen;
    look.opacity = c.opacity;
    if (c.opacity == 0) {
      look = PlotLook{};
      g.plot(Eigen::RowVectorXd::Zero(6000), Eigen::RowVectorXd::Zero(6000), "k.", 6, "far away");
    }
    const QPoint at = pixel(layoutof(g).map(5, 5));
    for (const QImage::Format format : {kFast, kVector}) {
      const QRgb colour = render(g, format, {}, QSize(400, 300), look).pixel(at);
      EXPECT_EQ(qBlue(colour), 255) << c.name << format;
      EXPECT_NEAR(qRed(colour), c.red, 3) << c.name << c.opacity << format;
    }
  }
}

TEST(RenderAxesLook, StampedAndVectorPicturesAgreeWhenFaded) {
  Graphics g;
  g.figure();
  g.plot(row({0, 7}), row({0, 10}), "w.", 6);
  g.hold(true);
  g.plot(row({1, 2, 3, 4, 5, 6}), row({3, 1, 4, 1, 5, 9}), "ro", 8, "specimens, superimposed",
         roleOf("specimens, superimposed"));
  PlotLook look = kChosen;
  look.opacity = 0.3;
  const QImage fast = render(g, kFast, {}, QSize(400, 300), look);
  const QImage vector = render(g, kVector, {}, QSize(400, 300), look);
  auto pink = [](QRgb c) { return qRed(c) > 240 && qGreen(c) < 235 && qGreen(c) > 120; };
  EXPECT_GT(count(vector, pink), 6 * 15);
  EXPECT_NEAR(count(fast, pink), count(vector, pink), 0.1 * count(vector, pink));
  EXPECT_NEAR(count(fast, red), count(vector, red), 3);  // the legend's sample only
}

TEST(RenderAxesLook, MarkerScaleGrowsEveryMarker) {
  const Graphics g = named({{"bo", "mean shape"}});
  PlotLook look = kChosen;
  const QRect around(pixel(layoutof(g).map(5, 5)) - QPoint(20, 20), QSize(41, 41));
  const int normal = ink(render(g, kFast, {}, QSize(400, 300), look), blue, around).box.width();
  look.markerScale = 2;
  const int twice = ink(render(g, kFast, {}, QSize(400, 300), look), blue, around).box.width();
  EXPECT_NEAR(twice, 2 * normal, 2);
}

// A specimen chosen in a report stands out: drawn over the others, its
// landmarks numbered without being asked, and the specimen sets fade
// behind it; means stay as they are.
// A chosen specimen, and a shape change shown, stand out: the specimens
// fade behind them; only a chosen specimen's landmarks are numbered.
TEST(RenderAxesLook, AChosenSpecimenIsNumberedAndTheOthersFade) {
  const struct {
    PlotRole role;
    bool numbered;
  } standingOut[] = {
      {PlotRole::chosen, true}, {PlotRole::changeTarget, false}, {PlotRole::changeMean, false}};
  for (const auto& out : standingOut) {
    for (const bool in3d : {false, true}) {
      const Eigen::RowVectorXd x = row({2, 8}), y = row({8, 2});
      // The same objects, the red ones chosen or merely named.
      auto plotted = [&](PlotRole role) {
        Graphics g = named({{"b.", "specimens, superimposed"}, {"b.", "mean shape"}}, in3d, 12);
        g.plot(row({5}), row({9}), "b.", 12, "specimens, superimposed", PlotRole::specimens);
        if (in3d) {
          g.plot3(x, y, y, "ro", "12", role);
        } else {
          for (Eigen::Index i = 0; i < 2; ++i) {
            g.plot(x.segment(i, 1), y.segment(i, 1), "ro", 6, "12", role);
          }
        }
        return g;
      };
      const Graphics named = plotted(PlotRole::other), chosen = plotted(out.role);
      const AxesLayout layout = layoutof(chosen);
      // A flat object in a 3D axes lies at z = 0.
      const QPoint mean = pixel(layout.map(5, 5, 5)), lone = pixel(layout.map(5, 9, 0));
      for (const QImage::Format format : {kFast, kVector}) {
        const QImage before = render(named, format, {}, QSize(400, 300), kChosen);
        const QImage after = render(chosen, format, {}, QSize(400, 300), kChosen);
        EXPECT_EQ(after.pixel(mean), before.pixel(mean)) << "a mean stays solid";
        EXPECT_EQ(qRed(before.pixel(lone)), 0);
        EXPECT_NEAR(qRed(after.pixel(lone)), 204, 3) << "a specimen fades to a fifth";
        EXPECT_EQ(qBlue(after.pixel(lone)), 255);
        for (Eigen::Index i = 0; i < 2; ++i) {
          const QPoint point = pixel(layout.map(x(i), y(i), y(i)));
          const QRect beside(point + QPoint(4, -24), QSize(20, 20));
          if (out.numbered) {
            EXPECT_GT(count(after, dark, beside), count(before, dark, beside) + 5) << in3d << i;
          } else {
            EXPECT_EQ(count(after, dark, beside), count(before, dark, beside)) << in3d << i;
          }
        }
      }
    }
  }
}

TEST(RenderAxesLook, MeansGetTheirLandmarkNumbers) {
  // 2D: one object per landmark; 3D: one object holds every landmark.
  for (const bool in3d : {false, true}) {
    Graphics g;
    g.figure();
    const Eigen::RowVectorXd x = row({100, 200, 300}), y = row({100, 300, 200});
    g.hold(true);
    if (in3d) {
      g.plot3(x, y, y, "b*", "mean shape", roleOf("mean shape"));
    } else {
      for (Eigen::Index i = 0; i < 3; ++i) {
        g.plot(x.segment(i, 1), y.segment(i, 1), "b<", 6, "mean shape", roleOf("mean shape"));
      }
    }
    // No numbers; the specimens reach farther than the means, whose
    // numbers then stand clear of the frame.
    g.plot(row({0, 100, 200, 300, 400}), row({0, 100, 300, 200, 400}), "bo", 6,
           "specimens, superimposed", roleOf("specimens, superimposed"));
    PlotLook look = kChosen;
    const QImage bare = render(g, kFast, {}, QSize(400, 300), look);
    look.numberMeans = true;
    const QImage numbered = render(g, kFast, {}, QSize(400, 300), look);
    const AxesLayout layout = layoutof(g);
    for (Eigen::Index i = 0; i < 3; ++i) {
      const QPoint at = pixel(layout.map(x(i), y(i), y(i)));
      const QRect beside(at + QPoint(3, -16), QSize(12, 14));
      EXPECT_GT(count(numbered, dark, beside), count(bare, dark, beside) + 5) << in3d << i;
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    {
      QPainter painter(&svg);
      renderaxes(painter, QRectF(0, 0, 400, 300), g, g.gca(), {}, 1, look);
    }
    for (const char* number : {">1</text>", ">2</text>", ">3</text>"}) {
      EXPECT_EQ(buffer.data().count(number), 1) << in3d << number;
    }
  }
}

TEST(RenderAxesLook, BigDataLooksLighterUntilTheUserChooses) {
  struct Case {
    PlotLook chosen;
    size_t points;
    PlotLook expected;
  };
  const std::vector<Case> cases{
      {{}, 200, {}},
      {{}, 12000, {1, 0.35, false, 0.6, false}},
      {{1.5, 1, true, 1, false}, 500000, {1.5, 0.35, true, 0.6, false}},
      {{2, 1, false, 1, true}, 500000, {2, 1, false, 1, true}},
      {{10, 0, false, 1, true}, 10, {4, 0.05, false, 1, true}},
  };
  for (const Case& c : cases) {
    const PlotLook shown = effectivelook(c.chosen, c.points);
    EXPECT_DOUBLE_EQ(shown.markerScale, c.expected.markerScale) << c.points;
    EXPECT_DOUBLE_EQ(shown.opacity, c.expected.opacity) << c.points;
    EXPECT_DOUBLE_EQ(shown.specimenScale, c.expected.specimenScale) << c.points;
    EXPECT_EQ(shown.numberMeans, c.expected.numberMeans) << c.points;
    EXPECT_EQ(shown.chosen, c.expected.chosen) << c.points;
  }
}

// Where the legend went, told from its box and the plot's.
enum class LegendAt { topRight, topLeft, bottomRight, bottomLeft, outside };

LegendAt legendplace(const AxesLayout& layout) {
  const QRectF& box = layout.legendBox;
  if (layout.is3d || !layout.plotBox.contains(box)) return LegendAt::outside;
  const bool right = box.center().x() > layout.plotBox.center().x();
  const bool top = box.center().y() < layout.plotBox.center().y();
  if (top) return right ? LegendAt::topRight : LegendAt::topLeft;
  return right ? LegendAt::bottomRight : LegendAt::bottomLeft;
}

// The legend never covers data: its box holds no marker and no line, on the
// screen and in a picture at twice the size; where it goes follows the data.
TEST(RenderAxesLegend, NeverCoversTheData) {
  struct Case {
    const char* what;
    std::vector<double> x, y;  // the specimens, blue dots
    bool fittedLine;           // and a line from (0, 0) to (10, 10)
    bool in3d;
    bool axisEqual;
    LegendAt expected;
  };
  const std::vector<Case> cases{
      {"an L along the left and the bottom",
       {0, 0, 0, 5, 10},
       {10, 5, 0, 0, 0},
       false,
       false,
       false,
       LegendAt::topRight},
      {"a rising diagonal",
       {0, 2, 4, 6, 8, 10},
       {0, 2, 4, 6, 8, 10},
       false,
       false,
       false,
       LegendAt::topLeft},
      {"a falling diagonal",
       {0, 2, 4, 6, 8, 10},
       {10, 8, 6, 4, 2, 0},
       false,
       false,
       true,
       LegendAt::topRight},
      {"a fitted line and points top left",
       {0, 1, 2},
       {10, 9, 10},
       true,
       false,
       false,
       LegendAt::bottomRight},
      {"every corner taken",
       {0, 0, 10, 10, 5},
       {0, 10, 0, 10, 5},
       false,
       false,
       false,
       LegendAt::outside},
      {"every corner taken, equal axes",
       {0, 0, 10, 10, 5},
       {0, 10, 0, 10, 5},
       false,
       false,
       true,
       LegendAt::outside},
      {"in 3D", {0, 0, 10, 10, 5}, {0, 10, 0, 10, 5}, false, true, true, LegendAt::outside},
  };
  for (const Case& c : cases) {
    Graphics g;
    g.figure();
    g.hold(true);
    const Eigen::Map<const Eigen::RowVectorXd> x(c.x.data(), static_cast<Eigen::Index>(c.x.size()));
    const Eigen::Map<const Eigen::RowVectorXd> y(c.y.data(), static_cast<Eigen::Index>(c.y.size()));
    if (c.in3d) {
      g.plot3(x, y, y, "b.", "specimens, superimposed", roleOf("specimens, superimposed"));
    } else {
      g.plot(x, y, "b.", 6, "specimens, superimposed", roleOf("specimens, superimposed"));
      if (c.fittedLine)
        g.plot(row({0, 10}), row({0, 10}), "r-", 6, "fitted line", roleOf("fitted line"));
    }
    if (c.axisEqual) g.axis("equal");
    g.set(g.gca(), "Title", std::string("skulls.txt"));
    for (const double scale : {1.0, 2.0}) {
      const QSize size = QSize(400, 300) * scale;
      const AxesLayout layout = axeslayout(QRectF(QPointF(0, 0), size), g, g.gca(), {}, scale);
      const QRectF box = layout.legendBox;
      ASSERT_FALSE(box.isEmpty()) << c.what << scale;
      EXPECT_TRUE(QRectF(QPointF(0, 0), size).contains(box)) << c.what << scale;
      EXPECT_EQ(legendplace(layout), c.expected) << c.what << scale;
      // Each point, with the room its marker takes, stays out of the legend.
      const QImage picture =
          QImage::fromData(figurepicture(g, {{g.gca(), QRectF(0, 0, 400, 300), ViewAngles{}}},
                                         QSize(400, 300), PictureFormat::png))
              .scaled(size);
      const QImage shown = scale == 1 ? render(g) : picture;
      for (size_t i = 0; i < c.x.size(); ++i) {
        const QPointF at = layout.map(c.x[i], c.y[i], c.y[i]);
        EXPECT_FALSE(box.adjusted(-4 * scale, -4 * scale, 4 * scale, 4 * scale).contains(at))
            << c.what << scale << " point " << i;
        EXPECT_TRUE(blue(shown.pixel(pixel(at)))) << c.what << scale << " point " << i;
      }
      if (c.fittedLine) {
        const QPointF from = layout.map(0, 0), to = layout.map(10, 10);
        for (double t = 0; t <= 1; t += 0.01) {
          EXPECT_FALSE(box.contains(from + (to - from) * t)) << c.what << scale << " at " << t;
        }
      }
    }
  }
}

// The means are found among the specimens: larger than a specimen drawn
// with the same marker size, in their own colour, on every device.
TEST(RenderAxesLook, MeansAreDrawnLargerInTheirOwnColour) {
  struct Case {
    const char* style;
    const char* mean;
    std::function<bool(QRgb)> colour;
    bool in3d;
  };
  const std::vector<Case> cases{{"b*", "mean shape", blue, true},
                                {"r*", "mean of standardized", red, true},
                                {"b<", "mean shape", blue, false},
                                {"ks", "mean of standardized, as saved", dark, false}};
  for (const Case& c : cases) {
    for (const QImage::Format format : {kFast, kVector}) {
      auto widthOf = [&](const char* name) {
        Graphics g = named({{c.style, name}}, c.in3d, c.in3d ? 6 : 3);
        const QRect around(pixel(layoutof(g).map(5, 5, 5)) - QPoint(20, 20), QSize(41, 41));
        return ink(render(g, format, {}, QSize(400, 300), kChosen), c.colour, around).box.width();
      };
      const int specimen = widthOf("specimens, superimposed");
      const int mean = widthOf(c.mean);
      EXPECT_GT(specimen, 0) << c.mean << format;
      EXPECT_GE(mean, 1.5 * specimen) << c.mean << c.style << format;
    }
  }
}

}  // namespace
}  // namespace tarvolin
