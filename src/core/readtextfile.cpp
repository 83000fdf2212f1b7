#include "core/readtextfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tarvolin {
namespace {

// Closes the descriptor on every path out of readtextfile.
struct FileDescriptor {
  int fd;
  ~FileDescriptor() {
    if (fd >= 0) ::close(fd);
  }
};

}  // namespace

bool readtextfile(const std::string& path, std::string& content, std::string& reason) {
  FileDescriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
  if (file.fd < 0) {
    reason = std::strerror(errno);
    return false;
  }
  struct stat info {};
  if (::fstat(file.fd, &info) != 0) {
    reason = std::strerror(errno);
    return false;
  }
  if (S_ISDIR(info.st_mode)) {
    reason = "is a folder, not a file";
    return false;
  }
  // A device such as /dev/zero never ends: only files and pipes are read.
  if (!S_ISREG(info.st_mode) && !S_ISFIFO(info.st_mode)) {
    reason = "is a device, not a file";
    return false;
  }
  // Read straight into the result: one byte more than the file's size leaves
  // room to meet the end of the file without growing the buffer. It grows
  // only when the file grew meanwhile or has no size (a pipe).
  content.assign(S_ISREG(info.st_mode) ? static_cast<size_t>(info.st_size) + 1 : 0, '\0');
  size_t filled = 0;
  while (true) {
    if (filled == content.size()) content.resize(content.size() + (1 << 16));
    ssize_t n = ::read(file.fd, content.data() + filled, content.size() - filled);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      reason = std::strerror(errno);
      return false;
    }
    filled += static_cast<size_t>(n);
  }
  content.resize(filled);
  return true;
}

}  // namespace tarvolin
