#include "cli/clioptions.h"

#include <charconv>
#include <limits>
#include <utility>
#include <vector>

namespace tarvolin {
namespace {

template <typename E>
using Words = std::vector<std::pair<std::string, E>>;

const Words<ReadFormat> kReadFormats = {
    {"zor", ReadFormat::zor},        {"tps", ReadFormat::tps},
    {"nts", ReadFormat::nts},        {"morphologika", ReadFormat::morphologika},
    {"csv", ReadFormat::csv},        {"fcsv", ReadFormat::fcsv},
    {"mrkjson", ReadFormat::mrkjson}};

const Words<LandmarkFormat> kWrittenFormats = {{"zor", LandmarkFormat::zor},
                                               {"csv", LandmarkFormat::csv},
                                               {"tps", LandmarkFormat::tps},
                                               {"nts", LandmarkFormat::nts},
                                               {"morphologika", LandmarkFormat::morphologika}};

const Words<Transform> kTransforms = {
    {"none", Transform::none}, {"ln", Transform::ln}, {"log10", Transform::log10}};

const Words<PcaOf> kPcaOf = {{"superimposed", PcaOf::superimposed},
                             {"standardized", PcaOf::standardized}};

// A word from `words`, turned into its enum member as the parser reads it.
// The check and its message are IsMember's, so that a refused word reads
// as it always has, and so does the help.
template <typename E>
CLI::Validator oneof(const Words<E>& words) {
  std::vector<std::string> names;
  for (const auto& [name, member] : words) names.push_back(name);
  const CLI::Validator member = CLI::IsMember(names);
  return CLI::Validator(
      [member, words](std::string& word) {
        std::string problem = member(word);
        if (!problem.empty()) return problem;
        for (const auto& [name, value] : words) {
          if (name == word) word = std::to_string(static_cast<int>(value));
        }
        return std::string();
      },
      member.get_description(), member.get_name());
}

// A file's name: an empty one ('' on the command line) names none, and
// would otherwise be taken as no option at all.
const CLI::Validator kFileName(
    [](const std::string& name) {
      return name.empty() ? std::string("an empty name names no file") : std::string();
    },
    "", "file name");

// An option that names a file, refused empty.
CLI::Option* addfileoption(CLI::App* command, const std::string& name, std::string& path,
                           const std::string& help) {
  return command->add_option(name, path, help)->check(kFileName);
}

}  // namespace

CLI::Validator wholenumber(int low, int high) {
  return CLI::Validator(
      [low, high](const std::string& text) {
        int value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error == std::errc() && end == text.data() + text.size() && value >= low &&
            value <= high) {
          return std::string();
        }
        return high == std::numeric_limits<int>::max()
                   ? "takes a whole number of at least " + std::to_string(low) + ", not \"" + text +
                         "\""
                   : "takes a whole number from " + std::to_string(low) + " to " +
                         std::to_string(high) + ", not \"" + text + "\"";
      },
      "", "whole number");
}

std::optional<LandmarkFormat> formatnamed(ReadFormat format) {
  switch (format) {
    case ReadFormat::content:
      return std::nullopt;
    case ReadFormat::zor:
      return LandmarkFormat::zor;
    case ReadFormat::tps:
      return LandmarkFormat::tps;
    case ReadFormat::nts:
      return LandmarkFormat::nts;
    case ReadFormat::morphologika:
      return LandmarkFormat::morphologika;
    case ReadFormat::csv:
      return LandmarkFormat::csv;
    case ReadFormat::fcsv:
      return LandmarkFormat::fcsv;
    case ReadFormat::mrkjson:
      return LandmarkFormat::mrkjson;
  }
  return std::nullopt;
}

std::optional<MissingPolicy> missingpolicy(MissingChoice missing) {
  switch (missing) {
    case MissingChoice::refuse:
      return MissingPolicy::refuse;
    case MissingChoice::dropSpecimens:
      return MissingPolicy::dropSpecimens;
    case MissingChoice::dropLandmarks:
      return MissingPolicy::dropLandmarks;
    case MissingChoice::estimate:
      return MissingPolicy::estimate;
    case MissingChoice::keep:
      return std::nullopt;
  }
  return std::nullopt;
}

