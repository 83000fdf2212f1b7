#pragma once
// The steps tarvolin-cli's subcommands share: reading FILE with the readers
// by file name (never the loaders that ask for a file), reading x and the
// groups, choosing the file an error names, and writing the result to
// standard output or to -o, whole or not at all.
//
// Example:
//   bool rowsAreLines = false;
//   LandmarkSet set = loadclidata(options, err, rowsAreLines);
//   deliverset(options, set, std::nullopt, out);

#include <Eigen/Core>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "cli/clioptions.h"
#include "core/errors.h"
#include "core/writefileatomic.h"
#include "formats/readgroups.h"
#include "landmarks/landmarkset.h"
#include "numerics/gparounds.h"
#include "runtime/picturemodule.h"
#include "workflows/analysissession.h"

namespace tarvolin {

// Refuses, before anything is read or written, a result file that is one
// of the command's inputs (the landmark file or a file of its folder, the
// --x and --groups files, the sliders and surface files), compared by the
// file's identity so that a symbolic or hard link is caught too; two
// results named for one file; and a result file that cannot be written.
void refuseclashingfiles(const CliOptions& options);

// The file or folder name of `path`, without its folders.
std::string barename(const std::string& path);

// The landmark set of FILE, its missing landmarks dealt with as --missing
// says; what was done is said on `err`. `rowsAreLines` tells whether row i
// was line i of FILE. Its errors concern the data (Input::data).
// `repeatedIds` keeps an ID given to several specimens (for check, which
// lists them) instead of refusing the file.
LandmarkSet loadclidata(const CliOptions& options, std::ostream& err, bool& rowsAreLines,
                        bool repeatedIds = false);

// The data set of `set` (N x (d k + 1)), checked to be one that can be
// superimposed. It takes over the memory of set.coords, which it leaves
// empty: a large data set is never held twice.
Eigen::MatrixXd checkeddataset(LandmarkSet& set, bool rowsAreLines);

// The x-variable --x names: cs, a table's column (TABLE:COLUMN, matched by
// specimen ID), or a list by order. Sets `source` to the file it came from.
// Its errors concern x (Input::x).
Eigen::VectorXd loadclix(const CliOptions& options, const LandmarkSet& set, std::string& source,
                         std::ostream& err);

// The groups --groups names, or none. Their errors concern the groups.
std::optional<SpecimenGroups> groupsof(const CliOptions& options, const LandmarkSet& set);

// The rounds of the superimposition --gpa and --tolerance ask for.
GpaRounds roundsof(const CliOptions& options);
// The superimposition of `set`, read and not yet handed over: roundsof's,
// and the semilandmarks sliding as --slide, --sliders, --surface,
// --slide-rounds, --slide-tolerance and --project ask (the points of
// --sliders, else the TPS curves, and those of --surface). Refuses options
// of sliding for data with nothing to slide, and --sliders or --surface
// with --missing drop-landmarks (whose numbers no longer name the file's
// landmarks).
GpaRounds fitof(const CliOptions& options, const LandmarkSet& set);

// The analysis standardize and allometry make: the data set superimposed,
// x transformed, the groups read. x is transformed before the groups are
// read and the data superimposed, so that a bad x is the input named, and
// refused before the long work. `set` keeps the IDs and names; `source`
// names x's file; `fit`, when given, gets the superimposition's rounds
// (with the points that slid).
AnalysisSession loadclisession(const CliOptions& options, std::ostream& err, LandmarkSet& set,
                               std::string& source, GpaRounds* fit = nullptr);

// The data set standardize writes (N x (d k + 1) rows, the size column
// as loaded), made by its steps from its options: --x, --transform, --groups
// (the slope pooled within them, unless `withinGroups` is false: the common
// slope, the groups only read), --standard (default: the one proposed; one
// outside the range of x is used, with a warning on `err`) and --gpa.
// `standard` is the standard value on the transformed scale; `groups` those
// read. `set` keeps the IDs and names.
struct StandardizedRows {
  Eigen::MatrixXd rows;
  double standard = 0;
  std::optional<SpecimenGroups> groups;
  // The points that slid in the superimposition, if any.
  std::shared_ptr<const Sliding> slid;
};
StandardizedRows standardizedrows(const CliOptions& options, std::ostream& err, LandmarkSet& set,
                                  bool withinGroups = true);

// An error of the regression, which knows its numbers but not their files,
// thrown again naming the file of the input it concerns: the groups' file,
// x's (also for the standard value), or else the data's.
[[noreturn]] void blameinput(const InputError& e, const std::optional<SpecimenGroups>& groups,
                             const std::string& xSource, const std::string& dataPath);

// Puts the coordinates of the data set rows `data` (coordinates, then the
// size column, which is not taken) into `set`.
void takecoordinates(LandmarkSet& set, Eigen::MatrixXd data);

// Sends the text that `produce` writes to standard output, or to the file
// named in -o, whole or not at all.
void deliver(const CliOptions& options, const std::function<void(const TextSink&)>& produce,
             std::ostream& out);
void deliver(const CliOptions& options, const std::string& text, std::ostream& out);

// Writes a landmark set in the format --to names. `superimposed` says that
// the coordinates are a superimposition's, which are finite: a large data
// set is then not looked through once more.
void deliverset(const CliOptions& options, const LandmarkSet& set, std::optional<double> lastValue,
                std::ostream& out, bool superimposed = false);

// The picture module's entry, for drawing `picture`; an OutputError naming
// `picture` and the module when the module cannot be loaded.
WritePictureEntry loadpicturemodule(const std::string& picture);
// Draws axes `axes` of `graphics` into `picture` (.svg, .png or .pdf) with
// the module's entry: an OutputError naming the file when that fails.
void writepicture(WritePictureEntry entry, const Graphics& graphics, Handle axes,
                  const std::string& picture);

// The subcommands, each in a file of its own.
void runinfo(const CliOptions& options, std::ostream& out, std::ostream& err);
void runsuperimpose(const CliOptions& options, std::ostream& out, std::ostream& err);
void runstandardize(const CliOptions& options, std::ostream& out, std::ostream& err);
void runallometry(const CliOptions& options, std::ostream& out, std::ostream& err);
void runcheck(const CliOptions& options, std::ostream& out, std::ostream& err);
void runconvert(const CliOptions& options, std::ostream& out, std::ostream& err);
void runpca(const CliOptions& options, std::ostream& out, std::ostream& err);
// `run`: replays a session script; returns the exit status.
int runsessioncommand(const CliOptions& options, const char* program, std::ostream& out,
                      std::ostream& err);

}  // namespace tarvolin
