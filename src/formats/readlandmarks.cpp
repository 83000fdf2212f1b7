#include "formats/readlandmarks.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

#include "core/errors.h"
#include "core/readtextfile.h"
#include "core/withoutbom.h"
#include "formats/detectlandmarkformat.h"
#include "formats/mixedlineends.h"
#include "formats/readfcsv.h"
#include "formats/readmarkupfolder.h"
#include "formats/readmorphologika.h"
#include "formats/readmrkjson.h"
#include "formats/readnts.h"
#include "formats/readrowtable.h"
#include "formats/readtps.h"
#include "formats/readzor.h"

namespace tarvolin {
namespace {

namespace fs = std::filesystem;

// The first 64 KB of the file at `path` (all of it when it is shorter), or
// nothing with the reason it cannot be read.
std::optional<std::string> textfilestart(const std::string& path, std::string& reason) {
  std::error_code error;
  if (!fs::is_regular_file(path, error)) {
    // Not there, or a device: readtextfile says which.
    std::string whole;
    readtextfile(path, whole, reason);
    return std::nullopt;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::string whole;
    if (!readtextfile(path, whole, reason)) return std::nullopt;
    return whole.substr(0, 64 * 1024);
  }
  std::string start(64 * 1024, '\0');
  in.read(start.data(), static_cast<std::streamsize>(start.size()));
  start.resize(static_cast<size_t>(in.gcount()));
  if (in.bad()) {
    reason = "cannot be read";
    return std::nullopt;
  }
  return start;
}

MarkupKind markupKindOf(std::optional<LandmarkFormat> format, const std::string& path) {
  if (!format) return MarkupKind::any;
  if (*format == LandmarkFormat::fcsv) return MarkupKind::fcsv;
  if (*format == LandmarkFormat::mrkjson) return MarkupKind::mrkjson;
  throw InputError(path,
                   "is a folder; a folder is read as 3D Slicer markups, one specimen per "
                   ".fcsv or .mrk.json file, so --format must be fcsv or mrkjson");
}

// Reads the landmark file at `path`, leaving its text (or, for ZOR rows
// read line by line, its start) where the caller can look at it.
LandmarkSet readlandmarkfile(const std::string& path, std::optional<LandmarkFormat> format,
                             const ReadOptions& options, bool markupFolder,
                             LandmarkFormat* detected, std::string& text,
                             std::optional<std::string>& start) {
  // The format is told from the start of the file; ZOR rows, the bulk of
  // large data sets, are then read without holding the whole text. A pipe
  // can be read only once, so it is read whole first.
  std::error_code error;
  std::string reason;
  const bool pipe = fs::is_fifo(path, error);
  if (pipe && !readtextfile(path, text, reason)) {
    throw InputError(path, "cannot be opened: " + reason);
  }
  start =
      pipe ? std::optional<std::string>(text.substr(0, 64 * 1024)) : textfilestart(path, reason);
  if (!start) throw InputError(path, "cannot be opened: " + reason);
  // A file saved as UTF-16 would read as text of no format at all.
  withoutbom(*start, path);
  const LandmarkFormat read = format ? *format : detectlandmarkformat(*start, path);
  if (detected) *detected = read;
  if (read == LandmarkFormat::zor && !pipe) return readzorfile(path, options);
  if (!pipe && !readtextfile(path, text, reason)) {
    throw InputError(path, "cannot be opened: " + reason);
  }

  if (markupFolder && (read == LandmarkFormat::fcsv || read == LandmarkFormat::mrkjson)) {
    text.clear();
    const fs::path folder = fs::path(path).parent_path();
    return readmarkupfolder(folder.empty() ? std::string(".") : folder.string(),
                            read == LandmarkFormat::fcsv ? MarkupKind::fcsv : MarkupKind::mrkjson,
                            options);
  }
  switch (read) {
    case LandmarkFormat::zor:
      return readzor(text, path, options);
    case LandmarkFormat::tps:
      return readtps(text, path, options);
    case LandmarkFormat::nts:
      return readnts(text, path, options);
    case LandmarkFormat::morphologika:
      return readmorphologika(text, path, options);
    case LandmarkFormat::csv:
      return readrowtable(text, path, options);
    case LandmarkFormat::fcsv:
      return readfcsv(text, path, options);
    case LandmarkFormat::mrkjson:
      return readmrkjson(text, path, options);
  }
  throw InputError(path, "holds landmark data in no format Tarvolin reads");
}

}  // namespace

LandmarkSet readlandmarks(const std::string& path, std::optional<LandmarkFormat> format,
                          const ReadOptions& options, bool markupFolder, LandmarkFormat* detected) {
  std::error_code error;
  if (fs::is_directory(path, error)) {
    const MarkupKind kind = markupKindOf(format, path);
    LandmarkSet set = readmarkupfolder(path, kind, options);
    if (detected) {
      *detected = kind == MarkupKind::fcsv ? LandmarkFormat::fcsv : LandmarkFormat::mrkjson;
    }
    return set;
  }

  std::string text;
  std::optional<std::string> start;
  try {
    return readlandmarkfile(path, format, options, markupFolder, detected, text, start);
  } catch (const InputError& e) {
    // Lines that read as one where a file mixes line ends make a message
    // about one of them puzzling without the reason.
    const std::string note =
        e.file() == path ? mixedlineends(text.empty() && start ? *start : text) : "";
    if (note.empty()) throw;
    InputError noted(e.file(), e.line(), e.message() + "; " + note);
    noted.concerning(e.input());
    throw noted;
  }
}

}  // namespace tarvolin
