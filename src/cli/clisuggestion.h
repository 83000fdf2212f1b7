#pragma once
// What is wrong with a word of tarvolin-cli's command line that names no
// command, or no option of its command, with the one it was most likely
// meant to be.
//
// app: the command line's parser; argc, argv: the words;
// refused: the parser's message, which names the words it refused, so that
//          an option's value such as -99 is never taken for an option.
// Returns the words of the message, or nothing when no word is unknown. A
// value the parser could not convert to a number is said the same way
// ("--tolerance takes a number, not \"abc\"").
//
// Example:
//   clisuggestion(app, 3, {"tarvolin-cli", "standardise", "a.txt"}, "...")
//     -> "unknown command \"standardise\"; did you mean standardize?"

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

namespace tarvolin {

std::optional<std::string> clisuggestion(const CLI::App& app, int argc, const char* const* argv,
                                         const std::string& refused);

}  // namespace tarvolin