std::string wordof(LandmarkFormat format) {
  for (const auto& [name, member] : kWrittenFormats) {
    if (member == format) return name;
  }
  return format == LandmarkFormat::fcsv ? "fcsv" : "mrkjson";
}

std::string wordof(Transform transform) {
  for (const auto& [name, member] : kTransforms) {
    if (member == transform) return name;
  }
  return "none";
}

std::string wordof(PcaOf of) {
  for (const auto& [name, member] : kPcaOf) {
    if (member == of) return name;
  }
  return "superimposed";
}

void addinputoptions(CLI::App* command, CliOptions& options, bool missingKept) {
  addfileoption(command, "FILE", options.file,
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
      ->transform(oneof(kReadFormats))
      ->type_name("TEXT")
      ->excludes("--tps");
  command
      ->add_option("--dim", options.dims,
                   "Dimension of the landmarks, 2 or 3, for ZOR rows and tables (default 3); "
                   "files that state it must agree")
      ->check(wholenumber(2, 3));
  Words<MissingChoice> policies = {{"refuse", MissingChoice::refuse},
                                   {"drop-specimens", MissingChoice::dropSpecimens},
                                   {"drop-landmarks", MissingChoice::dropLandmarks},
                                   {"estimate", MissingChoice::estimate}};
  std::string help =
      "Missing landmarks: refuse (default; lists them), drop-specimens, drop-landmarks, or "
      "estimate (thin-plate spline from the mean of the complete specimens)";
  if (missingKept) {
    policies.emplace_back("keep", MissingChoice::keep);
    help += ", or keep (write them as missing)";
  }
  command->add_option("--missing", options.missing, help)
      ->transform(oneof(policies))
      ->type_name("TEXT");
  command->add_option("--missing-code", options.missingCode,
                      "A coordinate equal to this value is missing (for example -99 or 9999); "
                      "NA and NaN always are");
  command
      ->add_option("--scale", options.scale,
                   "TPS SCALE=: apply (default; a file in which only some records have one is "
                   "refused) or ignore (the raw coordinates of every record)")
      ->transform(
          oneof(Words<ScaleChoice>{{"apply", ScaleChoice::apply}, {"ignore", ScaleChoice::ignore}}))
      ->type_name("TEXT");
}

void addresultoption(CLI::App* command, CliOptions& options) {
  addfileoption(command, "-o,--output", options.output,
                "Write to this file (whole or not at all) instead of standard output");
}

void addoutputoptions(CLI::App* command, CliOptions& options) {
  addresultoption(command, options);
  command
      ->add_option("--to", options.to,
                   "Format to write: zor (default; one specimen per line, no IDs), csv, tps, "
                   "nts or morphologika")
      ->transform(oneof(kWrittenFormats))
      ->type_name("TEXT");
}

void addxoptions(CLI::App* command, CliOptions& options) {
  addfileoption(
      command, "--x", options.x,
      "x-variable: cs for the size column of FILE (default); TABLE:COLUMN for a column of a "
      "CSV or tab-separated table whose first column holds the specimen IDs (matched by ID); "
      "or an x-list file with one value per specimen, in the order of FILE (write ./cs for a "
      "file named cs)");
  command
      ->add_option("--transform", options.transform, "Transform of x: none (default), ln or log10")
      ->transform(oneof(kTransforms))
      ->type_name("TEXT");
}

void addfitoptions(CLI::App* command, CliOptions& options) {
  command
      ->add_option("--gpa", options.gpa,
                   "Superimposition: three (default; three rounds, as the standardization is "
                   "defined) or converged (rounds until the mean shape changes by at most "
                   "--tolerance)")
      ->transform(
          oneof(Words<GpaChoice>{{"three", GpaChoice::three}, {"converged", GpaChoice::converged}}))
      ->type_name("TEXT");
  command->add_option("--tolerance", options.tolerance,
                      "With --gpa converged: the largest change of the mean shape (the root of "
                      "its summed squared coordinate changes) that ends the rounds (default "
                      "1e-10)");
  command
      ->add_option("--slide", options.slide,
                   "How semilandmarks slide, where the data have them (--sliders, --surface, or a "
                   "TPS file's curves): be (default; minimising the bending energy of the "
                   "deformation from the mean shape), procd (the Procrustes distance to it) or "
                   "none (held fixed, as landmarks)")
      ->transform(oneof(Words<SlideChoice>{
          {"be", SlideChoice::be}, {"procd", SlideChoice::procd}, {"none", SlideChoice::none}}))
      ->type_name("TEXT")
      ->each([&options](const std::string&) { options.slideGiven = true; });
  addfileoption(command, "--sliders", options.sliders,
                "File of the points that slide on curves: one row per point, three "
                "landmark numbers (from 1): the point before, the sliding point, the point "
                "after (default: the curves of a TPS file)");
  addfileoption(command, "--surface", options.surface,
                "File of the points that slide on the surface (3D): one landmark number "
                "per line");
  command
      ->add_option("--slide-rounds", options.slideRounds,
                   "The most rounds of sliding and fitting (default 9)")
      ->check(wholenumber(1, std::numeric_limits<int>::max()))
      ->each([&options](const std::string&) { options.slideRoundsGiven = true; });
  command
      ->add_option("--slide-tolerance", options.slideTolerance,
                   "Sliding ends when N times the squared norm of the mean shape changes by at "
                   "most this much in a round (default 1e-4)")
      ->each([&options](const std::string&) { options.slideRoundsGiven = true; });
  command
      ->add_option("--slide-order", options.slideOrder,
                   "The order of the rounds of sliding: default (that of the field's reference "
                   "analysis, whose specimens may drift in size and not settle) or refit (a plain "
                   "fit to convergence first, then every round slides, centres, scales and turns "
                   "each specimen onto the mean: converges)")
      ->transform(oneof(Words<SlideOrderChoice>{{"default", SlideOrderChoice::standard},
                                                {"refit", SlideOrderChoice::refit}}))
      ->type_name("TEXT")
      ->each([&options](const std::string&) { options.slideOrderGiven = true; });
  command->add_flag("--project", options.project,
                    "With sliding: project the coordinates onto the tangent space at the mean "
                    "shape");
}

CLI::Option* addgroupsoption(CLI::App* command, CliOptions& options) {
  return addfileoption(command, "--groups", options.groups,
                       "Groups of the specimens: a file of one label per line, in the "
                       "order of FILE, or TABLE:COLUMN for a column of a table whose first "
                       "column holds the specimen IDs");
}

void addpcaoptions(CLI::App* command, CliOptions& options) {
  command
      ->add_option("--of", options.of,
                   "Coordinates to analyse: superimposed (default; those superimpose writes) or "
                   "standardized (those standardize writes, with --x, --transform and "
                   "--standard)")
      ->transform(oneof(kPcaOf))
      ->type_name("TEXT");
  command
      ->add_option("--components", options.components,
                   "Report at most this many components (default: every one shape space has, "
                   "3k-7 in 3D or 2k-4 in 2D less those sliding and standardization take, "
                   "whose eigenvalue is more than rounding, at most one fewer than the "
                   "specimens)")
      ->check(wholenumber(1, std::numeric_limits<int>::max()));
  addfileoption(command, "--loadings", options.loadings,
                "Write the eigenvectors to this CSV file: a row per variable (x1, y1, z1, "
                "...), a column per component");
  addfileoption(command, "--shapes", options.shapes,
                "Write the mean shape and the shapes at each component's smallest and "
                "largest score (mean, PC1_min, PC1_max, ...) to this file, in the format "
                "--to names (default csv)");
  addfileoption(command, "--plot", options.plot,
                "Draw the morphospace (the scores on two components, groups in colours) "
                "into this picture: .svg, .png or .pdf");
  command->add_option("--pcs", options.pcs,
                      "The components --plot draws across and up, as I,J (default 1,2)");
  command
      ->add_option("--to", options.to,
                   "Format of --shapes: zor, csv (default), tps, nts or morphologika; csv also "
                   "writes the scores as a CSV table (id,PC1,PC2,...)")
      ->transform(oneof(kWrittenFormats))
      ->type_name("TEXT")
      ->each([&options](const std::string&) { options.toGiven = true; });
  addresultoption(command, options);
}

}  // namespace tarvolin
