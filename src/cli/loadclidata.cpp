#include <filesystem>

#include "cli/clisteps.h"
#include "cli/estimateprogress.h"
#include "core/console.h"
#include "core/notenoughmemory.h"
#include "core/printable.h"
#include "core/readnumber.h"
#include "core/readtextfile.h"
#include "formats/readlandmarks.h"
#include "formats/readtps3d.h"
#include "formats/refusemixedscales.h"
#include "numerics/checklandmarkdata.h"
#include "numerics/withcentroidsize.h"

namespace tarvolin {
namespace {

// The landmark set of FILE as read, before missing landmarks are dealt with.
LandmarkSet readData(const CliOptions& options, LandmarkFormat& format, bool repeatedIds) {
  if (options.tps) {
    // The window's reader of TPS-style 3D files, kept for what it accepts.
    std::string text;
    std::string reason;
    if (!readtextfile(options.file, text, reason)) {
      throw InputError(options.file, "cannot be opened: " + reason);
    }
    const TpsFile read = parsetps3D(text, options.file, options.scale == ScaleChoice::ignore);
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
  readOptions.ignoreScale = options.scale == ScaleChoice::ignore;
  readOptions.repeatedIds = repeatedIds;
  if (!options.missingCode.empty()) {
    const NumberText code = readnumber(options.missingCode);
    if (!code.value) {
      throw InputError("--missing-code: \"" + options.missingCode + "\" " + code.problemText())
          .concerning(Input::option);
    }
    readOptions.missingCode = code.value;
  }
  LandmarkSet set =
      readlandmarks(options.file, formatnamed(options.format), readOptions, false, &format);
  if (options.dims != 0 && set.dims != options.dims) {
    throw InputError(set.path, "holds " + std::to_string(set.dims) + "D landmarks, but --dim " +
                                   std::to_string(options.dims) + " was given");
  }
  return set;
}

}  // namespace

LandmarkSet loadclidata(const CliOptions& options, std::ostream& err, bool& rowsAreLines,
                        bool repeatedIds) {
  LandmarkFormat format = LandmarkFormat::zor;
  std::error_code noSize;
  const std::uintmax_t bytes = std::filesystem::file_size(options.file, noSize);
  workingonfile(options.file, noSize ? 0 : bytes);
  LandmarkSet set;
  try {
    set = readinginput(Input::data, [&] { return readData(options, format, repeatedIds); });
  } catch (const MixedScaleError& e) {
    throw InputError(e.file(), e.line(), e.message() + " (--scale ignore)").concerning(Input::data);
  }
  workingon(set.specimens(), set.landmarks(), set.dims);
  for (const std::string& note : set.notes) err << "tarvolin-cli: " << printable(note) << "\n";
  rowsAreLines = format == LandmarkFormat::zor && !options.tps;
  if (!set.notice.empty()) err << "tarvolin-cli: " << set.path << ": " << set.notice << "\n";
  if (const std::optional<MissingPolicy> policy = missingpolicy(options.missing)) {
    MissingReport report;
    try {
      report = readinginput(Input::data, [&] {
        return resolvemissing(set, *policy, consoleSink(), estimateprogress(err));
      });
    } catch (const InputError& e) {
      if (options.missing != MissingChoice::refuse) throw;
      throw InputError(e.file(), e.line(),
                       e.message() +
                           "\n(--missing drop-specimens, drop-landmarks or estimate deal with "
                           "them)")
          .concerning(Input::data);
    }
    if (!report.summary.empty()) err << "tarvolin-cli: " << report.summary << "\n";
  }
  return set;
}

Eigen::MatrixXd checkeddataset(LandmarkSet& set, bool rowsAreLines) {
  const std::string path = set.path;
  const int dims = set.dims;
  Eigen::MatrixXd data = landmarkdataset(std::move(set));
  readinginput(Input::data, [&] { checklandmarkdata(data, path, rowsAreLines, dims); });
  return data;
}

}  // namespace tarvolin
