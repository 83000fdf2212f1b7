#include "core/checkwritable.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "core/errors.h"

namespace tarvolin {

void checkwritable(const std::string& path) {
  namespace fs = std::filesystem;
  const auto fail = [&path](const std::string& reason) {
    throw OutputError("cannot write " + path + ": " + reason);
  };
  struct stat found {};
  if (::stat(path.c_str(), &found) == 0) {
    if (S_ISDIR(found.st_mode)) fail("is a folder");
    if (!S_ISREG(found.st_mode)) return;
    if (::access(path.c_str(), W_OK) != 0) fail(std::strerror(errno));
    // As writefileatomic: a file nobody may write stays as it is, for the
    // super-user too.
    if ((found.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) fail(std::strerror(EACCES));
    return;
  }
  if (errno != ENOENT) fail(std::strerror(errno));
  fs::path folder = fs::path(path).parent_path();
  if (folder.empty()) folder = ".";
  if (::stat(folder.c_str(), &found) != 0) fail(std::strerror(errno));
  if (!S_ISDIR(found.st_mode)) fail(std::strerror(ENOTDIR));
  if (::access(folder.c_str(), W_OK | X_OK) != 0) fail(std::strerror(errno));
}

}  // namespace tarvolin
