#include "core/writefileatomic.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "core/errors.h"

namespace tarvolin {
namespace {

[[noreturn]] void fail(const std::string& path, const std::string& reason) {
  throw OutputError("cannot write " + path + ": " + reason);
}

// Gives the new file fd what the file it replaces had: its owner and group
// where this user may set them, and its permissions. A set-user-ID or
// set-group-ID bit stays only on a file of the same owner or group, so that
// replacing never makes a program run as someone else. A new file gets 0666
// less the umask.
int takeOverOwnerAndPermissions(int fd, const std::string& path) {
  struct stat existing {};
  if (::stat(path.c_str(), &existing) != 0) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return ::fchmod(fd, 0666 & ~mask);
  }
  // Owner and group, else the group alone (a user may give a file to a
  // group of their own). Neither may be allowed, and that is no failure:
  // the file then stays the writer's, and the bits below follow from that.
  const bool ownerKept = ::fchown(fd, existing.st_uid, existing.st_gid) == 0;
  if (!ownerKept) static_cast<void>(::fchown(fd, static_cast<uid_t>(-1), existing.st_gid) == 0);
  struct stat made {};
  if (::fstat(fd, &made) != 0) return -1;
  mode_t mode = existing.st_mode & 07777;
  if (made.st_uid != existing.st_uid) mode &= ~static_cast<mode_t>(S_ISUID);
  if (made.st_gid != existing.st_gid) mode &= ~static_cast<mode_t>(S_ISGID);
  return ::fchmod(fd, mode);
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

// Writes over a regular file in its own place: for a file with other
// names, which a new file would cut off from them, and for one whose folder
// takes no new file. The text is made whole first, so a producer that fails
// leaves the file as it was; only a failing write can then lose the old
// content, and the message says so.
void writeInPlace(const std::string& path, const std::string& target, const std::string& why,
                  const std::function<void(const TextSink&)>& produce) {
  std::string text;
  produce([&text](std::string_view piece) { text.append(piece); });
  const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) fail(path, std::strerror(errno));
  const auto lost = [&](int error) {
    ::close(fd);
    fail(path, std::string(std::strerror(error)) + "; it was being written in place (" + why +
                   "), so its old content may be lost");
  };
  size_t written = 0;
  while (written < text.size()) {
    const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      lost(errno);
    }
    written += static_cast<size_t>(n);
  }
  if (::ftruncate(fd, static_cast<off_t>(text.size())) != 0) lost(errno);
  if (::fsync(fd) != 0) lost(errno);
  if (::close(fd) != 0) {
    fail(path, std::string(std::strerror(errno)) + "; it was being written in place (" + why +
                   "), so its old content may be lost");
  }
}

}  // namespace

void writefileatomic(const std::string& path, const std::function<void(const TextSink&)>& produce) {
  namespace fs = std::filesystem;
  // What the kernel finds at the path, links followed its own way: a pipe
  // given as /dev/fd/N or /dev/stdout is a link to "pipe:[...]", which names
  // no file that a link could be followed to, and a FIFO or terminal has no
  // folder to make a file in. Only a regular file is replaced whole.
  struct stat found {};
  if (::stat(path.c_str(), &found) == 0 && !S_ISREG(found.st_mode) && !S_ISDIR(found.st_mode)) {
    writeDirectly(path, path, produce);
    return;
  }
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
  if (fs::exists(status) &&
      (fs::status(target).permissions() & (fs::perms::owner_write | fs::perms::group_write |
                                           fs::perms::others_write)) == fs::perms::none) {
    fail(path, std::strerror(EACCES));
  }
  fs::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  if (fs::exists(status)) {
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0 && existing.st_nlink > 1) {
      writeInPlace(path, target.string(), "it has " + std::to_string(existing.st_nlink) + " names",
                   produce);
      return;
    }
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
      writeInPlace(path, target.string(), "its folder takes no new file", produce);
      return;
    }
  }

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
  if (takeOverOwnerAndPermissions(fd, target.string()) != 0) abandon(errno);
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
