#include "cli/slideprogress.h"

#include <string>
#include <utility>

namespace tarvolin {

SlideRoundHook slideprogress(std::function<void(std::string_view)> say,
                             std::chrono::steady_clock::duration quiet) {
  const auto from = std::chrono::steady_clock::now() + quiet;
  return [say = std::move(say), from](int round, int maxRounds, double change) {
    if (std::chrono::steady_clock::now() < from) return;
    say("tarvolin-cli: " + slideroundtext(round, maxRounds, change) + "\n");
  };
}

}  // namespace tarvolin
