#pragma once
// The known word a mistyped one was most likely meant to be: the one fewest
// single-letter edits away (a letter left out, added, changed, or two
// neighbours swapped), when that is at most a third of the word's length
// (and at least one edit). Letter case counts as no edit. Of words equally
// near, the first given wins.
//
// word:  what the user typed ("standardise", "--tranform").
// known: the words it may stand for, in the order of preference.
// Returns the closest known word, or nothing when none is near enough.
//
// Example:
//   closestword("standardise", {"info", "standardize"})  -> "standardize"
//   closestword("--tranform", {"--transform", "--to"})   -> "--transform"
//   closestword("frobnicate", {"info", "run"})           -> nothing

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvolin {

std::optional<std::string> closestword(std::string_view word,
                                       const std::vector<std::string>& known);

}  // namespace tarvolin
