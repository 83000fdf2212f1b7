#include "cli/tarvolincli.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "cli/clisuggestion.h"
#include "cli/estimateprogress.h"
#include "core/console.h"
#include "core/errors.h"
#include "core/nonfinite.h"
#include "core/notenoughmemory.h"
#include "core/printable.h"
#include "core/quotedtext.h"
#include "core/readnumber.h"
#include "core/readtextfile.h"
#include "core/sprintf.h"
#include "core/writefileatomic.h"
#include "formats/dload.h"
#include "formats/landmarktext.h"
#include "formats/readcovariate.h"
#include "formats/readgroups.h"
#include "formats/readlandmarks.h"
#include "formats/refusemixedscales.h"
#include "numerics/checklandmarkdata.h"
#include "numerics/gparounds.h"
#include "numerics/proposedstandard.h"
#include "numerics/resolvemissing.h"
#include "numerics/standardizegroups.h"
#include "numerics/standardsize.h"
#include "numerics/standardvalueoutside.h"
#include "numerics/transformx.h"
#include "numerics/untransformx.h"
#include "numerics/withcentroidsize.h"
#include "runtime/figurefolder.h"
#include "runtime/sessionscript.h"
#include "workflows/allometryreport.h"
#include "workflows/allometrytable.h"
#include "workflows/gettpsfile3D.h"
#include "workflows/superimposelandmarks.h"

