#include <filesystem>

#include "cli/clisteps.h"

namespace tarvolin {

std::string barename(const std::string& path) {
  const std::filesystem::path p(path);
  return p.has_filename() ? p.filename().string() : p.parent_path().filename().string();
}

}  // namespace tarvolin
