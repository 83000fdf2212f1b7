// Speed of drawing one axes into an 800 x 600 image: 1,000 superimposed
// specimens of 500 landmarks each, one plotted object per specimen, the way
// the plot of a superimposed data set looks (every landmark a small cloud of
// 1,000 overlapping markers). Goal on a two-core machine: 50 ms or less for
// the 3D picture of blue circles in the default view.

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <numbers>
#include <random>

#include "desktop/figurepicture.h"
#include "desktop/renderaxes.h"

namespace tarvolin::bench {
namespace {

constexpr int kObjects = 1000;
constexpr int kPoints = 500;

// A mean shape of points on an egg-shaped surface (a skull seen from afar),
// and every specimen that shape plus independent noise of 2 % of its size.
// With `eachPoint`, every point is its own plotted object of marker size 3,
// as the 2D workflow draws a data set.
Graphics superimposed(std::string_view style, bool in3d, bool eachPoint = false) {
  std::mt19937 random(20240611);
  std::normal_distribution<double> noise(0, 2);
  Eigen::Matrix3Xd mean(3, kPoints);
  for (int j = 0; j < kPoints; ++j) {
    const double polar = std::acos(1 - 2 * (j + 0.5) / kPoints);
    const double around = j * std::numbers::pi * (3 - std::sqrt(5.0));
    mean(0, j) = 100 * std::sin(polar) * std::cos(around);
    mean(1, j) = 75 * std::sin(polar) * std::sin(around);
    mean(2, j) = 65 * std::cos(polar) + 10 * std::sin(polar) * std::cos(around);
  }
  Graphics graphics;
  graphics.figure();
  Eigen::RowVectorXd x(kPoints), y(kPoints), z(kPoints);
  for (int s = 0; s < kObjects; ++s) {
    for (int j = 0; j < kPoints; ++j) {
      x(j) = mean(0, j) + noise(random);
      y(j) = mean(1, j) + noise(random);
      z(j) = mean(2, j) + noise(random);
    }
    if (eachPoint) {
      for (int j = 0; j < kPoints; ++j) {
        graphics.plot(x.segment(j, 1), y.segment(j, 1), style, 3);
      }
    } else if (in3d) {
      graphics.plot3(x, y, z, style);
    } else {
      graphics.plot(x, y, style, 6);
    }
    graphics.hold(true);
  }
  return graphics;
}

void render(benchmark::State& state, std::string_view style, bool in3d, bool eachPoint = false) {
  const Graphics graphics = superimposed(style, in3d, eachPoint);
  const Handle axes = graphics.object(*graphics.currentFigure()).children.front();
  QImage image(800, 600, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    QPainter painter(&image);
    renderaxes(painter, image.rect(), graphics, axes, ViewAngles{});
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
  state.SetItemsProcessed(state.iterations() * kObjects * kPoints);
}

void BM_renderaxes_500k(benchmark::State& state) { render(state, "bo", true); }
void BM_renderaxes_500k_stars(benchmark::State& state) { render(state, "b*", true); }
void BM_renderaxes_500k_2d(benchmark::State& state) { render(state, "bo", false); }
void BM_renderaxes_500k_2d_each_point(benchmark::State& state) { render(state, "bo", false, true); }

BENCHMARK(BM_renderaxes_500k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_renderaxes_500k_stars)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_renderaxes_500k_2d)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_renderaxes_500k_2d_each_point)->Unit(benchmark::kMillisecond);

// The picture "Copy plot" puts on the clipboard, in each of its formats.
void picture(benchmark::State& state, PictureFormat format) {
  const Graphics graphics = superimposed("bo", true);
  const Handle axes = graphics.object(*graphics.currentFigure()).children.front();
  const std::vector<PictureArea> areas{{axes, QRectF(0, 0, 560, 420), ViewAngles{}}};
  size_t bytes = 0;
  for (auto _ : state) {
    const QByteArray picture = figurepicture(graphics, areas, QSize(560, 420), format);
    bytes = static_cast<size_t>(picture.size());
    benchmark::DoNotOptimize(picture.constData());
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}

void BM_figurepicture_png_500k(benchmark::State& state) { picture(state, PictureFormat::png); }
void BM_figurepicture_svg_500k(benchmark::State& state) { picture(state, PictureFormat::svg); }

BENCHMARK(BM_figurepicture_png_500k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_figurepicture_svg_500k)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace tarvolin::bench

// The numbers on the axes need fonts, and fonts need an application.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
