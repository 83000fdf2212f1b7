#include <CLI/CLI.hpp>
#include <cctype>
#include <filesystem>
#include <stdexcept>

#include "core/closestword.h"
#include "desktop/rundesktop.h"

namespace tarvolin {
namespace {

// Whether a word of the command line is meant as a file rather than a
// word for the main window function (a callback's name or a number): it
// holds a path separator or ends in a name extension (".tps").
bool looksLikeAFile(const std::string& word) {
  if (word.find('/') != std::string::npos) return true;
  const size_t dot = word.rfind('.');
  return dot != std::string::npos && dot + 1 < word.size() &&
         std::isalpha(static_cast<unsigned char>(word[dot + 1])) != 0;
}

}  // namespace

DesktopOptions desktopoptions(int argc, const char* const* argv) {
  // The parser the command line uses, its own help switched off: --help
  // prints desktophelp, and the words it does not know are the main
  // window's (a file to load, a callback and its numbers).
  DesktopOptions options;
  CLI::App app("tarvolin", "tarvolin");
  app.set_help_flag();
  app.allow_extras();
  const auto last = CLI::MultiOptionPolicy::TakeLast;
  app.add_flag("--version", options.version)->multi_option_policy(last);
  app.add_flag("--help", options.help)->multi_option_policy(last);
  app.add_flag("--strict", options.strict)->multi_option_policy(last);
  std::string script, screenshots, figures;
  CLI::Option* run = app.add_option("--run", script)->multi_option_policy(last);
  CLI::Option* shots = app.add_option("--screenshots", screenshots)->multi_option_policy(last);
  CLI::Option* folder = app.add_option("--figures", figures)->multi_option_policy(last);
  if (argc > 1) {
    const std::string end = argv[argc - 1];
    if (end == "--run" || end == "--screenshots" || end == "--figures") {
      throw std::invalid_argument(end + " needs a value");
    }
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    throw std::invalid_argument(e.what());
  }
  if (*run) options.script = script;
  if (*shots) options.screenshots = screenshots;
  if (*folder) options.figures = figures;

  for (const std::string& word : app.remaining()) {
    if (word.rfind("--", 0) == 0 && word != "--") {
      const std::optional<std::string> meant = closestword(
          word, {"--version", "--help", "--strict", "--run", "--screenshots", "--figures"});
      throw std::invalid_argument("unknown option " + word +
                                  (meant ? "; did you mean " + *meant + "?" : ""));
    }
    std::error_code error;
    if (std::filesystem::exists(word, error)) {
      if (options.data) {
        throw std::invalid_argument("give one data file, not " + *options.data + " and " + word);
      }
      options.data = word;
    } else if (looksLikeAFile(word)) {
      throw std::invalid_argument(word + ": there is no such file or folder");
    } else {
      options.words.push_back(word);
    }
  }
  if (options.screenshots && !options.script) {
    throw std::invalid_argument("--screenshots needs --run SCRIPT");
  }
  if (options.strict && !options.script) throw std::invalid_argument("--strict needs --run SCRIPT");
  if (options.data && options.script) {
    throw std::invalid_argument("a script chooses its own files: give either FILE or --run SCRIPT");
  }
  return options;
}

}  // namespace tarvolin
