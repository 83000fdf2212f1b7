// Speed of the steps of the standardization on 1,000 specimens by 500
// landmarks: reading, superimposing, regressing, writing, and the whole
// command. Goals on a two-core machine: reading at 200 MB/s or more (300 MB/s
// for every text format through readlandmarks), the
// superimposition within 12 ms, the whole command within 0.12 s, the
// Procrustes ANOVA with 999 permutations within 2 s, the data check with its
// superimposition within 0.5 s.

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>

#include "core/console.h"
#include "core/writefileatomic.h"
#include "document/graphics.h"
#include "document/showshape.h"
#include "formats/detectlandmarkformat.h"
#include "formats/dload.h"
#include "formats/landmarktext.h"
#include "formats/readlandmarks.h"
#include "formats/standardizedtext.h"
#include "landmarks/landmarkset.h"
#include "landmarks/vertxy3D.h"
#include "numerics/checkdata.h"
#include "numerics/estimatemissing.h"
#include "numerics/getpproc2D.h"
#include "numerics/getpproc3.h"
#include "numerics/procrustesanova.h"
#include "numerics/proposedstandard.h"
#include "numerics/standardsize.h"
#include "numerics/superimposedataset.h"
#include "numerics/transformx.h"
#include "numerics/untransformx.h"
#include "runtime/sessionscript.h"
#include "syntheticdata.h"

namespace tarvolin::bench {
namespace {

// A file in the temporary folder, removed with this object: named only, or
// written with `content`.
class TempFile {
 public:
  explicit TempFile(const std::string& suffix)
      : path_((std::filesystem::temp_directory_path() /
               ("tarvolin_bench_" + std::to_string(::getpid()) + "_" + suffix))
                  .string()) {}
  TempFile(const std::string& suffix, std::string_view content) : TempFile(suffix) {
    writefileatomic(path_, content);
  }
  ~TempFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// The fixtures, each made once on first use.

const Eigen::MatrixXd& rawData() {
  static const Eigen::MatrixXd data = syntheticdataset(kSpecimens, kLandmarks);
  return data;
}

const std::string& rawText() {
  static const std::string text = zortext(rawData());
  return text;
}

const std::string& dataFile() {
  static const TempFile file("data.txt", rawText());
  return file.path();
}

// As the command does: the data set superimposed, x the natural log of the
// size column, the standard value its minimum.
struct Regression {
  Eigen::MatrixXd data;
  Eigen::VectorXd fxlist;
  double svalue;
};

const Regression& regression() {
  static const Regression r = [] {
    Regression made;
    made.data = superimposedataset(rawData(), consoleSink()).data;
    made.fxlist = transformx(made.data.col(made.data.cols() - 1), Transform::ln, "");
    made.svalue = proposedstandard(made.fxlist);
    return made;
  }();
  return r;
}

void setBytes(benchmark::State& state, size_t bytes) {
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}

// First touches of fresh memory cost much on some virtual machines, so every
// benchmark reports the page faults of one iteration ("faults").
long minorFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt;
}

class FaultCounter {
 public:
  explicit FaultCounter(benchmark::State& state) : state_(state), start_(minorFaults()) {}
  ~FaultCounter() {
    state_.counters["faults"] = benchmark::Counter(static_cast<double>(minorFaults() - start_),
                                                   benchmark::Counter::kAvgIterations);
  }
  FaultCounter(const FaultCounter&) = delete;
  FaultCounter& operator=(const FaultCounter&) = delete;

