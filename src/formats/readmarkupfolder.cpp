#include "formats/readmarkupfolder.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <system_error>
#include <vector>

#include "core/errors.h"
#include "core/quotedtext.h"
#include "core/readtextfile.h"
#include "core/texthelpers.h"
#include "formats/readfcsv.h"
#include "formats/readmrkjson.h"

namespace tarvolin {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view fcsvExtension = ".fcsv";
constexpr std::string_view mrkjsonExtension = ".mrk.json";

bool endsWithIgnoringCase(std::string_view text, std::string_view end) {
  if (text.size() < end.size()) return false;
  text.remove_prefix(text.size() - end.size());
  return std::equal(text.begin(), text.end(), end.begin(), [](char a, char b) {
    return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
  });
}

std::string convertedNote(const std::string& path, size_t files) {
  return path + ": converted " + plural(files, "RAS file") + " to LPS (x and y negated)";
}

// Why an entry named as a markup file is not read: nothing when it is a
// file to read.
std::optional<std::string> passedOver(const fs::directory_entry& entry, const std::string& name) {
  std::error_code error;
  const fs::file_status link = entry.symlink_status(error);
  const fs::file_status target = entry.status(error);
  if (error) {
    if (error == std::errc::too_many_symbolic_link_levels)
      return "a link that leads round in a loop";
    if (fs::is_symlink(link)) return "a link to nothing (" + error.message() + ")";
    return "it cannot be looked at: " + error.message();
  }
  switch (target.type()) {
    case fs::file_type::regular:
      // macOS leaves a "._brain_01.mrk.json" beside each file it copies to some disks.
      if (name.starts_with('.')) return std::string("a hidden file");
      return std::nullopt;
    case fs::file_type::directory:
      return std::string("a folder");
    case fs::file_type::fifo:
      return std::string("a pipe");
    case fs::file_type::block:
    case fs::file_type::character:
      return std::string("a device");
    case fs::file_type::socket:
      return std::string("a socket");
    default:
      return std::string("not a file");
  }
}

// The entries passed over, for a refusal of a folder with no file read:
// they may be why.
std::string passedOverText(const std::vector<std::string>& notes) {
  std::string text;
  for (const std::string& note : notes) text += "\n" + note;
  return text;
}

}  // namespace

std::optional<MarkupKind> markupkindof(std::string_view name) {
  if (endsWithIgnoringCase(name, mrkjsonExtension)) return MarkupKind::mrkjson;
  if (endsWithIgnoringCase(name, fcsvExtension)) return MarkupKind::fcsv;
  return std::nullopt;
}

std::string markupid(std::string_view fname) {
  const size_t slash = fname.find_last_of('/');
  std::string_view name = slash == std::string_view::npos ? fname : fname.substr(slash + 1);
  const std::optional<MarkupKind> kind = markupkindof(name);
  size_t end = name.size();
  if (kind) {
    end -= (*kind == MarkupKind::fcsv ? fcsvExtension : mrkjsonExtension).size();
  } else if (const size_t dot = name.find_last_of('.'); dot != std::string_view::npos) {
    end = dot;
  }
  // A name that is all extension (".fcsv") keeps it, so that the ID is not empty.
  return std::string(end == 0 ? name : name.substr(0, end));
}

LandmarkSet markupspecimen(std::vector<double> coords, const std::string& fname,
                           MarkupSystem system) {
  LandmarkSet set;
  set.dims = 3;
  set.path = fname;
  if (system == MarkupSystem::ras) {
    for (size_t i = 0; i + 2 < coords.size(); i += 3) {
      coords[i] = -coords[i];
      coords[i + 1] = -coords[i + 1];
    }
    set.notes.push_back(convertedNote(fname, 1));
  }
  set.coords =
      Eigen::Map<const Eigen::RowVectorXd>(coords.data(), static_cast<Eigen::Index>(coords.size()));
  set.ids = {markupid(fname)};
  finishlandmarkset(set);
  return set;
}

