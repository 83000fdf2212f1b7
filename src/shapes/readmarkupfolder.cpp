#include "readmarkupfolder.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <system_error>
#include <vector>

#include "platform/errors.h"
#include "platform/readtextfile.h"
#include "readfcsv.h"
#include "readmrkjson.h"

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

std::string plural(size_t n, const char* word) {
  return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
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

LandmarkSet markupspecimen(const std::vector<double>& coords, const std::string& fname) {
  LandmarkSet set;
  set.dims = 3;
  set.path = fname;
  set.coords =
      Eigen::Map<const Eigen::RowVectorXd>(coords.data(), static_cast<Eigen::Index>(coords.size()));
  set.ids = {markupid(fname)};
  finishlandmarkset(set);
  return set;
}

LandmarkSet readmarkupfolder(const std::string& folder, MarkupKind kind,
                             const ReadOptions& options) {
  std::vector<std::string> names[2];  // .fcsv, then .mrk.json
  std::error_code error;
  fs::directory_iterator entries(folder, error);
  for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
    std::error_code typeError;
    if (!entries->is_regular_file(typeError)) continue;
    std::string name = entries->path().filename().string();
    // Hidden files are no specimens: macOS leaves a "._brain_01.mrk.json"
    // beside each file it copies to some disks.
    if (name.starts_with('.')) continue;
    if (const std::optional<MarkupKind> found = markupkindof(name)) {
      names[*found == MarkupKind::fcsv ? 0 : 1].push_back(std::move(name));
    }
  }
  if (error) throw InputError(folder, "the folder cannot be read: " + error.message());

  if (kind == MarkupKind::any) {
    if (!names[0].empty() && !names[1].empty()) {
      throw InputError(folder, "the folder holds both .fcsv files (such as " + names[0].front() +
                                   ") and .mrk.json files (such as " + names[1].front() +
                                   "); choose one kind with --format fcsv or --format mrkjson");
    }
    if (names[0].empty() && names[1].empty()) {
      throw InputError(folder, "the folder holds no .fcsv or .mrk.json files");
    }
    kind = names[0].empty() ? MarkupKind::mrkjson : MarkupKind::fcsv;
  }
  std::vector<std::string>& files = names[kind == MarkupKind::fcsv ? 0 : 1];
  if (files.empty()) {
    throw InputError(folder, std::string("the folder holds no ") +
                                 (kind == MarkupKind::fcsv ? ".fcsv" : ".mrk.json") + " files");
  }
  std::sort(files.begin(), files.end());

  std::vector<LandmarkSet> specimens;
  specimens.reserve(files.size());
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
      throw InputError(path, "gives the specimen ID \"" + one.ids.front() + "\", as " +
                                 *other->second + " does; each specimen ID must be unique");
    }
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
  finishlandmarkset(set);
  return set;
}

}  // namespace tarvolin
