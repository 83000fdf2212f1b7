#include <memory>

#include "cli/clisteps.h"
#include "core/sprintf.h"
#include "workflows/loadsliders.h"

namespace tarvolin {

GpaRounds fitof(const CliOptions& options, const LandmarkSet& set) {
  GpaRounds rounds = roundsof(options);
  const bool files = !options.sliders.empty() || !options.surface.empty();
  if (options.slide == SlideChoice::none) {
    if (files || options.project || options.slideRoundsGiven) {
      throw InputError("--slide none holds every point fixed; leave out --sliders, --surface, "
                       "--slide-rounds, --slide-tolerance and --project")
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
    if (options.project || options.slideGiven || options.slideRoundsGiven) {
      throw InputError(set.path, std::string(options.project ? "--project" : "sliding") +
                                     " is for data whose semilandmarks slide, and these have "
                                     "none: give --sliders or --surface")
          .concerning(Input::option);
    }
    return rounds;
  }
  sliding.criterion = options.slide == SlideChoice::procd ? SlideCriterion::procrustesDistance
                                                         : SlideCriterion::bendingEnergy;
  sliding.maxRounds = options.slideRounds;
  sliding.tolerance = options.slideTolerance;
  sliding.project = options.project;
  rounds.slide = std::make_shared<const Sliding>(std::move(sliding));
  return rounds;
}

}  // namespace tarvolin
