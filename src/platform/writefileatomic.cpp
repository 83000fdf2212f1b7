#include "writefileatomic.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "errors.h"

namespace tarvolin {
namespace {

[[noreturn]] void fail(const std::string& path, const std::string& reason) {
  throw OutputError("cannot write " + path + ": " + reason);
}

mode_t permissionsFor(const std::string& path) {
  struct stat existing {};
  if (::stat(path.c_str(), &existing) == 0) return existing.st_mode & 07777;
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

void writefileatomic(const std::string& path, std::string_view content) {
  namespace fs = std::filesystem;
  const fs::path target(path);
  if (fs::is_directory(target)) fail(path, "is a folder");
  fs::path folder = target.parent_path();
  if (folder.empty()) folder = ".";

  std::string temp = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
  int fd = ::mkstemp(temp.data());
  if (fd < 0) fail(path, std::strerror(errno));

  auto abandon = [&](int error) {
    ::close(fd);
    ::unlink(temp.c_str());
    fail(path, std::strerror(error));
  };

  size_t written = 0;
  while (written < content.size()) {
    ssize_t n = ::write(fd, content.data() + written, content.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      abandon(errno);
    }
    written += static_cast<size_t>(n);
  }
  if (::fchmod(fd, permissionsFor(path)) != 0) abandon(errno);
  if (::fsync(fd) != 0) abandon(errno);
  if (::close(fd) != 0) {
    int error = errno;
    ::unlink(temp.c_str());
    fail(path, std::strerror(error));
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    int error = errno;
    ::unlink(temp.c_str());
    fail(path, std::strerror(error));
  }
}

}  // namespace tarvolin
