// Speed and memory of sliding semilandmarks on synthetic shells: domes of p
// points, a tenth of them fixed landmarks and the rest sliding over the
// surface, each specimen changed a little, its surface points placed with
// a jitter of their own, turned and moved. One round of the fit (the
// bending-energy matrix of the mean shape, every specimen slid and turned,
// the new mean). Goals on a two-core machine: 100 specimens of 1,000 points
// (900 sliding) in 10 s or less; 4,000 points (3,600 sliding) in under 2 GB
// (the counter peak_MB: the process's peak, so run that benchmark alone,
// --benchmark_filter=BM_slidegpa_round/4/4000).

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <Eigen/Geometry>
#include <cmath>
#include <random>

#include "numerics/slidegpa.h"

namespace tarvolin::bench {
namespace {

constexpr double kPi = 3.14159265358979323846;

struct Shells {
  Eigen::MatrixXd data;
  Sliding slide;
};

Shells shells(Eigen::Index specimens, Eigen::Index points) {
  std::mt19937 engine(27);
  std::normal_distribution<double> normal(0.0, 1.0);
  const Eigen::Index fixed = points / 10;
  Shells s;
  s.data.resize(specimens, 3 * points + 1);
  for (Eigen::Index i = 0; i < specimens; ++i) {
    const double height = 0.8 + 0.05 * normal(engine);
    const Eigen::Matrix3d turn =
        Eigen::Quaterniond(normal(engine), normal(engine), normal(engine), normal(engine))
            .normalized()
            .toRotationMatrix();
    for (Eigen::Index j = 0; j < points; ++j) {
      // A spiral over the dome, evenly spread; the sliding points off it a little.
      const double t = (static_cast<double>(j) + 0.5) / static_cast<double>(points);
      const double jitter = j < fixed ? 0.002 : 0.3 / std::sqrt(static_cast<double>(points));
      const double r = std::sqrt(t) + jitter * normal(engine);
      const double a = static_cast<double>(j) * kPi * (3 - std::sqrt(5.0)) + jitter * normal(engine);
      const Eigen::Vector3d p(r * std::cos(a), r * std::sin(a), height * (1 - r * r));
      s.data.row(i).segment(3 * j, 3) = (turn * p).transpose() * 20.0;
    }
    s.data(i, 3 * points) = 20.0;
  }
  for (Eigen::Index j = fixed; j < points; ++j) s.slide.sliders.surface.push_back(static_cast<int>(j));
  s.slide.maxRounds = 1;
  return s;
}

void BM_slidegpa_round(benchmark::State& state) {
  const Shells s = shells(state.range(0), state.range(1));
  for (auto _ : state) {
    state.PauseTiming();
    Eigen::MatrixXd data = s.data;
    Eigen::MatrixXd mean;
    state.ResumeTiming();
    const GpaReport fit = slidegpa(data, mean, 3, s.slide);
    benchmark::DoNotOptimize(fit.lastChange);
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

BENCHMARK(BM_slidegpa_round)
    ->Args({100, 1000})
    ->Args({4, 4000})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

}  // namespace
}  // namespace tarvolin::bench
