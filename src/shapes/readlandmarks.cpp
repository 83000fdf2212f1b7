#include "readlandmarks.h"

#include <filesystem>
#include <system_error>

#include "detectlandmarkformat.h"
#include "platform/errors.h"
#include "platform/readtextfile.h"
#include "readfcsv.h"
#include "readmarkupfolder.h"
#include "readmorphologika.h"
#include "readmrkjson.h"
#include "readnts.h"
#include "readrowtable.h"
#include "readtps.h"
#include "readzor.h"

namespace tarvolin {
namespace {

namespace fs = std::filesystem;

MarkupKind markupKindOf(std::optional<LandmarkFormat> format, const std::string& path) {
  if (!format) return MarkupKind::any;
  if (*format == LandmarkFormat::fcsv) return MarkupKind::fcsv;
  if (*format == LandmarkFormat::mrkjson) return MarkupKind::mrkjson;
  throw InputError(path,
                   "is a folder; a folder is read as 3D Slicer markups, one specimen per "
                   ".fcsv or .mrk.json file, so --format must be fcsv or mrkjson");
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
  std::string reason;
  if (!readtextfile(path, text, reason)) throw InputError(path, "cannot be opened: " + reason);
  const LandmarkFormat read = format ? *format : detectlandmarkformat(text, path);
  if (detected) *detected = read;

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

}  // namespace tarvolin
