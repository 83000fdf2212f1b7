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

// The file a path names: a symbolic link is followed to the file it points
// to, which is written in its own folder, so that the link stays a link.
std::filesystem::path followLinks(const std::string& path) {
  namespace fs = std::filesystem;
  fs::path target(path);
  std::error_code error;
  for (int hops = 0; fs::is_symlink(fs::symlink_status(target, error)); ++hops) {
    if (hops == 40) fail(path, "too many levels of symbolic links");
    const fs::path link = fs::read_symlink(target, error);
    if (error) fail(path, error.message());
    target = link.is_absolute() ? link : target.parent_path() / link;
  }
  return target;
}

// Writes straight into what is not a regular file (a device, a pipe, the
// terminal): there is nothing there to keep whole.
void writeDirectly(const std::string& path, const std::string& target,
                   const std::function<void(const TextSink&)>& produce) {
  const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) fail(path, std::strerror(errno));
  const TextSink write = [&](std::string_view piece) {
    size_t written = 0;
    while (written < piece.size()) {
      const ssize_t n = ::write(fd, piece.data() + written, piece.size() - written);
      if (n < 0) {
        if (errno == EINTR) continue;
        const int error = errno;
        ::close(fd);
        fail(path, std::strerror(error));
      }
      written += static_cast<size_t>(n);
    }
  };
  try {
    produce(write);
  } catch (...) {
    ::close(fd);
    throw;
  }
  if (::close(fd) != 0) fail(path, std::strerror(errno));
}

}  // namespace

void writefileatomic(const std::string& path, const std::function<void(const TextSink&)>& produce) {
  namespace fs = std::filesystem;
  const fs::path target = followLinks(path);
  std::error_code error;
  const fs::file_status status = fs::status(target, error);
  if (fs::is_directory(status)) fail(path, "is a folder");
  if (fs::exists(status) && !fs::is_regular_file(status)) {
    writeDirectly(path, target.string(), produce);
    return;
  }
  if (fs::exists(status) && ::access(target.c_str(), W_OK) != 0) {
    fail(path, std::strerror(errno));
  }
  // The super-user may write anything, but a file nobody may write is meant
  // to stay as it is: it is refused as it is for every other user.
  if (fs::exists(status) && (fs::status(target).permissions() &
                             (fs::perms::owner_write | fs::perms::group_write |
                              fs::perms::others_write)) == fs::perms::none) {
    fail(path, std::strerror(EACCES));
  }
  fs::path folder = target.parent_path();
  if (folder.empty()) folder = ".";

  // The content goes to a file without a name, which vanishes with the
  // process however it ends, and gets a name only once complete. Where the
  // file system offers no such files, a named temporary file is used. Its
  // name is short, so that any legal target name leaves room for it.
  std::string temp = (folder / ".tarvolin-XXXXXX").string();
  int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
  const bool unnamed = fd >= 0;
  if (!unnamed) fd = ::mkstemp(temp.data());
  if (fd < 0) fail(path, std::strerror(errno));

  // Until the rename, every way out removes the temporary file.
  bool fdOpen = true;
  bool named = !unnamed;
  auto discard = [&] {
    if (fdOpen) ::close(fd);
    fdOpen = false;
    if (named) ::unlink(temp.c_str());
  };
  auto abandon = [&](int errorNumber) {
    discard();
    fail(path, std::strerror(errorNumber));
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
  if (::fchmod(fd, permissionsFor(target.string())) != 0) abandon(errno);
  if (::fsync(fd) != 0) abandon(errno);
  if (unnamed) {
    // A name in the folder first, then the rename over the target: a link
    // cannot replace an existing file.
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    int attempts = 0;
    while (true) {
      temp = (folder / ".tarvolin-XXXXXX").string();
      const int probe = ::mkstemp(temp.data());
      if (probe < 0) abandon(errno);
      ::close(probe);
      ::unlink(temp.c_str());
      if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) == 0) break;
      if (errno != EEXIST || ++attempts == 100) abandon(errno);
    }
    named = true;
  }
  fdOpen = false;
  if (::close(fd) != 0) abandon(errno);
  if (::rename(temp.c_str(), target.c_str()) != 0) abandon(errno);
}

void writefileatomic(const std::string& path, std::string_view content) {
  writefileatomic(path, [content](const TextSink& write) { write(content); });
}

}  // namespace tarvolin
