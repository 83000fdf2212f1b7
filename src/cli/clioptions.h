#pragma once
// The options of tarvolin-cli's subcommands, as the parser leaves them: a
// word chosen from a list arrives as a member of its enum, never as text to
// compare later. The add* functions declare each group of options on a
// subcommand, with the help texts and the words each option takes.
//
// Example:
//   CliOptions options;
//   CLI::App* info = app.add_subcommand("info", "...");
//   addinputoptions(info, options, false);

#include <CLI/CLI.hpp>
#include <cstdint>
#include <optional>
#include <string>

#include "landmarks/landmarkset.h"
#include "numerics/resolvemissing.h"
#include "numerics/transformx.h"

namespace tarvolin {

// The format FILE is read in: told from its content, or the one --format names.
enum class ReadFormat { content, zor, tps, nts, morphologika, csv, fcsv, mrkjson };
// What --missing asks of missing landmarks; keep only where they can be written.
enum class MissingChoice { refuse, dropSpecimens, dropLandmarks, estimate, keep };
// TPS SCALE=: applied, or the raw coordinates.
enum class ScaleChoice { apply, ignore };
// The superimposition's rounds: three, as the standardization is defined, or until converged.
enum class GpaChoice { three, converged };
// The coordinates pca analyses: superimpose's, or standardize's.
enum class PcaOf { superimposed, standardized };
// How semilandmarks slide: by bending energy, by Procrustes distance, or not at all.
enum class SlideChoice { be, procd, none };
// The order of the rounds of sliding: the field's reference analysis, or refitting to convergence.
enum class SlideOrderChoice { standard, refit };

struct CliOptions {
  std::string file;
  bool tps = false;
  ReadFormat format = ReadFormat::content;
  int dims = 0;
  MissingChoice missing = MissingChoice::refuse;
  std::string missingCode;
  ScaleChoice scale = ScaleChoice::apply;
  LandmarkFormat to = LandmarkFormat::zor;
  std::string output;
  std::string x = "cs";
  Transform transform = Transform::none;
  std::string standard;
  bool keepSize = false;
  std::string script;
  bool strict = false;
  std::string figures;  // empty: found beside the program
  GpaChoice gpa = GpaChoice::three;
  double tolerance = 1e-10;
  std::string groups;
  bool interaction = false;
  int permutations = 999;
  std::string seedText = "1";
  std::uint64_t seed = 1;
  bool json = false;
  // --to given on the command line, not left at its default.
  bool toGiven = false;
  PcaOf of = PcaOf::superimposed;
  int components = 0;  // 0: every component reported
  std::string loadings;
  std::string shapes;
  std::string plot;
  std::string pcs;  // empty: 1,2
  SlideChoice slide = SlideChoice::be;
  std::string sliders;  // empty: the TPS curves, if any
  std::string surface;
  int slideRounds = 9;
  double slideTolerance = 1e-4;
  SlideOrderChoice slideOrder = SlideOrderChoice::standard;
  bool slideOrderGiven = false;
  bool project = false;
  // --slide given, and --slide-rounds or --slide-tolerance given: the data
  // must then have points that slide.
  bool slideGiven = false;
  bool slideRoundsGiven = false;
  // pca --within-groups: standardize along the slope pooled within the
  // groups, as standardize --groups does, instead of the common slope.
  bool withinGroups = false;
};

// Accepts a whole number from `low` to `high`, and says so in words when
// refusing ("takes a whole number from 2 to 3, not \"4\"").
CLI::Validator wholenumber(int low, int high);

// The format --format names; nothing when FILE's content tells it.
std::optional<LandmarkFormat> formatnamed(ReadFormat format);
// The policy --missing names; nothing for keep.
std::optional<MissingPolicy> missingpolicy(MissingChoice missing);
// The words the options take, as the user writes them.
std::string wordof(LandmarkFormat format);
std::string wordof(Transform transform);
std::string wordof(PcaOf of);

// FILE and the options of reading it; `missingKept` offers --missing keep.
void addinputoptions(CLI::App* command, CliOptions& options, bool missingKept);
// -o.
void addresultoption(CLI::App* command, CliOptions& options);
// -o and --to.
void addoutputoptions(CLI::App* command, CliOptions& options);
// --x and --transform.
void addxoptions(CLI::App* command, CliOptions& options);
// --gpa and --tolerance, and the sliding of semilandmarks: --slide,
// --sliders, --surface, --slide-rounds, --slide-tolerance, --slide-order,
// --project.
void addfitoptions(CLI::App* command, CliOptions& options);
// --groups.
CLI::Option* addgroupsoption(CLI::App* command, CliOptions& options);
// --of, --components, --loadings, --shapes, --plot, --pcs, --to and -o.
void addpcaoptions(CLI::App* command, CliOptions& options);

}  // namespace tarvolin
