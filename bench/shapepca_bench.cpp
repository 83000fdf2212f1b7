// Speed of the principal components of shape on superimposed synthetic data
// of 1,000 and 8,000 specimens by 500 landmarks (1,500 variables): the
// analysis alone, by the route it takes itself (the cross-product of the
// specimens for fewer specimens than variables, the covariance otherwise)
// and by the other one. Goals for the whole command on a two-core machine:
// 0.5 s at 1,000 specimens, 4 s at 8,000.

#include <benchmark/benchmark.h>

#include <map>
#include <utility>

#include "core/textsink.h"
#include "numerics/shapepca.h"
#include "numerics/superimposedataset.h"
#include "syntheticdata.h"

namespace tarvolin::bench {
namespace {

const Eigen::MatrixXd& superimposed(Eigen::Index specimens) {
  static std::map<Eigen::Index, Eigen::MatrixXd> made;
  auto found = made.find(specimens);
  if (found == made.end()) {
    const TextSink quiet = [](std::string_view) {};
    found =
        made.emplace(
                specimens,
                superimposedataset(syntheticdataset(specimens, kLandmarks), quiet, 3, false).data)
            .first;
  }
  return found->second;
}

void runshapepca(benchmark::State& state, PcaRoute route) {
  const Eigen::MatrixXd& data = superimposed(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    Eigen::MatrixXd copy = data;
    state.ResumeTiming();
    const ShapePca p = shapepca(std::move(copy), 3 * kLandmarks, 0, route);
    benchmark::DoNotOptimize(p.eigenvalues.data());
  }
}

void BM_shapepca(benchmark::State& state) { runshapepca(state, PcaRoute::automatic); }
void BM_shapepca_covariance(benchmark::State& state) { runshapepca(state, PcaRoute::covariance); }
void BM_shapepca_crossproduct(benchmark::State& state) {
  runshapepca(state, PcaRoute::crossproduct);
}

BENCHMARK(BM_shapepca)->Arg(1000)->Arg(8000)->Unit(benchmark::kMillisecond)->UseRealTime();
// The two routes where they meet (N = v = 1,500) and below it.
BENCHMARK(BM_shapepca_covariance)
    ->Arg(1000)
    ->Arg(1500)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_shapepca_crossproduct)
    ->Arg(1000)
    ->Arg(1500)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace tarvolin::bench
