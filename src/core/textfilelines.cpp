#include "core/textfilelines.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/errors.h"
#include "core/lineendof.h"

namespace tarvolin {
namespace {

// Large enough for many lines of a big data set at a time, small enough to
// stay in the cache and to be allocated once.
constexpr size_t kBufferSize = 1 << 20;

}  // namespace

TextFileLines::~TextFileLines() {
  if (fd_ >= 0) ::close(fd_);
}

bool TextFileLines::open(const std::string& path, std::string& reason) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) {
    reason = std::strerror(errno);
    return false;
  }
  struct stat info {};
  // A device such as /dev/zero never ends: only files and pipes are read.
  if (::fstat(fd_, &info) != 0 || !(S_ISREG(info.st_mode) || S_ISFIFO(info.st_mode))) {
    reason = S_ISDIR(info.st_mode)                            ? "is a folder, not a file"
             : S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode) ? "is a device, not a file"
                                                              : std::strerror(errno);
    ::close(fd_);
    fd_ = -1;
    return false;
  }
  path_ = path;
  sizeHint_ = S_ISREG(info.st_mode) ? static_cast<size_t>(info.st_size) : 0;
  buffer_.resize(kBufferSize);
  begin_ = end_ = 0;
  atEnd_ = false;
  lineEnd_ = '\0';
  return true;
}

bool TextFileLines::fill() {
  // Keep the unfinished line, at the front, and read more behind it.
  std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
  end_ -= begin_;
  begin_ = 0;
  if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);
  while (true) {
    const ssize_t n = ::read(fd_, buffer_.data() + end_, buffer_.size() - end_);
    if (n > 0) {
      end_ += static_cast<size_t>(n);
      return true;
    }
    if (n == 0) return false;
    if (errno != EINTR)
      throw InputError(path_, std::string("cannot be read: ") + std::strerror(errno));
  }
}

char TextFileLines::lineEnd() {
  if (lineEnd_ == '\0') {
    // The first piece read holds the start of the file the line end is told from.
    while (!atEnd_ && end_ - begin_ < (64 << 10)) {
      if (!fill()) atEnd_ = true;
    }
    lineEnd_ = lineendof(std::string_view(buffer_.data() + begin_, end_ - begin_));
  }
  return lineEnd_;
}

std::optional<std::string_view> TextFileLines::next() {
  const char lineEnd = this->lineEnd();
  while (true) {
    const char* start = buffer_.data() + begin_;
    const void* lf = std::memchr(start, lineEnd, end_ - begin_);
    if (lf) {
      const size_t length = static_cast<size_t>(static_cast<const char*>(lf) - start) + 1;
      begin_ += length;
      return std::string_view(start, length);
    }
    if (atEnd_ || !fill()) {
      atEnd_ = true;
      if (begin_ == end_) return std::nullopt;
      const std::string_view last(buffer_.data() + begin_, end_ - begin_);
      begin_ = end_;
      return last;
    }
  }
}

}  // namespace tarvolin