 private:
  benchmark::State& state_;
  long start_;
};

void BM_parsenumericmatrix(benchmark::State& state) {
  const std::string& text = rawText();
  const FaultCounter faults(state);
  for (auto _ : state) {
    Eigen::MatrixXd m = parsenumericmatrix(text, "synthetic.txt");
    benchmark::DoNotOptimize(m.data());
  }
  setBytes(state, text.size());
}
BENCHMARK(BM_parsenumericmatrix)->Unit(benchmark::kMillisecond);

void BM_dload(benchmark::State& state) {
  const std::string& path = dataFile();
  const FaultCounter faults(state);
  for (auto _ : state) {
    Eigen::MatrixXd m = dload(path);
    benchmark::DoNotOptimize(m.data());
  }
  setBytes(state, rawText().size());
}
BENCHMARK(BM_dload)->Unit(benchmark::kMillisecond);

// The synthetic data set in each text format the readers take, its numbers
// kept to six decimals as in the ZOR text.
const std::string& formatText(LandmarkFormat format) {
  static std::map<LandmarkFormat, std::string> texts;
  auto found = texts.find(format);
  if (found != texts.end()) return found->second;
  const Eigen::MatrixXd rounded = (rawData().array() * 1e6).round() / 1e6;
  LandmarkSet set = landmarksetof(rounded, 3);
  if (format != LandmarkFormat::zor && format != LandmarkFormat::csv) set.sizeGiven = false;
  return texts[format] = landmarktext(set, format, std::nullopt);
}

// Reading each text format from a file, format told from the content.
void BM_readlandmarks(benchmark::State& state) {
  const auto format = static_cast<LandmarkFormat>(state.range(0));
  const std::string& text = formatText(format);
  const TempFile file(std::string(landmarkformatname(format)) + ".txt", text);
  state.SetLabel(std::string(landmarkformatname(format)));
  const FaultCounter faults(state);
  for (auto _ : state) {
    LandmarkSet set = readlandmarks(file.path(), std::nullopt, {});
    benchmark::DoNotOptimize(set.coords.data());
  }
  setBytes(state, text.size());
}
BENCHMARK(BM_readlandmarks)
    ->Arg(static_cast<int>(LandmarkFormat::zor))
    ->Arg(static_cast<int>(LandmarkFormat::tps))
    ->Arg(static_cast<int>(LandmarkFormat::nts))
    ->Arg(static_cast<int>(LandmarkFormat::morphologika))
    ->Arg(static_cast<int>(LandmarkFormat::csv))
    ->Unit(benchmark::kMillisecond);

// The superimposition alone: each iteration refills one working stack from
// the data with the clock paused (a copy into memory already touched), hands
// it to the fit and takes its memory back, so neither the 12 MB copy nor
// fresh pages are timed.
template <class Stack, class Result>
void timeSuperimposition(benchmark::State& state, const Stack& stack,
                         Result (*fit)(Stack, const TextSink&)) {
  Stack work = stack;
  const FaultCounter faults(state);
  for (auto _ : state) {
    state.PauseTiming();
    work = stack;
    state.ResumeTiming();
    Result s = fit(std::move(work), consoleSink());
    benchmark::DoNotOptimize(s.sdata.pages().data());
    state.PauseTiming();
    work = std::move(s.sdata);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * stack.specimens());
}

void BM_getpproc3(benchmark::State& state) {
  timeSuperimposition(state, vertxy3D(rawData()), getpproc3);
}
BENCHMARK(BM_getpproc3)->Unit(benchmark::kMillisecond);

// The same specimens cut to their X and Y coordinates.
void BM_getpproc2D(benchmark::State& state) {
  const ConfigStack stack = vertxy3D(rawData());
  ConfigStack2D flat(stack.landmarks(), stack.specimens());
  for (Eigen::Index i = 0; i < stack.specimens(); ++i) flat.page(i) = stack.page(i).leftCols(2);
  timeSuperimposition(state, flat, getpproc2D);
}
BENCHMARK(BM_getpproc2D)->Unit(benchmark::kMillisecond);

// The synthetic data set with a few faults planted: landmarks 1 and 250 of
// specimen 12 and 100 and 400 of specimen 500 exchanged, specimen 27
// mirrored, specimen 31 in other units (coordinates and size times 10). An
// exchange of two landmarks among 500 moves a specimen less than the
// spread of the others (neither is an outlier), so the causes are sought
// for the mirrored specimen and the some 35 specimens that the allometry
// and the noise put beyond the limit.
const Eigen::MatrixXd& faultyData() {
  static const Eigen::MatrixXd data = [] {
    Eigen::MatrixXd d = rawData();
    const auto exchange = [&d](Eigen::Index specimen, Eigen::Index a, Eigen::Index b) {
      for (Eigen::Index c = 0; c < 3; ++c)
        std::swap(d(specimen, 3 * a + c), d(specimen, 3 * b + c));
    };
    exchange(11, 0, 249);
    exchange(499, 99, 399);
    for (Eigen::Index j = 0; j < kLandmarks; ++j) d(26, 3 * j) *= -1;
    d.row(30) *= 10;
    return d;
  }();
  return data;
}

// The data check as loading a data set does it: the superimposition, then
// the distances, limits and the causes of each outlier. Goal: 0.5 s or less
// on the two-core machine.
void BM_checkdata(benchmark::State& state) {
  Eigen::MatrixXd work = faultyData();
  DataCheck found;
  const FaultCounter faults(state);
  for (auto _ : state) {
    state.PauseTiming();
    work = faultyData();
    state.ResumeTiming();
    SuperimposedDataSet s = superimposedataset(std::move(work), consoleSink(), 3, false);
    found = checkdata(s.data, 3);
    benchmark::DoNotOptimize(found.specimens.data());
    state.PauseTiming();
    work = std::move(s.data);
    state.ResumeTiming();
  }
  // What was found, to see that the planted faults are among it.
  state.counters["out_of_line"] = found.outOfLine();
  state.counters["swapped"] =
      static_cast<double>(std::count_if(found.specimens.begin(), found.specimens.end(),
                                        [](const SpecimenCheck& c) { return c.swapped; }));
  state.counters["mirrored"] =
      static_cast<double>(std::count_if(found.specimens.begin(), found.specimens.end(),
                                        [](const SpecimenCheck& c) { return c.mirrored; }));
  state.counters["shape_outliers"] =
      static_cast<double>(std::count_if(found.specimens.begin(), found.specimens.end(),
                                        [](const SpecimenCheck& c) { return c.outlier; }));
  state.SetItemsProcessed(state.iterations() * kSpecimens);
}
BENCHMARK(BM_checkdata)->Unit(benchmark::kMillisecond);

// The check alone on the superimposed data: with the causes, and without
// them, as a status line after loading needs it.
void BM_checkdata_superimposed(benchmark::State& state) {
  const Eigen::MatrixXd data = superimposedataset(faultyData(), consoleSink(), 3, false).data;
  const bool causes = state.range(0) != 0;
  const FaultCounter faults(state);
  for (auto _ : state) {
    const DataCheck check = checkdata(data, 3, causes);
    benchmark::DoNotOptimize(check.specimens.data());
  }
  state.SetItemsProcessed(state.iterations() * kSpecimens);
}
BENCHMARK(BM_checkdata_superimposed)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// The Procrustes ANOVA of shape on ln size with 999 permutations of the
// residuals: 2 s or less on the two-core machine.
void BM_procrustesanova(benchmark::State& state) {
  const Regression& r = regression();
  const Eigen::MatrixXd y = r.data.leftCols(r.data.cols() - 1);
  AnovaDesign design;
  design.x = r.fxlist;
  const FaultCounter faults(state);
  for (auto _ : state) {
    const ProcrustesAnova a = procrustesanova(y, design, 999, 1);
    benchmark::DoNotOptimize(a.terms.front().p);
  }
}
BENCHMARK(BM_procrustesanova)->Unit(benchmark::kMillisecond)->UseRealTime();

// Estimating missing landmarks: 400 specimens of 1,000 landmarks, each
// missing a landmark of its own (so 400 splines), and 20 complete ones for
// the mean shape. Goal: 5 s or less on the two-core machine.
void BM_estimatemissing(benchmark::State& state) {
  constexpr Eigen::Index kIncomplete = 400;
  LandmarkSet complete =
      landmarksetof(syntheticdataset(kIncomplete + 20, 1000), 3, std::vector<std::string>(420));
  for (Eigen::Index i = 0; i < complete.specimens(); ++i) {
    complete.ids[static_cast<size_t>(i)] = "s" + std::to_string(i + 1);
  }
  for (Eigen::Index i = 0; i < kIncomplete; ++i) {
    complete.coords.block(20 + i, 3 * (2 * i), 1, 3).setConstant(std::nan(""));
  }
  complete.sizeGiven = false;
  finishlandmarkset(complete);
  const FaultCounter faults(state);
  for (auto _ : state) {
    state.PauseTiming();
    LandmarkSet set = complete;
    state.ResumeTiming();
    benchmark::DoNotOptimize(estimatemissing(set, consoleSink()).size());
  }
  state.SetItemsProcessed(state.iterations() * kIncomplete);
}
BENCHMARK(BM_estimatemissing)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_standardsize(benchmark::State& state) {
  const Regression& r = regression();
  const FaultCounter faults(state);
  for (auto _ : state) {
    Standardized s = standardsize(r.data, r.fxlist, r.svalue);
    benchmark::DoNotOptimize(s.y.data());
  }
  setBytes(state, static_cast<size_t>(r.data.size()) * sizeof(double));
}
BENCHMARK(BM_standardsize)->Unit(benchmark::kMillisecond);

void BM_standardizedtext(benchmark::State& state) {
  const Regression& r = regression();
  const Eigen::MatrixXd sdata =
      superimposedataset(standardsize(r.data, r.fxlist, r.svalue).y, consoleSink()).data;
  const double lastValue = untransformx(r.svalue, Transform::ln);
  size_t bytes = 0;
  const FaultCounter faults(state);
  for (auto _ : state) {
    std::string text = standardizedtext(sdata, lastValue);
    bytes = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  setBytes(state, bytes);
}
BENCHMARK(BM_standardizedtext)->Unit(benchmark::kMillisecond);

// The 2D workflow draws every landmark of every specimen as its own plotted
// object: 500,000 of them for the synthetic data set. Drawing them into the
// graphics model and clearing the plot again must stay well under a second.
void BM_showshape_and_clear(benchmark::State& state) {
  const Eigen::MatrixXd rows = rawData().leftCols(2 * kLandmarks + 1);
  for (auto _ : state) {
    Graphics graphics;
    graphics.figure();
    showshape(graphics, rows, "bo");
    graphics.clearObject(graphics.gcf());
    benchmark::DoNotOptimize(graphics.object(kRoot).children.size());
  }
  state.SetItemsProcessed(state.iterations() * rows.rows() * kLandmarks);
}
BENCHMARK(BM_showshape_and_clear)->Unit(benchmark::kMillisecond);

// The side views of the data set for the 2D window: X and Y of every
// landmark and the size, superimposed, as the 2D window takes them.
const std::string& dataFile2D() {
  static const TempFile file("data2d.txt", [] {
    const Eigen::MatrixXd& raw = rawData();
    Eigen::MatrixXd flat(raw.rows(), 2 * kLandmarks + 1);
    for (Eigen::Index j = 0; j < kLandmarks; ++j)
      flat.middleCols(2 * j, 2) = raw.middleCols(3 * j, 2);
    flat.col(2 * kLandmarks) = raw.col(3 * kLandmarks);
    return zortext(superimposedataset(std::move(flat), consoleSink(), 2, false).data);
  }());
  return file.path();
}

// A whole session in a window, as a user clicks it: load, centroid size, ln,
// accept, standardize, show the standardized data; both plots are drawn into
// the graphics model (the 2D window draws one object per landmark). Argument:
// the dimension, 3 for the main window, 2 for the 2D window.
void BM_windowsession(benchmark::State& state) {
  const bool flat = state.range(0) == 2;
  const std::string steps =
      std::string(flat ? "press Open2DButton\nwindow Tarvolin2D\n" : "") + "choose " +
      (flat ? dataFile2D() : dataFile()) +
      "\npress LoadDataButton\npress UseCSButton\npress LnButton\npress GoRegress\n"
      "press AcceptStandard\npress ShowStandard\n";
  const TempFile script("session.txt", steps);
  for (auto _ : state) {
    std::ostringstream out, err;
    if (runsession(script.path(), TARVOLIN_RESOURCES_DIR, true, out, err) != 0) {
      state.SkipWithError(err.str().c_str());
      break;
    }
  }
  setBytes(state, rawText().size());
}
BENCHMARK(BM_windowsession)->Arg(3)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole command as a user runs it: tarvolin-cli in its own process, so
// that start-up, the allocator's settings and the first touches of memory
// count. (Its peak memory is measured by measure-peak-memory.sh: a process
// started from this one would count this one's memory as its own.)
void BM_standardizecommand(benchmark::State& state) {
  const std::string& input = dataFile();
  const TempFile output("out.txt");
  const char* const argv[] = {TARVOLIN_CLI_PATH,     "standardize", input.c_str(),
                              "--transform",         "ln",          "-o",
                              output.path().c_str(), nullptr};
  for (auto _ : state) {
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], nullptr, nullptr, const_cast<char* const*>(argv), environ) !=
        0) {
      state.SkipWithError("cannot start " TARVOLIN_CLI_PATH);
      break;
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("tarvolin-cli standardize failed");
      break;
    }
  }
  setBytes(state, rawText().size());
}
BENCHMARK(BM_standardizecommand)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace tarvolin::bench
