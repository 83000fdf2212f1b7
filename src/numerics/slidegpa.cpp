#include "numerics/slidegpa.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/onallcores.h"
#include "numerics/bendingenergy.h"
#include "numerics/centsize3Da.h"
#include "numerics/procrustesfit.h"
#include "numerics/slidestep.h"
#include "numerics/slidestrays.h"

namespace tarvolin {
namespace {

using Eigen::Index;
using Configs = std::vector<Eigen::MatrixXd>;

// The memory the specimens' systems of the bending energy may take at once.
constexpr double kSystemsBudget = 1e9;

void checksliders(const Sliders& sliders, int k, int dims) {
  const auto bad = [](const std::string& what) {
    return std::invalid_argument("slidegpa: " + what);
  };
  const auto inside = [&](int point) {
    if (point < 0 || point >= k) {
      throw bad("point " + std::to_string(point) + " outside a configuration of " +
                std::to_string(k));
    }
  };
  std::set<int> sliding;
  for (const CurveSlider& s : sliders.curve) {
    inside(s.before);
    inside(s.point);
    inside(s.after);
    if (s.before == s.after || s.point == s.before || s.point == s.after) {
      throw bad("point " + std::to_string(s.point) + " slides between " +
                std::to_string(s.before) + " and " + std::to_string(s.after));
    }
    if (!sliding.insert(s.point).second) throw bad("point " + std::to_string(s.point) + " slides twice");
  }
  if (!sliders.surface.empty() && dims != 3) throw bad("points slide on a surface in 3D only");
  for (const int s : sliders.surface) {
    inside(s);
    if (!sliding.insert(s).second) throw bad("point " + std::to_string(s) + " slides twice");
  }
}

// Turns config onto target, and `along` (the configuration before it slid,
// for slidestrays) with it.
template <int D>
void turnonto(const Eigen::MatrixXd& target, Eigen::MatrixXd& config, Eigen::MatrixXd* along) {
  const auto turn = procrustesfit::bestRotation<D>(target, config, "slidegpa");
  config = config * turn;
  if (along != nullptr) *along = *along * turn;
}

void turnonto(int dims, const Eigen::MatrixXd& target, Eigen::MatrixXd& config,
              Eigen::MatrixXd* along = nullptr) {
  if (dims == 2) {
    turnonto<2>(target, config, along);
  } else {
    turnonto<3>(target, config, along);
  }
}

// Centres config and scales it to centroid size 1, and `along` with it.
void centreandscale(Eigen::MatrixXd& config, Eigen::MatrixXd& along) {
  const Eigen::RowVectorXd centre = config.colwise().mean();
  config.rowwise() -= centre;
  along.rowwise() -= centre;
  const double size = centsize3Da(config);
  config /= size;
  along /= size;
}

// The mean of the configurations, added in their order.
Eigen::MatrixXd meanof(const Configs& configs) {
  Eigen::MatrixXd sum = Eigen::MatrixXd::Zero(configs.front().rows(), configs.front().cols());
  for (const Eigen::MatrixXd& c : configs) sum += c;
  return sum / static_cast<double>(configs.size());
}

// The summed squared distances of the configurations to `mean`.
double sumofsquares(const Configs& configs, const Eigen::MatrixXd& mean) {
  double sum = 0;
  for (const Eigen::MatrixXd& c : configs) sum += (c - mean).squaredNorm();
  return sum;
}

// The plain fit the refit order starts from, to convergence.
constexpr double kPlainTolerance = 1e-12;
constexpr int kPlainRounds = 200;

// Runs work(i) for every specimen, shared over at most `most` cores; a
// SlideError comes back naming the first specimen (by row) that raised one.
// done, where given, is called on the calling thread after each specimen
// it worked on, with how many specimens all the cores have done.
template <class Work>
void eachspecimen(Index n, int most, const Work& work,
                  const std::function<void(long)>& done = nullptr) {
  std::vector<std::optional<std::pair<Index, std::string>>> failed(
      static_cast<size_t>(std::max(1, laneCount())));
  std::atomic<long> count{0};
  onallcores(most > 1 && n > 1, [&](int lane, int lanes) {
    const int used = std::min(lanes, most);
    if (lane >= used) return;
    for (Index i = lane; i < n; i += used) {
      try {
        work(i);
      } catch (const SlideError& e) {
        failed[static_cast<size_t>(lane)] = std::make_pair(i, std::string(e.what()));
        return;
      }
      const long finished = count.fetch_add(1) + 1;
      if (lane == 0 && done) done(finished);
    }
  });
  std::optional<std::pair<Index, std::string>> first;
  for (const auto& f : failed) {
    if (f && (!first || f->first < first->first)) first = f;
  }
  if (first) {
    throw SlideError("specimen " + std::to_string(first->first + 1) + ": " + first->second);
  }
}

}  // namespace

GpaReport slidegpa(Eigen::MatrixXd& data, Eigen::MatrixXd& reference, int dims,
                   const Sliding& slide, const SlideRoundHook& onRound, Eigen::MatrixXd* unslidOut,
                   std::chrono::steady_clock::duration every) {
  if (dims != 2 && dims != 3) {
    throw std::invalid_argument("slidegpa: data are 2D or 3D, not " + std::to_string(dims) + "D");
  }
  if (data.rows() < 1 || data.cols() <= dims || (data.cols() - 1) % dims != 0) {
    throw std::invalid_argument("slidegpa: a data set of " + std::to_string(data.rows()) + " x " +
                                std::to_string(data.cols()) + " is not one of " +
                                std::to_string(dims) + "D configurations and a size column");
  }
  if (slide.maxRounds < 1 || !(slide.tolerance >= 0)) {
    throw std::invalid_argument("slidegpa: at least one round and a tolerance of at least 0");
  }
  const Index n = data.rows();
  const Index k = (data.cols() - 1) / dims;
  checksliders(slide.sliders, static_cast<int>(k), dims);

  Configs configs(static_cast<size_t>(n));
  for (Index i = 0; i < n; ++i) {
    Eigen::MatrixXd& c = configs[static_cast<size_t>(i)];
    c.resize(k, dims);
    for (Index j = 0; j < k; ++j) {
      for (Index a = 0; a < dims; ++a) c(j, a) = data(i, j * dims + a);
    }
  }
  const Index directions = static_cast<Index>(slide.sliders.curve.size()) +
                           2 * static_cast<Index>(slide.sliders.surface.size());
  // Each specimen's system is directions square: worth a thread of its own
  // from a few thousand elements over the specimens, and held once on each
  // core that slides, so that the cores share kSystemsBudget between them
  // (2 systems of 7,200 directions, 9 of 3,600).
  const double system = 8.0 * static_cast<double>(directions) * static_cast<double>(directions);
  const int lanes = system * static_cast<double>(n) >= 8 * 2000 ? laneCount() : 1;
  const int slideLanes =
      slide.criterion == SlideCriterion::bendingEnergy
          ? std::clamp(static_cast<int>(std::min(kSystemsBudget / std::max(system, 1.0), 1e6)), 1,
                       lanes)
          : lanes;

  // 1. Centred, unit size, turned onto the first specimen.
  for (Eigen::MatrixXd& c : configs) {
    c.rowwise() -= c.colwise().mean();
    c /= centsize3Da(c);
  }
  const Eigen::MatrixXd first = configs.front();
  eachspecimen(n, lanes, [&](Index i) { turnonto(dims, first, configs[static_cast<size_t>(i)]); });
  reference = meanof(configs);
  const bool refit = slide.order == SlideOrder::refit;
  double before = static_cast<double>(n) * reference.squaredNorm();
  if (refit) {
    // Fitted plainly to convergence first, so that the slides start from
    // the mean shape the specimens settle on without them.
    reference /= centsize3Da(reference);
    before = sumofsquares(configs, reference);
    for (int round = 1; round <= kPlainRounds; ++round) {
      eachspecimen(n, lanes,
                   [&](Index i) { turnonto(dims, reference, configs[static_cast<size_t>(i)]); });
      reference = meanof(configs);
      reference /= centsize3Da(reference);
      const double after = sumofsquares(configs, reference);
      const bool settled = std::abs(before - after) <= kPlainTolerance;
      before = after;
      if (settled) break;
    }
  }
  // The specimens as they were before any slide, moved and turned with
  // them, tell how far each semilandmark slid.
  Configs unslid = configs;

  // 2. Rounds of sliding and turning.
  GpaReport report;
  report.asDefined = false;
  report.slid = true;
  report.criterion = slide.criterion;
  report.order = slide.order;
  report.rounds = 0;
  for (int round = 1; round <= slide.maxRounds; ++round) {
    Eigen::MatrixXd bending;
    if (slide.criterion == SlideCriterion::bendingEnergy && !slide.sliders.empty()) {
      try {
        bending = bendingenergy(reference);
      } catch (const std::invalid_argument& e) {
        throw SlideError(e.what());
      }
    }
    // Told how many have slid once `every` has passed since the round began
    // or it was last told, so that a long round is not silent.
    auto told = std::chrono::steady_clock::now();
    const std::function<void(long)> slidSoFar = [&](long slid) {
      if (!onRound || slid >= n) return;
      const auto now = std::chrono::steady_clock::now();
      if (now - told < every) return;
      told = now;
      onRound(SlideProgress{.round = round,
                            .maxRounds = slide.maxRounds,
                            .slid = slid,
                            .specimens = static_cast<long>(n)});
    };
    eachspecimen(
        n, slideLanes,
        [&](Index i) {
          slidestep(configs[static_cast<size_t>(i)], reference, slide.sliders, slide.criterion,
                    bending);
        },
        slidSoFar);
    bending.resize(0, 0);
    double after = 0;
    if (refit) {
      eachspecimen(n, lanes, [&](Index i) {
        Eigen::MatrixXd& c = configs[static_cast<size_t>(i)];
        Eigen::MatrixXd& u = unslid[static_cast<size_t>(i)];
        centreandscale(c, u);
        turnonto(dims, reference, c, &u);
      });
      reference = meanof(configs);
      reference /= centsize3Da(reference);
      after = sumofsquares(configs, reference);
    } else {
      after = static_cast<double>(n) * meanof(configs).squaredNorm();
      const Eigen::MatrixXd target = reference / centsize3Da(reference);
      eachspecimen(n, lanes, [&](Index i) {
        turnonto(dims, target, configs[static_cast<size_t>(i)], &unslid[static_cast<size_t>(i)]);
      });
      reference = meanof(configs);
      reference /= centsize3Da(reference);
    }
    report.rounds = round;
    report.lastChange = std::abs(before - after);
    if (onRound) {
      onRound(SlideProgress{.round = round,
                            .maxRounds = slide.maxRounds,
                            .slid = static_cast<long>(n),
                            .specimens = static_cast<long>(n),
                            .change = report.lastChange});
    }
    if (report.lastChange <= slide.tolerance) {
      report.converged = true;
      break;
    }
    if (!std::isfinite(report.lastChange)) break;
    before = after;
  }

  // The semilandmarks that slid astray, found before the projection moves
  // every point.
  const double spacing = surfacespacing(reference, slide.sliders.surface);
  std::vector<std::vector<SlideStray>> strays(static_cast<size_t>(n));
  eachspecimen(n, lanes, [&](Index i) {
    const auto at = static_cast<size_t>(i);
    strays[at] = slidestrays(configs[at], unslid[at], slide.sliders, spacing);
    for (SlideStray& s : strays[at]) s.row = static_cast<long>(i);
  });
  for (const std::vector<SlideStray>& s : strays) {
    report.strays.insert(report.strays.end(), s.begin(), s.end());
  }

  // 3. The tangent space at the mean shape, where asked; the points as they
  // stood before sliding go along by the same shift as their specimen.
  if (slide.project) {
    const Eigen::MatrixXd m = reference / reference.norm();
    for (size_t i = 0; i < configs.size(); ++i) {
      const double along = 1.0 - (configs[i].cwiseProduct(m)).sum();
      configs[i] += along * m;
      unslid[i] += along * m;
    }
  }
  if (unslidOut) {
    unslidOut->resize(n, k * dims);
    for (Index i = 0; i < n; ++i) {
      const Eigen::MatrixXd& u = unslid[static_cast<size_t>(i)];
      for (Index j = 0; j < k; ++j) {
        for (Index a = 0; a < dims; ++a) (*unslidOut)(i, j * dims + a) = u(j, a);
      }
    }
  }
  unslid.clear();
  for (Index i = 0; i < n; ++i) {
    const Eigen::MatrixXd& c = configs[static_cast<size_t>(i)];
    for (Index j = 0; j < k; ++j) {
      for (Index a = 0; a < dims; ++a) data(i, j * dims + a) = c(j, a);
    }
  }
  return report;
}

}  // namespace tarvolin
