#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <vector>

#include "cli/clisteps.h"
#include "core/checkwritable.h"
#include "formats/tablecolumnnamed.h"

namespace tarvolin {
namespace {

namespace fs = std::filesystem;

struct NamedFile {
  std::string role;  // "the landmark file", "-o", ...
  std::string path;
};

// A regular file's identity, links (symbolic or hard) resolved: two paths
// with one identity are one file. Nothing for what does not exist or is no
// regular file (a pipe, /dev/null), which a result does not replace.
std::optional<std::pair<dev_t, ino_t>> identity(const std::string& path) {
  struct stat found {};
  if (::stat(path.c_str(), &found) != 0 || !S_ISREG(found.st_mode)) return std::nullopt;
  return std::pair{found.st_dev, found.st_ino};
}

// The path a file not yet made would get, for comparing two outputs.
std::string wouldbe(const std::string& path) {
  std::error_code error;
  const fs::path canonical = fs::weakly_canonical(path, error);
  return error ? path : canonical.string();
}

// A path as written, made absolute: two spellings of one name compare
// equal, a link and its target do not.
std::string spelt(const std::string& path) {
  return fs::absolute(path).lexically_normal().string();
}

// The file a --x or --groups value reads: a table's, a list's, or none.
std::optional<std::string> tableorlist(const std::string& given) {
  if (given.empty() || given == "cs") return std::nullopt;
  if (const std::optional<TableColumnName> named = tablecolumnnamed(given)) return named->table;
  return given;
}

std::vector<NamedFile> inputsof(const CliOptions& options) {
  std::vector<NamedFile> inputs;
  if (!options.file.empty()) {
    std::error_code error;
    if (fs::is_directory(options.file, error)) {
      for (const auto& entry : fs::directory_iterator(options.file, error)) {
        inputs.push_back({"a file of the landmark folder", entry.path().string()});
      }
    } else {
      inputs.push_back({"the landmark file", options.file});
    }
  }
  if (const auto x = tableorlist(options.x)) inputs.push_back({"the --x file", *x});
  if (const auto groups = tableorlist(options.groups)) {
    inputs.push_back({"the --groups file", *groups});
  }
  if (!options.sliders.empty()) inputs.push_back({"the --sliders file", options.sliders});
  if (!options.surface.empty()) inputs.push_back({"the --surface file", options.surface});
  return inputs;
}

}  // namespace

void refuseclashingfiles(const CliOptions& options) {
  std::vector<NamedFile> outputs;
  for (const auto& [role, path] : {std::pair{"-o", &options.output},
                                   {"--loadings", &options.loadings},
                                   {"--shapes", &options.shapes},
                                   {"--plot", &options.plot}}) {
    if (!path->empty()) outputs.push_back({role, *path});
  }
  if (outputs.empty()) return;

  const std::vector<NamedFile> inputs = inputsof(options);
  for (const NamedFile& output : outputs) {
    const auto written = identity(output.path);
    if (!written) continue;
    for (const NamedFile& input : inputs) {
      if (identity(input.path) != written) continue;
      const std::string alias = spelt(input.path) == spelt(output.path)
                                    ? std::string()
                                    : " (" + input.path + ", by another name)";
      throw InputError(output.role + " " + output.path + " is " + input.role +
                       " this command reads" + alias +
                       ": the result would replace it; write the result to another file")
          .concerning(Input::option);
    }
  }
  for (size_t a = 0; a < outputs.size(); ++a) {
    for (size_t b = a + 1; b < outputs.size(); ++b) {
      const auto first = identity(outputs[a].path);
      const bool same = first ? first == identity(outputs[b].path)
                              : !fs::exists(outputs[a].path) &&
                                    wouldbe(outputs[a].path) == wouldbe(outputs[b].path);
      if (same) {
        throw InputError(outputs[b].path + ": named for two results (" + outputs[a].role + " and " +
                         outputs[b].role + "); give each its own file")
            .concerning(Input::option);
      }
    }
  }
  // Every output is tried before any is written: a command with several
  // results never leaves some written and the rest refused.
  for (const NamedFile& output : outputs) checkwritable(output.path);
}

}  // namespace tarvolin
