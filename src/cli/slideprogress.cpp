#include "cli/slideprogress.h"

#include <string>
#include <utility>

namespace tarvolin {

SlideRoundHook slideprogress(std::function<void(std::string_view)> say,
                             std::chrono::steady_clock::duration quiet) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point made = Clock::now();
  return [say = std::move(say), quiet, made, said = made](const SlideProgress& progress) mutable {
    // The end of every round is told once the fit has gone on for a while;
    // the specimens within a round no more often than that.
    const Clock::time_point now = Clock::now();
    if (now - (progress.change ? made : said) < quiet) return;
    said = now;
    say("tarvolin-cli: " + slideroundtext(progress) + "\n");
  };
}

}  // namespace tarvolin