LandmarkSet readmarkupfolder(const std::string& folder, MarkupKind kind,
                             const ReadOptions& options) {
  std::vector<std::string> names[2];  // .fcsv, then .mrk.json
  std::vector<std::string> notes;
  std::error_code error;
  fs::directory_iterator entries(folder, error);
  for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
    std::string name = entries->path().filename().string();
    const std::optional<MarkupKind> found = markupkindof(name);
    if (!found) continue;
    if (const std::optional<std::string> why = passedOver(*entries, name)) {
      notes.push_back(entries->path().string() + ": passed over, " + *why);
      continue;
    }
    names[*found == MarkupKind::fcsv ? 0 : 1].push_back(std::move(name));
  }
  if (error) throw InputError(folder, "the folder cannot be read: " + error.message());
  // Notes are shown in the order of the names, as the specimens are read.
  std::sort(notes.begin(), notes.end());

  if (kind == MarkupKind::any) {
    if (!names[0].empty() && !names[1].empty()) {
      throw InputError(folder, "the folder holds both .fcsv files (such as " + names[0].front() +
                                   ") and .mrk.json files (such as " + names[1].front() +
                                   "); choose one kind with --format fcsv or --format mrkjson");
    }
    if (names[0].empty() && names[1].empty()) {
      throw InputError(folder,
                       "the folder holds no .fcsv or .mrk.json files" + passedOverText(notes));
    }
    kind = names[0].empty() ? MarkupKind::mrkjson : MarkupKind::fcsv;
  }
  std::vector<std::string>& files = names[kind == MarkupKind::fcsv ? 0 : 1];
  if (files.empty()) {
    throw InputError(folder, std::string("the folder holds no ") +
                                 (kind == MarkupKind::fcsv ? ".fcsv" : ".mrk.json") + " files" +
                                 passedOverText(notes));
  }
  std::sort(files.begin(), files.end());

  std::vector<LandmarkSet> specimens;
  specimens.reserve(files.size());
  size_t converted = 0;
  std::map<std::string, const std::string*> fileOfId;
  std::string text;
  std::string reason;
  for (const std::string& name : files) {
    const std::string path = (fs::path(folder) / name).string();
    if (!readtextfile(path, text, reason)) throw InputError(path, "cannot be read: " + reason);
    LandmarkSet one =
        kind == MarkupKind::fcsv ? readfcsv(text, path, options) : readmrkjson(text, path, options);
    if (!specimens.empty() && one.landmarks() != specimens.front().landmarks()) {
      throw InputError(path, "has " + plural(static_cast<size_t>(one.landmarks()), "point") +
                                 ", but " + files.front() + " has " +
                                 std::to_string(specimens.front().landmarks()) +
                                 "; every file of the folder must hold the same landmarks");
    }
    const auto [other, added] = fileOfId.emplace(one.ids.front(), &name);
    if (!added) {
      throw InputError(path, "gives the specimen ID " + quotedtext(one.ids.front()) + ", as " +
                                 *other->second + " does; each specimen ID must be unique");
    }
    // A file's only note is that it was converted from RAS.
    if (!one.notes.empty()) ++converted;
    specimens.push_back(std::move(one));
  }

  LandmarkSet set;
  set.dims = 3;
  set.path = folder;
  set.coords.resize(static_cast<Eigen::Index>(specimens.size()), specimens.front().coords.cols());
  for (size_t i = 0; i < specimens.size(); ++i) {
    set.coords.row(static_cast<Eigen::Index>(i)) = specimens[i].coords.row(0);
    set.ids.push_back(std::move(specimens[i].ids.front()));
  }
  set.notes = std::move(notes);
  if (converted > 0) set.notes.push_back(convertedNote(folder, converted));
  finishlandmarkset(set);
  return set;
}

}  // namespace tarvolin
