#include "tarvolincli.h"

#include <CLI/CLI.hpp>
#include <cmath>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "geometry/proposedstandard.h"
#include "geometry/standardizedataset.h"
#include "geometry/transformx.h"
#include "geometry/untransformx.h"
#include "platform/console.h"
#include "platform/errors.h"
#include "platform/readnumber.h"
#include "platform/sprintf.h"
#include "platform/writefileatomic.h"
#include "sessionscript.h"
#include "shapes/standardizedtext.h"
#include "workflow/loadlandmarkfile.h"
#include "workflow/loadxlist.h"
#include "workflow/superimposelandmarks.h"

namespace tarvolin {
namespace {

struct Options {
  std::string file;
  bool tps = false;
  std::string output;
  std::string x = "cs";
  std::string transform = "none";
  std::string standard;
  bool keepSize = false;
  std::string script;
  bool strict = false;
  std::string figures = TARVOLIN_RESOURCES_DIR;
};

LandmarkFile loadData(const Options& options) {
  ScriptedFileDialogs dialogs;
  dialogs.choose(options.file);
  return loadlandmarkfile(dialogs, options.tps);
}

// The x list of the file at `path`: one value per specimen, one per line.
Eigen::VectorXd loadXList(const std::string& path, Eigen::Index specimens) {
  ScriptedFileDialogs dialogs;
  dialogs.choose(path);
  const LoadedMatrix read = loadxlist(dialogs);
  if (read.y.rows() != specimens) {
    throw InputError(read.path, "has " + std::to_string(read.y.rows()) + " values for " +
                                    std::to_string(specimens) +
                                    " specimens; an x list needs one value per specimen");
  }
  return read.y.col(0);
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

// Writes a data set as the standardized-data file is written.
void deliverDataSet(const Options& options, const Eigen::MatrixXd& data,
                    std::optional<double> lastValue, std::ostream& out) {
  if (!data.allFinite() || (lastValue && !std::isfinite(*lastValue))) {
    throw InputError(
        "the result holds numbers too large to represent (is the standard value far outside the "
        "range of x?); nothing was written");
  }
  deliver(
      options, [&](const TextSink& write) { standardizedtext(data, lastValue, write); }, out);
}

void runInfo(const Options& options, std::ostream& out) {
  const LandmarkFile file = loadData(options);
  const Eigen::MatrixXd& data = file.data;
  const Eigen::Index n = data.cols();
  std::string text = sprintf("%s \nhas %i specimens \nwith %i landmarks", file.fname, data.rows(),
                             static_cast<double>(n - 1) / 3.0);
  text += sprintf("\ncentroid size from %4.4f to %4.4f\n", data.col(n - 1).minCoeff(),
                  data.col(n - 1).maxCoeff());
  deliver(options, text, out);
}

void runSuperimpose(const Options& options, std::ostream& out) {
  LandmarkFile file = loadData(options);
  const Eigen::MatrixXd superimposed = superimposelandmarks(std::move(file.data), file.path).data;
  deliverDataSet(options, superimposed, std::nullopt, out);
}

void runStandardize(const Options& options, std::ostream& out) {
  // Each step keeps only what the next needs, so large data sets stay small in memory.
  std::string dataPath;
  Eigen::MatrixXd superimposed;
  {
    LandmarkFile file = loadData(options);
    dataPath = file.path;
    superimposed = superimposelandmarks(std::move(file.data), file.path).data;
  }
  const Eigen::Index n = superimposed.cols();

  const bool useSize = options.x == "cs";
  const Eigen::VectorXd xlist = useSize ? Eigen::VectorXd(superimposed.col(n - 1))
                                        : loadXList(options.x, superimposed.rows());
  const Transform lcode = transformNamed(options.transform);
  const Eigen::VectorXd fxlist = transformx(xlist, lcode, useSize ? dataPath : options.x);

  double svalue = 0;
  if (options.standard.empty()) {
    svalue = proposedstandard(fxlist);
  } else {
    const NumberText typed = readnumber(options.standard);
    if (!typed.value) {
      throw InputError("--standard: \"" + options.standard + "\" " + typed.problemText());
    }
    svalue = *typed.value;
  }

  const Eigen::MatrixXd standardized =
      standardizedataset(std::move(superimposed), fxlist, svalue).data;
  const std::optional<double> lastValue =
      options.keepSize ? std::nullopt : std::optional<double>(untransformx(svalue, lcode));
  deliverDataSet(options, standardized, lastValue, out);
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
  CLI::App app("Tarvolin: Procrustes superimposition and size standardization of 3D landmark data",
               "tarvolin-cli");
  app.require_subcommand(1);

  auto addInput = [&options](CLI::App* command) {
    command->add_option("FILE", options.file, "Landmark file: ZOR format (one specimen per line)")
        ->required();
    command->add_flag("--tps", options.tps,
                      "Read FILE as a TPS-style 3D file (LM= or LM3= records)");
  };
  auto addOutput = [&options](CLI::App* command) {
    command->add_option("-o,--output", options.output,
                        "Write to this file (whole or not at all) instead of standard output");
  };

  CLI::App* info =
      app.add_subcommand("info", "Summarise a landmark file: specimens, landmarks, size range");
  addInput(info);

  CLI::App* superimpose = app.add_subcommand(
      "superimpose",
      "Write the superimposed coordinates and the size column, one specimen per line");
  addInput(superimpose);
  addOutput(superimpose);

  CLI::App* standardize = app.add_subcommand(
      "standardize", "Regress shape on x and write every specimen standardized to one value of x");
  addInput(standardize);
  standardize->add_option("--x", options.x,
                          "x-variable: cs for the size column of FILE (default), or an x-list file "
                          "with one value per specimen (write ./cs for a file named cs)");
  standardize
      ->add_option("--transform", options.transform, "Transform of x: none (default), ln or log10")
      ->check(CLI::IsMember({"none", "ln", "log10"}));
  standardize->add_option("--standard", options.standard,
                          "Standard value on the transformed scale (default: the minimum of the "
                          "transformed x, to four decimals)");
  standardize->add_flag("--keep-size", options.keepSize,
                        "End each line with the specimen's own size instead of the standard value");
  addOutput(standardize);

  CLI::App* run =
      app.add_subcommand("run", "Replay a session script on the main window without a display");
  run->add_option("SCRIPT", options.script, "Session script: one step per line (see README)")
      ->required();
  run->add_flag("--strict", options.strict, "Stop with status 1 at the first error of an action");
  run->add_option("--figures", options.figures, "Folder of the figure files (Tarvolin.fig)");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e, out, err);
    err << "tarvolin-cli: " << e.what() << " (see --help)\n";
    return 2;
  }

  try {
    // Later loads change the working directory to the folder of the file
    // they read, so every path the user gave is fixed now.
    auto absolute = [](std::string& path) {
      if (!path.empty()) path = std::filesystem::absolute(path).lexically_normal().string();
    };
    absolute(options.output);
    if (options.x != "cs") absolute(options.x);

    if (*run) return runsession(options.script, options.figures, options.strict, out, err);
    if (*info) runInfo(options, out);
    if (*superimpose) runSuperimpose(options, out);
    if (*standardize) runStandardize(options, out);
    return 0;
  } catch (const InputError& e) {
    err << "tarvolin-cli: " << e.what() << "\n";
    return 2;
  } catch (const std::exception& e) {
    err << "tarvolin-cli: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace tarvolin
