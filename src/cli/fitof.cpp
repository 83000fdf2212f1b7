#include <memory>

#include "cli/clisteps.h"
#include "cli/slideprogress.h"
#include "core/console.h"
#include "core/sprintf.h"
#include "numerics/slidewarnings.h"
#include "workflows/loadsliders.h"

namespace tarvolin {
namespace {

// The semilandmarks that slid astray named one by one; the rest counted.
constexpr std::size_t kWarningsShown = 20;

}  // namespace

GpaRounds fitof(const CliOptions& options, const LandmarkSet& set) {
  GpaRounds rounds = roundsof(options);
  const bool files = !options.sliders.empty() || !options.surface.empty();
  if (options.slide == SlideChoice::none) {
    if (files || options.project || options.slideRoundsGiven || options.slideOrderGiven) {
      throw InputError(
          "--slide none holds every point fixed; leave out --sliders, --surface, "
          "--slide-rounds, --slide-tolerance, --slide-order and --project")
          .concerning(Input::option);
    }
    return rounds;
  }
  if (files && options.missing == MissingChoice::dropLandmarks) {
    throw InputError("--sliders and --surface number the landmarks of the file, which --missing "
                     "drop-landmarks renumbers; estimate the missing landmarks or leave out the "
                     "specimens instead")
        .concerning(Input::option);
  }
  if (options.slideRounds < 1) {
    throw InputError(sprintf("--slide-rounds must be at least 1, not %d", options.slideRounds))
        .concerning(Input::option);
  }
  if (!(options.slideTolerance >= 0)) {
    throw InputError("--slide-tolerance must be a number of at least 0, not " +
                     sprintf("%g", options.slideTolerance))
        .concerning(Input::option);
  }
  Sliding sliding;
  sliding.sliders = loadsliders(set, options.sliders, options.surface);
  if (sliding.sliders.empty()) {
    if (options.project || options.slideGiven || options.slideRoundsGiven ||
        options.slideOrderGiven) {
      throw InputError(set.path, std::string(options.project ? "--project" : "sliding") +
                                     " is for data whose semilandmarks slide, and these have "
                                     "none: give --sliders or --surface")
          .concerning(Input::option);
    }
    return rounds;
  }
  sliding.criterion = options.slide == SlideChoice::procd ? SlideCriterion::procrustesDistance
                                                         : SlideCriterion::bendingEnergy;
  sliding.order =
      options.slideOrder == SlideOrderChoice::refit ? SlideOrder::refit : SlideOrder::reference;
  sliding.maxRounds = options.slideRounds;
  sliding.tolerance = options.slideTolerance;
  sliding.project = options.project;
  rounds.slide = std::make_shared<const Sliding>(std::move(sliding));
  // Standard error, where the console goes: never among the results.
  rounds.onRound = slideprogress([](std::string_view line) { console().write(line); });
  rounds.onSlid = [ids = set.ids](const GpaReport& fit) {
    for (const std::string& line : slidewarnings(fit, ids, kWarningsShown)) {
      console().disp("tarvolin-cli: " + line);
    }
  };
  return rounds;
}

}  // namespace tarvolin
