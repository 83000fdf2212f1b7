#pragma once
// Shows through `say` how far a long fit that slides semilandmarks has got,
// once `quiet` has passed since the hook was made: a line at the end of
// every round from then on ("tarvolin-cli: sliding: round 3 of at most 9,
// change 0.0123"), and within a round, at most once every `quiet`, how many
// specimens have slid ("tarvolin-cli: sliding: round 1 of at most 9, 12 of
// 40 specimens slid"); a fit done sooner says nothing.
//
// Example:
//   rounds.onRound = slideprogress([](std::string_view line) { console().write(line); });

#include <chrono>
#include <functional>
#include <string_view>

#include "numerics/gparounds.h"

namespace tarvolin {

SlideRoundHook slideprogress(std::function<void(std::string_view)> say,
                             std::chrono::steady_clock::duration quiet = std::chrono::seconds(2));

}  // namespace tarvolin