namespace tarvolin {
namespace {

struct Options {
  std::string file;
  bool tps = false;
  std::string format;
  int dims = 0;
  std::string missing = "refuse";
  std::string missingCode;
  std::string scale = "apply";
  std::string to = "zor";
  std::string output;
  std::string x = "cs";
  std::string transform = "none";
  std::string standard;
  bool keepSize = false;
  std::string script;
  bool strict = false;
  std::string figures;  // empty: found beside the program
  std::string gpa = "three";
  double tolerance = 1e-10;
  std::string groups;
  bool interaction = false;
  int permutations = 999;
  std::string seedText = "1";
  std::uint64_t seed = 1;
  bool json = false;
};

const std::map<std::string, LandmarkFormat> kFormats = {
    {"zor", LandmarkFormat::zor},        {"tps", LandmarkFormat::tps},
    {"nts", LandmarkFormat::nts},        {"morphologika", LandmarkFormat::morphologika},
    {"csv", LandmarkFormat::csv},        {"fcsv", LandmarkFormat::fcsv},
    {"mrkjson", LandmarkFormat::mrkjson}};

const std::map<std::string, MissingPolicy> kMissingPolicies = {
    {"refuse", MissingPolicy::refuse},
    {"drop-specimens", MissingPolicy::dropSpecimens},
    {"drop-landmarks", MissingPolicy::dropLandmarks},
    {"estimate", MissingPolicy::estimate}};

std::string bareName(const std::string& path) {
  const std::filesystem::path p(path);
  return p.has_filename() ? p.filename().string() : p.parent_path().filename().string();
}

// The landmark set of FILE as read, before missing landmarks are dealt with.
LandmarkSet readData(const Options& options, LandmarkFormat& format) {
  if (options.tps) {
    // The window's reader of TPS-style 3D files, kept for what it accepts.
    std::string text;
    std::string reason;
    if (!readtextfile(options.file, text, reason)) {
      throw InputError(options.file, "cannot be opened: " + reason);
    }
    const TpsFile read = parsetps3D(text, options.file, options.scale == "ignore");
    LandmarkSet set = landmarksetof(withcentroidsize(read.y, read.scale), 3);
    // The coordinates are as measured and the sizes scaled: each writer
    // then puts them in one unit, as for the other readers.
    if ((read.scale.array() != 1).any()) set.scale = read.scale;
    set.path = options.file;
    format = LandmarkFormat::tps;
    return set;
  }
  ReadOptions readOptions;
  readOptions.dims = options.dims;
  readOptions.ignoreScale = options.scale == "ignore";
  if (!options.missingCode.empty()) {
    const NumberText code = readnumber(options.missingCode);
    if (!code.value) {
      throw InputError("--missing-code: \"" + options.missingCode + "\" " + code.problemText());
    }
    readOptions.missingCode = code.value;
  }
  std::optional<LandmarkFormat> forced;
  if (!options.format.empty()) forced = kFormats.at(options.format);
  LandmarkSet set = readlandmarks(options.file, forced, readOptions, false, &format);
  if (options.dims != 0 && set.dims != options.dims) {
    throw InputError(set.path, "holds " + std::to_string(set.dims) + "D landmarks, but --dim " +
                                   std::to_string(options.dims) + " was given");
  }
  return set;
}

// The landmark set of FILE, its missing landmarks dealt with as --missing
// says. `rowsAreLines` tells whether row i was line i of FILE.
LandmarkSet loadData(const Options& options, std::ostream& err, bool& rowsAreLines) {
  LandmarkFormat format = LandmarkFormat::zor;
  std::error_code noSize;
  const std::uintmax_t bytes = std::filesystem::file_size(options.file, noSize);
  workingonfile(options.file, noSize ? 0 : bytes);
  LandmarkSet set;
  try {
    set = readData(options, format);
  } catch (const MixedScaleError& e) {
    throw InputError(e.file(), e.line(), e.message() + " (--scale ignore)");
  }
  workingon(set.specimens(), set.landmarks(), set.dims);
  for (const std::string& note : set.notes) err << "tarvolin-cli: " << printable(note) << "\n";
  rowsAreLines = format == LandmarkFormat::zor && !options.tps;
  if (!set.notice.empty()) err << "tarvolin-cli: " << set.path << ": " << set.notice << "\n";
  if (options.missing != "keep") {
    MissingReport report;
    try {
      report = resolvemissing(set, kMissingPolicies.at(options.missing), consoleSink(),
                              estimateprogress(err));
    } catch (const InputError& e) {
      if (options.missing != "refuse") throw;
      throw InputError(e.file(), e.line(),
                       e.message() +
                           "\n(--missing drop-specimens, drop-landmarks or estimate deal with "
                           "them)");
    }
    if (!report.summary.empty()) err << "tarvolin-cli: " << report.summary << "\n";
  }
  return set;
}

// The data set of `set` (N x (d k + 1)), checked to be one that can be
// superimposed. It takes over the memory of set.coords, which it leaves
// empty: a large data set is never held twice.
Eigen::MatrixXd checkedDataSet(LandmarkSet& set, bool rowsAreLines) {
  const std::string path = set.path;
  const int dims = set.dims;
  Eigen::MatrixXd data = landmarkdataset(std::move(set));
  checklandmarkdata(data, path, rowsAreLines, dims);
  return data;
}

// The x list of the file at `path`: one value per specimen, one per line.
Eigen::VectorXd loadXList(const std::string& path, Eigen::Index specimens, std::ostream& err) {
  std::string reason;
  std::string notice;
  const Eigen::MatrixXd read = dload(path, &reason, &notice);
  if (!reason.empty()) throw InputError(path, "cannot be opened: " + reason);
  if (!notice.empty()) err << "tarvolin-cli: " << path << ": " << notice << "\n";
  if (read.cols() != 1) {
    throw InputError(path, 1,
                     "has " + std::to_string(read.cols()) +
                         " numbers on a line; an x list holds one value per line");
  }
  if (read.rows() != specimens) {
    throw InputError(path, "has " + std::to_string(read.rows()) + " values for " +
                               std::to_string(specimens) +
                               " specimens; an x list needs one value per specimen");
  }
  return read.col(0);
}

// The x-variable --x names: cs, a table's column (TABLE:COLUMN, matched by
// specimen ID), or a list by order. Sets `source` to the file it came from.
Eigen::VectorXd loadX(const Options& options, const LandmarkSet& set, std::string& source,
                      std::ostream& err) {
  if (options.x == "cs") {
    source = set.path;
    return set.size;
  }
  std::error_code error;
  const size_t colon = options.x.rfind(':');
  if (!std::filesystem::exists(options.x, error) && colon != std::string::npos && colon > 0) {
    source = options.x.substr(0, colon);
    return readcovariate(source, options.x.substr(colon + 1), set.ids);
  }
  source = options.x;
  return loadXList(options.x, set.specimens(), err);
}

Transform transformNamed(const std::string& name) {
  if (name == "ln") return Transform::ln;
  if (name == "log10") return Transform::log10;
  return Transform::none;
}

// Sends the text that `produce` writes to standard output, or to the file
// named in -o, whole or not at all.
void deliver(const Options& options, const std::function<void(const TextSink&)>& produce,
             std::ostream& out) {
  if (options.output.empty()) {
    produce([&out](std::string_view piece) {
      out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    });
    out.flush();
    if (!out) throw OutputError("cannot write the result to standard output");
  } else {
    writefileatomic(options.output, produce);
  }
}

void deliver(const Options& options, const std::string& text, std::ostream& out) {
  deliver(
      options, [&text](const TextSink& write) { write(text); }, out);
}

// Writes a landmark set in the format --to names. `superimposed` says that
// the coordinates are a superimposition's, which are finite: a large data
// set is then not looked through once more.
// A conversion writes every digit it read, ZOR included; a result, six.
void deliverSet(const Options& options, const LandmarkSet& set, std::optional<double> lastValue,
                std::ostream& out, bool superimposed = false) {
  const bool missingKept = options.missing == "keep" && set.hasMissing();
  if ((!missingKept && !superimposed && nonfinite(set.coords).any()) ||
      (!missingKept && !set.size.allFinite() && !lastValue) ||
      (lastValue && !std::isfinite(*lastValue))) {
    throw InputError(
        "the result holds numbers too large to represent (is the standard value far outside the "
        "range of x?); nothing was written");
  }
  const LandmarkFormat to = kFormats.at(options.to);
  deliver(
      options,
      [&](const TextSink& write) {
        landmarktext(set, to, lastValue, write, superimposed ? ZorDigits::six : ZorDigits::exact);
      },
      out);
}

// The rounds of the superimposition --gpa and --tolerance ask for.
GpaRounds roundsOf(const Options& options) {
  GpaRounds rounds;
  rounds.converge = options.gpa == "converged";
  if (!(options.tolerance >= 0)) {
    throw InputError("--tolerance must be a number of at least 0, not " +
                     sprintf("%g", options.tolerance));
  }
  rounds.tolerance = options.tolerance;
  return rounds;
}

// The groups --groups names, or none.
std::optional<SpecimenGroups> groupsOf(const Options& options, const LandmarkSet& set) {
  if (options.groups.empty()) return std::nullopt;
  return readgroups(options.groups, set.ids);
}

// An error of the regression, which knows its numbers but not their files:
// a group's to the groups' file, x's to x's, others to the data's.
[[noreturn]] void blame(const InputError& e, const std::optional<SpecimenGroups>& groups,
                        const std::string& xSource, const std::string& dataPath) {
  if (!e.file().empty()) throw e;
  const std::string& m = e.message();
  if (groups && m.find("group") != std::string::npos) throw InputError(groups->source, m);
  if (m.find("x value") != std::string::npos || m.find("x does not") != std::string::npos ||
      m.find("standard value") != std::string::npos) {
    throw InputError(xSource, m);
  }
  throw InputError(dataPath, m);
}

void runInfo(const Options& options, std::ostream& out, std::ostream& err) {
  bool rowsAreLines = false;
  LandmarkSet set = loadData(options, err, rowsAreLines);
  const Eigen::Index n = set.specimens();
  const Eigen::Index k = set.landmarks();
  const SuperimposedDataSet superimposed =
      superimposelandmarks(checkedDataSet(set, rowsAreLines), set.path, set.dims,
                           /*withStack=*/false, roundsOf(options));
  std::string text = sprintf("%s \nhas %i specimens \nwith %i landmarks", bareName(set.path), n, k);
  text +=
      sprintf("\ncentroid size from %4.4f to %4.4f\n", set.size.minCoeff(), set.size.maxCoeff());
  text += sprintf("%iD landmarks; specimens %s to %s\n", set.dims, printable(set.ids.front()),
                  printable(set.ids.back()));
  const auto semilandmarks = std::count(set.semilandmark.begin(), set.semilandmark.end(), true);
  if (semilandmarks > 0) {
    text += sprintf("of the landmarks, the last %i are semilandmarks\n",
                    static_cast<double>(semilandmarks));
  }
  text += "superimposition: " + gpareporttext(superimposed.fit) + "\n";
  deliver(options, text, out);
}

// Puts the coordinates of the data set rows `data` (coordinates, then the
// size column, which is not taken) into `set`.
void takeCoordinates(LandmarkSet& set, Eigen::MatrixXd data) {
  data.conservativeResize(Eigen::NoChange, data.cols() - 1);
  set.coords = std::move(data);
  // Superimposed coordinates are of centroid size 1, in no unit: no scale
  // factor applies to them (the size column keeps each specimen's).
  set.scale.resize(0);
}

void runSuperimpose(const Options& options, std::ostream& out, std::ostream& err) {
  bool rowsAreLines = false;
  LandmarkSet set = loadData(options, err, rowsAreLines);
  Eigen::MatrixXd data = checkedDataSet(set, rowsAreLines);
  SuperimposedDataSet superimposed = superimposelandmarks(std::move(data), set.path, set.dims,
                                                          /*withStack=*/false, roundsOf(options));
  if (options.gpa == "converged")
    err << "tarvolin-cli: " << gpareporttext(superimposed.fit) << "\n";
  takeCoordinates(set, std::move(superimposed.data));
  deliverSet(options, set, std::nullopt, out, /*superimposed=*/true);
}

void runStandardize(const Options& options, std::ostream& out, std::ostream& err) {
  bool rowsAreLines = false;
  LandmarkSet set = loadData(options, err, rowsAreLines);
  std::string source;
  const Eigen::VectorXd xlist = loadX(options, set, source, err);
  const Transform lcode = transformNamed(options.transform);
  const Eigen::VectorXd fxlist = transformx(xlist, lcode, source);
  const std::optional<SpecimenGroups> groups = groupsOf(options, set);
  const GpaRounds rounds = roundsOf(options);

  // Each step keeps only what the next needs, so large data sets stay small in memory.
  Eigen::MatrixXd superimposed =
      superimposelandmarks(checkedDataSet(set, rowsAreLines), set.path, set.dims,
                           /*withStack=*/false, rounds)
          .data;

  double svalue = 0;
  if (options.standard.empty()) {
    svalue = proposedstandard(fxlist);
  } else {
    const NumberText typed = readnumber(options.standard);
    if (!typed.value) {
      throw InputError("--standard: \"" + options.standard + "\" " + typed.problemText());
    }
    svalue = *typed.value;
    if (const std::optional<std::string> outside =
            standardvalueoutside(options.standard, svalue, fxlist, lcode)) {
      err << "tarvolin-cli: " << *outside << "\n";
    }
  }

  Eigen::MatrixXd standardized;
  try {
    standardized =
        groups && groups->names.size() > 1
            ? standardizegroups(std::move(superimposed), fxlist, svalue, groups->of, groups->names)
                  .y
            : standardsize(std::move(superimposed), fxlist, svalue).y;
  } catch (const InputError& e) {
    blame(e, groups, source, set.path);
  }
  takeCoordinates(set, superimposelandmarks(std::move(standardized), set.path, set.dims,
                                            /*withStack=*/false, rounds)
                           .data);
  const std::optional<double> lastValue =
      options.keepSize ? std::nullopt : std::optional<double>(untransformx(svalue, lcode));
  deliverSet(options, set, lastValue, out, /*superimposed=*/true);
}

void runAllometry(const Options& options, std::ostream& out, std::ostream& err) {
  bool rowsAreLines = false;
  LandmarkSet set = loadData(options, err, rowsAreLines);
  std::string source;
  const Eigen::VectorXd xlist = loadX(options, set, source, err);
  const Eigen::VectorXd fxlist = transformx(xlist, transformNamed(options.transform), source);
  const std::optional<SpecimenGroups> groups = groupsOf(options, set);

  const std::string path = set.path;
  const int dims = set.dims;
  const SuperimposedDataSet superimposed = superimposelandmarks(
      checkedDataSet(set, rowsAreLines), path, dims, /*withStack=*/false, roundsOf(options));
  const std::string fit = gpareporttext(superimposed.fit);
  // x as the report names it: a table's column with the table's name.
  std::string xName = options.x == "cs" ? "centroid size" : bareName(source);
  if (options.x != "cs" && options.x.size() > source.size() + 1 && options.x.starts_with(source) &&
      options.x[source.size()] == ':') {
    xName += options.x.substr(source.size());
  }
  // The report the windows show, with the permutations asked for here.
  AllometryReport report;
  try {
    report =
        allometryreport(superimposed.data, fxlist, {xName, options.transform}, bareName(path), dims,
                        fit, groups, {options.permutations, options.seed, options.interaction});
  } catch (const InputError& e) {
    blame(e, groups, source, path);
  }
  if (options.json) {
    deliver(options, report.json, out);
    return;
  }
  deliver(options, report.text, out);
}

void runConvert(const Options& options, std::ostream& out, std::ostream& err) {
  bool rowsAreLines = false;
  const LandmarkSet set = loadData(options, err, rowsAreLines);
  if (options.to != "tps" && set.scale.size() != 0 && (set.scale.array() != 1).any()) {
    err << "tarvolin-cli: " << options.to
        << " has no SCALE=: the coordinates are written times their scale factors, in the units "
           "of the size\n";
  }
  deliverSet(options, set, std::nullopt, out);
}

}  // namespace

int runcli(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  // Console echoes (such as a failed rotation check) go to standard error so
  // that results on standard output stay clean.
  struct ConsoleToStderr {
    Console::Sink previous;
    explicit ConsoleToStderr(std::ostream& stream)
        : previous(console().setSink([&stream](std::string_view text) { stream << text; })) {}
    ~ConsoleToStderr() { console().setSink(std::move(previous)); }
  } consoleToStderr(err);

  Options options;
  workingon(0, 0, 0);
  CLI::App app(
      "Tarvolin: Procrustes superimposition and size standardization of 2D and 3D landmark data",
      "tarvolin-cli");
  app.require_subcommand(1);
  app.set_version_flag("--version", "tarvolin-cli " TARVOLIN_VERSION);

  auto addInput = [&options](CLI::App* command, bool missingKept) {
    command
        ->add_option("FILE", options.file,
                     "Landmark file, or a folder of 3D Slicer markups (.fcsv or .mrk.json, one "
                     "specimen per file); the format is told from the content")
        ->required();
    command->add_flag("--tps", options.tps,
                      "Read FILE with the window's reader of TPS-style 3D files (LM= or LM3= "
                      "records, 3D only)");
    command
        ->add_option("--format", options.format,
                     "Read FILE in this format instead of telling it from the content: zor, tps, "
                     "nts, morphologika, csv, fcsv or mrkjson")
        ->check(CLI::IsMember({"zor", "tps", "nts", "morphologika", "csv", "fcsv", "mrkjson"}))
        ->excludes("--tps");
    command
        ->add_option("--dim", options.dims,
                     "Dimension of the landmarks, 2 or 3, for ZOR rows and tables (default 3); "
                     "files that state it must agree")
        ->check(CLI::IsMember({2, 3}));
    std::vector<std::string> policies = {"refuse", "drop-specimens", "drop-landmarks", "estimate"};
    std::string help =
        "Missing landmarks: refuse (default; lists them), drop-specimens, drop-landmarks, or "
        "estimate (thin-plate spline from the mean of the complete specimens)";
    if (missingKept) {
      policies.push_back("keep");
      help += ", or keep (write them as missing)";
    }
    command->add_option("--missing", options.missing, help)->check(CLI::IsMember(policies));
    command->add_option("--missing-code", options.missingCode,
                        "A coordinate equal to this value is missing (for example -99 or 9999); "
                        "NA and NaN always are");
    command
        ->add_option("--scale", options.scale,
                     "TPS SCALE=: apply (default; a file in which only some records have one is "
                     "refused) or ignore (the raw coordinates of every record)")
        ->check(CLI::IsMember({"apply", "ignore"}));
  };
  auto addOutput = [&options](CLI::App* command) {
    command->add_option("-o,--output", options.output,
                        "Write to this file (whole or not at all) instead of standard output");
    command
        ->add_option("--to", options.to,
                     "Format to write: zor (default; one specimen per line, no IDs), csv, tps, "
                     "nts or morphologika")
        ->check(CLI::IsMember({"zor", "csv", "tps", "nts", "morphologika"}));
  };

  auto addX = [&options](CLI::App* command) {
    command->add_option(
        "--x", options.x,
        "x-variable: cs for the size column of FILE (default); TABLE:COLUMN for a column of a "
        "CSV or tab-separated table whose first column holds the specimen IDs (matched by ID); "
        "or an x-list file with one value per specimen, in the order of FILE (write ./cs for a "
        "file named cs)");
    command
        ->add_option("--transform", options.transform,
                     "Transform of x: none (default), ln or log10")
        ->check(CLI::IsMember({"none", "ln", "log10"}));
  };

  auto addFit = [&options](CLI::App* command) {
    command
        ->add_option("--gpa", options.gpa,
                     "Superimposition: three (default; three rounds, as the standardization is "
                     "defined) or converged (rounds until the mean shape changes by at most "
                     "--tolerance)")
        ->check(CLI::IsMember({"three", "converged"}));
    command->add_option("--tolerance", options.tolerance,
                        "With --gpa converged: the largest change of the mean shape (the root of "
                        "its summed squared coordinate changes) that ends the rounds (default "
                        "1e-10)");
  };
  auto addGroups = [&options](CLI::App* command) {
    return command->add_option("--groups", options.groups,
                               "Groups of the specimens: a file of one label per line, in the "
                               "order of FILE, or TABLE:COLUMN for a column of a table whose first "
                               "column holds the specimen IDs");
  };

  CLI::App* info =
      app.add_subcommand("info", "Summarise a landmark file: specimens, landmarks, size range");
  addInput(info, false);
  addFit(info);

  CLI::App* superimpose = app.add_subcommand(
      "superimpose",
      "Write the superimposed coordinates and the size column, one specimen per line");
  addInput(superimpose, false);
  addFit(superimpose);
  addOutput(superimpose);

  CLI::App* standardize = app.add_subcommand(
      "standardize", "Regress shape on x and write every specimen standardized to one value of x");
  addInput(standardize, false);
  addX(standardize);
  addFit(standardize);
  addGroups(standardize);
  standardize->add_option("--standard", options.standard,
                          "Standard value on the transformed scale (default: the minimum of the "
                          "transformed x, to four decimals)");
  standardize->add_flag("--keep-size", options.keepSize,
                        "End each line with the specimen's own size instead of the standard value");
  addOutput(standardize);

  CLI::App* allometry = app.add_subcommand(
      "allometry",
      "Procrustes ANOVA of shape on x: how much of the shape variation size explains, with "
      "p-values from permuted residuals");
  addInput(allometry, false);
  addX(allometry);
  addFit(allometry);
  CLI::Option* allometryGroups = addGroups(allometry);
  allometry
      ->add_flag("--interaction", options.interaction,
                 "With --groups: add the size:group term (a slope of its own for each group)")
      ->needs(allometryGroups);
  allometry
      ->add_option("--permutations", options.permutations,
                   "Permutations of the residuals for the p-values (default 999)")
      ->check(CLI::Range(0, 100000));
  allometry->add_option("--seed", options.seedText,
                        "Seed of the permutations (default 1: a run repeats exactly)");
  allometry->add_flag("--json", options.json, "Write the table as JSON");
  allometry->add_option("-o,--output", options.output,
                        "Write to this file (whole or not at all) instead of standard output");

  CLI::App* convert = app.add_subcommand(
      "convert", "Write the landmark data of FILE in another format, as read (nothing computed)");
  addInput(convert, true);
  addOutput(convert);

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
    // A session script's loads change the working directory to the folder
    // of the file they read, so every path the user gave is fixed now.
    auto absolute = [](std::string& path) {
      if (!path.empty()) path = std::filesystem::absolute(path).lexically_normal().string();
    };
    absolute(options.output);
    if (options.x != "cs") absolute(options.x);
    if (!options.groups.empty()) absolute(options.groups);
    absolute(options.figures);
    // Read here: a plain conversion would take -1 for 2^64 - 1.
    const auto [end, error] = std::from_chars(
        options.seedText.data(), options.seedText.data() + options.seedText.size(), options.seed);
    if (error != std::errc() || end != options.seedText.data() + options.seedText.size()) {
      throw InputError("--seed must be a whole number from 0 to 18446744073709551615, not " +
                       quotedtext(options.seedText));
    }

    if (*run) {
      if (options.figures.empty()) {
        options.figures = installedfigurefolder(argc > 0 ? argv[0] : nullptr).string();
      }
      return runsession(options.script, options.figures, options.strict, out, err);
    }
    if (*info) runInfo(options, out, err);
    if (*superimpose) runSuperimpose(options, out, err);
    if (*standardize) runStandardize(options, out, err);
    if (*convert) runConvert(options, out, err);
    if (*allometry) runAllometry(options, out, err);
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
