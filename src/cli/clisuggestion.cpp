#include "cli/clisuggestion.h"

#include <algorithm>
#include <vector>

#include "core/closestword.h"
#include "core/quotedtext.h"

namespace tarvolin {

std::optional<std::string> clisuggestion(const CLI::App& app, int argc, const char* const* argv,
                                         const std::string& refused) {
  // The parser's "Could not convert: --tolerance = abc": a value that is no
  // number, said in the user's words.
  const std::string unconverted = "Could not convert: ";
  if (refused.rfind(unconverted, 0) == 0) {
    const size_t equals = refused.find(" = ", unconverted.size());
    if (equals != std::string::npos) {
      return refused.substr(unconverted.size(), equals - unconverted.size()) +
             " takes a number, not " + quotedtext(refused.substr(equals + 3));
    }
  }
  if (argc < 2) return std::nullopt;
  const std::string first = argv[1];
  if (first.rfind("--", 0) == 0 && first != "--help" && first != "--version") {
    const std::optional<std::string> meant = closestword(first, {"--help", "--version"});
    return "unknown option " + first + (meant ? "; did you mean " + *meant + "?" : "");
  }
  if (first.empty() || first[0] == '-') return std::nullopt;
  std::vector<std::string> commands;
  const CLI::App* command = nullptr;
  for (const CLI::App* sub : app.get_subcommands([](const CLI::App*) { return true; })) {
    commands.push_back(sub->get_name());
    if (sub->get_name() == first) command = sub;
  }
  if (!command) {
    const std::optional<std::string> meant = closestword(first, commands);
    return "unknown command \"" + first + "\"" + (meant ? "; did you mean " + *meant + "?" : "");
  }
  std::vector<std::string> names;
  for (const CLI::Option* option : command->get_options()) {
    for (const std::string& name : option->get_lnames()) names.push_back("--" + name);
    for (const std::string& name : option->get_snames()) names.push_back("-" + name);
  }
  for (int i = 2; i < argc; ++i) {
    const std::string word = argv[i];
    if (word == "--") break;
    const std::string name = word.substr(0, word.find('='));
    if (name.size() < 2 || name[0] != '-' || refused.find(word) == std::string::npos ||
        std::find(names.begin(), names.end(), name) != names.end()) {
      continue;
    }
    // "-x" for "--x": a long option spelt with one dash.
    const std::string doubled = "-" + name;
    const std::optional<std::string> meant =
        name[1] != '-' && std::find(names.begin(), names.end(), doubled) != names.end()
            ? doubled
            : closestword(name, names);
    return "unknown option " + name + " of " + first +
           (meant ? "; did you mean " + *meant + "?" : "");
  }
  return std::nullopt;
}

}  // namespace tarvolin
