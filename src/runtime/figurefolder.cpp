#include "runtime/figurefolder.h"

#include <system_error>

#include "core/programpath.h"

namespace tarvolin {
namespace {

bool holdsFigures(const std::filesystem::path& folder) {
  std::error_code error;
  return std::filesystem::is_regular_file(folder / "Tarvolin.fig", error);
}

// Whether `path` lies inside `folder` (both absolute and normal).
bool inside(const std::filesystem::path& path, const std::filesystem::path& folder) {
  if (folder.empty()) return false;
  auto p = path.begin();
  for (auto f = folder.begin(); f != folder.end(); ++f, ++p) {
    if (f->empty()) continue;  // the empty name after a trailing separator
    if (p == path.end() || *p != *f) return false;
  }
  return true;
}

}  // namespace

std::filesystem::path figurefolder(const std::filesystem::path& program,
                                   const std::filesystem::path& buildTree,
                                   const std::filesystem::path& sourceFigures) {
  const std::filesystem::path installed =
      (program.parent_path().parent_path() / "share" / "tarvolin" / "figures").lexically_normal();
  if (holdsFigures(installed)) return installed;
  if (inside(program.lexically_normal(), buildTree.lexically_normal()) &&
      holdsFigures(sourceFigures)) {
    return sourceFigures;
  }
  return installed;
}

std::filesystem::path installedfigurefolder(const char* invokedAs) {
  return figurefolder(programpath(invokedAs ? invokedAs : ""), TARVOLIN_BUILD_TREE,
                      TARVOLIN_RESOURCES_DIR);
}

}  // namespace tarvolin
