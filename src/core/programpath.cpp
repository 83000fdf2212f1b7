#include "core/programpath.h"

#include <cstdlib>
#include <string>
#include <system_error>

namespace tarvolin {

std::filesystem::path programpath(std::string_view invokedAs) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (!error && !self.empty()) return self;

  if (invokedAs.empty()) return {};
  const fs::path given(invokedAs);
  if (given.has_parent_path()) {
    fs::path found = fs::weakly_canonical(fs::absolute(given, error), error);
    return error ? fs::path() : found;
  }
  const char* path = std::getenv("PATH");
  if (path == nullptr) return {};
  std::string_view folders(path);
  while (!folders.empty()) {
    const size_t colon = folders.find(':');
    const std::string_view folder = folders.substr(0, colon);
    const fs::path candidate = fs::path(folder.empty() ? "." : folder) / given;
    if (fs::is_regular_file(candidate, error)) {
      fs::path found = fs::weakly_canonical(fs::absolute(candidate, error), error);
      return error ? fs::path() : found;
    }
    if (colon == std::string_view::npos) break;
    folders.remove_prefix(colon + 1);
  }
  return {};
}

}  // namespace tarvolin
