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

void writefileatomic(const std::string& path, const std::function<void(const TextSink&)>& produce) {
  namespace fs = std::filesystem;
  const fs::path target(path);
  if (fs::is_directory(target)) fail(path, "is a folder");
  fs::path folder = target.parent_path();
  if (folder.empty()) folder = ".";

  std::string temp = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) fail(path, std::strerror(errno));

  // Until the rename, every way out removes the temporary file.
  bool fdOpen = true;
  auto discard = [&] {
    if (fdOpen) ::close(fd);
    fdOpen = false;
    ::unlink(temp.c_str());
  };
  auto abandon = [&](int error) {
    discard();
    fail(path, std::strerror(error));
  };

  const TextSink write = [&](std::string_view piece) {
    size_t written = 0;
    while (written < piece.size()) {
      const ssize_t n = ::write(fd, piece.data() + written, piece.size() - written);
      if (n < 0) {
        if (errno == EINTR) continue;
        abandon(errno);
      }
      written += static_cast<size_t>(n);
    }
  };
  try {
    produce(write);
  } catch (...) {
    if (fdOpen) discard();
    throw;
  }
  if (::fchmod(fd, permissionsFor(path)) != 0) abandon(errno);
  if (::fsync(fd) != 0) abandon(errno);
  fdOpen = false;
  if (::close(fd) != 0) abandon(errno);
  if (::rename(temp.c_str(), path.c_str()) != 0) abandon(errno);
}

void writefileatomic(const std::string& path, std::string_view content) {
  writefileatomic(path, [content](const TextSink& write) { write(content); });
}

}  // namespace tarvolin
