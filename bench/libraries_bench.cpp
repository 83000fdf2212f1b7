// Our own number formatter, number reader and lanes against what Debian's
// packages give: {fmt} (where installed), std::to_chars / std::from_chars,
// and OpenMP. Run interleaved, so that a busy machine weighs on both sides
// alike:
//   tarvolin_libraries_bench --benchmark_repetitions=5
//       --benchmark_enable_random_interleaving=true
//       --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#if __has_include(<fmt/format.h>)
#include <fmt/format.h>
#define TARVOLIN_HAVE_FMT 1
#endif
#ifdef _OPENMP
#include <omp.h>
#endif

#include "core/onallcores.h"
#include "core/sprintf.h"
#include "core/str2num.h"

namespace {

// Coordinates as the data sets hold them: a few digits, of every magnitude
// from 1e-4 to 1e4, either sign.
const std::vector<double>& values() {
  static const std::vector<double> v = [] {
    std::mt19937_64 engine(1);
    std::uniform_real_distribution<double> exponent(-4, 4);
    std::uniform_real_distribution<double> mantissa(-9.99, 9.99);
    std::vector<double> out(1'000'000);
    for (double& x : out) x = mantissa(engine) * std::pow(10.0, exponent(engine));
    return out;
  }();
  return v;
}

// The same values as text, one after another, as "%g" writes them.
const std::string& text() {
  static const std::string t = [] {
    std::string out;
    for (double x : values()) {
      tarvolin::appendG(out, x);
      out += ' ';
    }
    return out;
  }();
  return t;
}

void BM_FormatG_own(benchmark::State& state) {
  char buffer[tarvolin::kFormatGRoom];
  for (auto _ : state) {
    for (double x : values()) benchmark::DoNotOptimize(tarvolin::formatG(buffer, x));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(values().size()));
}
BENCHMARK(BM_FormatG_own)->Unit(benchmark::kMillisecond);

void BM_FormatG_snprintf(benchmark::State& state) {
  char buffer[tarvolin::kFormatGRoom];
  for (auto _ : state) {
    for (double x : values())
      benchmark::DoNotOptimize(std::snprintf(buffer, sizeof buffer, "%g", x));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(values().size()));
}
BENCHMARK(BM_FormatG_snprintf)->Unit(benchmark::kMillisecond);

// std::to_chars in general format with 6 significant digits: printf's %g.
void BM_FormatG_tochars(benchmark::State& state) {
  char buffer[tarvolin::kFormatGRoom];
  for (auto _ : state) {
    for (double x : values()) {
      benchmark::DoNotOptimize(
          std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::general, 6).ptr);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(values().size()));
}
BENCHMARK(BM_FormatG_tochars)->Unit(benchmark::kMillisecond);

#ifdef TARVOLIN_HAVE_FMT
void BM_FormatG_fmt(benchmark::State& state) {
  char buffer[tarvolin::kFormatGRoom];
  for (auto _ : state) {
    for (double x : values()) benchmark::DoNotOptimize(fmt::format_to(buffer, "{:g}", x));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(values().size()));
}
BENCHMARK(BM_FormatG_fmt)->Unit(benchmark::kMillisecond);
#endif

void BM_ReadNumber_own(benchmark::State& state) {
  const std::string& t = text();
  for (auto _ : state) {
    std::string_view rest = t;
    double sum = 0;
    while (!rest.empty()) {
      double value = 0;
      const size_t used = tarvolin::parseNumber(rest, value);
      sum += value;
      rest.remove_prefix(used + 1);
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(t.size()));
}
BENCHMARK(BM_ReadNumber_own)->Unit(benchmark::kMillisecond);

void BM_ReadNumber_fromchars(benchmark::State& state) {
  const std::string& t = text();
  for (auto _ : state) {
    const char* p = t.data();
    const char* end = t.data() + t.size();
    double sum = 0;
    while (p < end) {
      double value = 0;
      p = std::from_chars(p, end, value).ptr + 1;
      sum += value;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(t.size()));
}
BENCHMARK(BM_ReadNumber_fromchars)->Unit(benchmark::kMillisecond);

// Lanes: a memory-bound pass (the shape of the data check and the fit's
// gather) over 64 MB, shared out over every core.
const std::vector<double>& large() {
  static const std::vector<double> v(8'000'000, 1.25);
  return v;
}

void BM_Lanes_own(benchmark::State& state) {
  const std::vector<double>& v = large();
  for (auto _ : state) {
    std::vector<double> sums(static_cast<size_t>(tarvolin::laneCount()), 0.0);
    tarvolin::onallcores(true, [&](int lane, int lanes) {
      const size_t first = v.size() * static_cast<size_t>(lane) / static_cast<size_t>(lanes);
      const size_t last = v.size() * static_cast<size_t>(lane + 1) / static_cast<size_t>(lanes);
      double s = 0;
      for (size_t i = first; i < last; ++i) s += v[i] * v[i];
      sums[static_cast<size_t>(lane)] = s;
    });
    benchmark::DoNotOptimize(sums.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(v.size() * sizeof(double)));
}
BENCHMARK(BM_Lanes_own)->Unit(benchmark::kMillisecond)->UseRealTime();

#ifdef _OPENMP
void BM_Lanes_openmp(benchmark::State& state) {
  const std::vector<double>& v = large();
  for (auto _ : state) {
    std::vector<double> sums(static_cast<size_t>(omp_get_max_threads()), 0.0);
#pragma omp parallel
    {
      const auto lane = static_cast<size_t>(omp_get_thread_num());
      const auto lanes = static_cast<size_t>(omp_get_num_threads());
      const size_t first = v.size() * lane / lanes;
      const size_t last = v.size() * (lane + 1) / lanes;
      double s = 0;
      for (size_t i = first; i < last; ++i) s += v[i] * v[i];
      sums[lane] = s;
    }
    benchmark::DoNotOptimize(sums.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(v.size() * sizeof(double)));
}
BENCHMARK(BM_Lanes_openmp)->Unit(benchmark::kMillisecond)->UseRealTime();
#endif

}  // namespace
