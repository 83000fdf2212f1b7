#include "cli/tarvolincli.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <filesystem>
#include <optional>
#include <string>

#include "cli/clioptions.h"
#include "cli/clisteps.h"
#include "cli/clisuggestion.h"
#include "core/console.h"
#include "core/errors.h"
#include "core/notenoughmemory.h"
#include "core/printable.h"
#include "core/quotedtext.h"

namespace tarvolin {

int runcli(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  // Console echoes (such as a failed rotation check) go to standard error so
  // that results on standard output stay clean.
  struct ConsoleToStderr {
    Console::Sink previous;
    explicit ConsoleToStderr(std::ostream& stream)
        : previous(console().setSink([&stream](std::string_view text) { stream << text; })) {}
    ~ConsoleToStderr() { console().setSink(std::move(previous)); }
  } consoleToStderr(err);

  CliOptions options;
  workingon(0, 0, 0);
  CLI::App app(
      "Tarvolin: Procrustes superimposition and size standardization of 2D and 3D landmark data",
      "tarvolin-cli");
  app.require_subcommand(1);
  app.set_version_flag("--version", "tarvolin-cli " TARVOLIN_VERSION);

  CLI::App* info =
      app.add_subcommand("info", "Summarise a landmark file: specimens, landmarks, size range");
  addinputoptions(info, options, false);
  addfitoptions(info, options);

  CLI::App* check = app.add_subcommand(
      "check",
      "Look the data over before trusting them: specimens far from the mean shape (two landmarks "
      "swapped? a mirror image?), sizes out of line (wrong units?), IDs that repeat or match no "
      "row of a table");
  addinputoptions(check, options, false);
  addfitoptions(check, options);
  check->add_option("--x", options.x,
                    "TABLE:COLUMN of standardize's --x: list the table's rows that match no "
                    "specimen and the specimens that have no row (cs or an x list: nothing to "
                    "match)");
  addgroupsoption(check, options)
      ->description(
          "TABLE:COLUMN of a group table: list its rows that match no specimen and the specimens "
          "that have no row (a file of labels by order: nothing to match)");
  check->add_flag("--json", options.json, "Write the report as JSON");
  addresultoption(check, options);

  CLI::App* superimpose = app.add_subcommand(
      "superimpose",
      "Write the superimposed coordinates and the size column, one specimen per line");
  addinputoptions(superimpose, options, false);
  addfitoptions(superimpose, options);
  addoutputoptions(superimpose, options);

  CLI::App* standardize = app.add_subcommand(
      "standardize", "Regress shape on x and write every specimen standardized to one value of x");
  addinputoptions(standardize, options, false);
  addxoptions(standardize, options);
  addfitoptions(standardize, options);
  addgroupsoption(standardize, options);
  standardize->add_option("--standard", options.standard,
                          "Standard value on the transformed scale (default: the minimum of the "
                          "transformed x, to four decimals)");
  standardize->add_flag("--keep-size", options.keepSize,
                        "End each line with the specimen's own size instead of the standard value");
  addoutputoptions(standardize, options);

  CLI::App* allometry = app.add_subcommand(
      "allometry",
      "Procrustes ANOVA of shape on x: how much of the shape variation size explains, with "
      "p-values from permuted residuals");
  addinputoptions(allometry, options, false);
  addxoptions(allometry, options);
  addfitoptions(allometry, options);
  CLI::Option* allometryGroups = addgroupsoption(allometry, options);
  allometry
      ->add_flag("--interaction", options.interaction,
                 "With --groups: add the size:group term (a slope of its own for each group)")
      ->needs(allometryGroups);
  allometry
      ->add_option("--permutations", options.permutations,
                   "Permutations of the residuals for the p-values (default 999)")
      ->check(wholenumber(0, 100000));
  allometry->add_option("--seed", options.seedText,
                        "Seed of the permutations (default 1: a run repeats exactly)");
  allometry->add_flag("--json", options.json, "Write the table as JSON");
  addresultoption(allometry, options);

  CLI::App* pca = app.add_subcommand(
      "pca",
      "Principal components of shape: the components' share of the variance and each "
      "specimen's scores, before or after size standardization");
  addinputoptions(pca, options, false);
  addxoptions(pca, options);
  addfitoptions(pca, options);
  addgroupsoption(pca, options)
      ->description(
          "Groups of the specimens (a file of one label per line in the order of FILE, or "
          "TABLE:COLUMN): coloured in --plot (with --of standardized the common slope is used, "
          "as in the window, unless --within-groups is given)");
  pca->add_flag("--within-groups", options.withinGroups,
                "With --of standardized and --groups: standardize along the slope pooled within "
                "the groups, as standardize --groups does, instead of the common slope");
  pca->add_option("--standard", options.standard,
                  "With --of standardized: the standard value on the transformed scale (default: "
                  "the minimum of the transformed x, to four decimals)");
  addpcaoptions(pca, options);
  pca->add_flag("--json", options.json, "Write the components and scores as JSON");

  CLI::App* convert = app.add_subcommand(
      "convert", "Write the landmark data of FILE in another format, as read (nothing computed)");
  addinputoptions(convert, options, true);
  addoutputoptions(convert, options);

  CLI::App* run =
      app.add_subcommand("run", "Replay a session script on the main window without a display");
  run->add_option("SCRIPT", options.script, "Session script: one step per line (see man tarvolin)")
      ->required();
  run->add_flag("--strict", options.strict, "Stop with status 1 at the first error of an action");
  run->add_option("--figures", options.figures,
                  "Folder of the figure files (Tarvolin.fig); default: the installed ones");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e, out, err);
    const std::optional<std::string> unknown = clisuggestion(app, argc, argv, e.what());
    err << "tarvolin-cli: " << printable(unknown ? *unknown : std::string(e.what()))
        << " (see --help)\n";
    return 2;
  }

  try {
    // The messages name the files of the result, x and the groups in full,
    // as they always have; nothing here changes the working directory.
    auto absolute = [](std::string& path) {
      if (!path.empty()) path = std::filesystem::absolute(path).lexically_normal().string();
    };
    absolute(options.output);
    absolute(options.loadings);
    absolute(options.shapes);
    absolute(options.plot);
    if (options.x != "cs") absolute(options.x);
    if (!options.groups.empty()) absolute(options.groups);
    // Read here: a plain conversion would take -1 for 2^64 - 1.
    const auto [end, error] = std::from_chars(
        options.seedText.data(), options.seedText.data() + options.seedText.size(), options.seed);
    if (error != std::errc() || end != options.seedText.data() + options.seedText.size()) {
      throw InputError("--seed must be a whole number from 0 to 18446744073709551615, not " +
                       quotedtext(options.seedText))
          .concerning(Input::option);
    }

    refuseclashingfiles(options);
    if (*run) return runsessioncommand(options, argc > 0 ? argv[0] : nullptr, out, err);
    if (*info) runinfo(options, out, err);
    if (*check) runcheck(options, out, err);
    if (*superimpose) runsuperimpose(options, out, err);
    if (*standardize) runstandardize(options, out, err);
    if (*convert) runconvert(options, out, err);
    if (*allometry) runallometry(options, out, err);
    if (*pca) runpca(options, out, err);
    return 0;
  } catch (const InputError& e) {
    err << "tarvolin-cli: " << printable(e.what(), true) << "\n";
    return 2;
  } catch (const std::bad_alloc&) {
    err << "tarvolin-cli: " << notenoughmemory() << "\n";
    return 1;
  } catch (const std::exception& e) {
    err << "tarvolin-cli: " << printable(e.what(), true) << "\n";
    return 1;
  }
}

}  // namespace tarvolin
