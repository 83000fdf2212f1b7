#pragma once
// Reads a text file line by line through one reusable buffer, so that a
// large file is never held in memory whole.
//
// open(path, reason) opens the file (false, with the reason, when it cannot
// be read: missing, a folder, no permission). next() returns the next line
// with its line end (the last line may have none), or nothing at the end;
// the view stays valid until the next call. The line end is the file's own,
// told from its start (lineendof): LF (a CR before it stays in the line, as
// a blank) or, for files whose lines end in a lone CR, CR. sizeHint() is the length of a regular
// file, 0 for a pipe. A read error is an InputError naming the file.
//
// Example:
//   TextFileLines lines;
//   std::string reason;
//   if (!lines.open("skulls.txt", reason)) report(reason);
//   while (auto line = lines.next()) use(*line);

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvolin {

class TextFileLines {
 public:
  TextFileLines() = default;
  ~TextFileLines();
  TextFileLines(const TextFileLines&) = delete;
  TextFileLines& operator=(const TextFileLines&) = delete;

  bool open(const std::string& path, std::string& reason);
  std::optional<std::string_view> next();
  size_t sizeHint() const { return sizeHint_; }

 private:
  bool fill();
  char lineEnd();

  int fd_ = -1;
  std::string path_;
  std::vector<char> buffer_;
  size_t begin_ = 0;
  size_t end_ = 0;
  bool atEnd_ = false;
  char lineEnd_ = '\0';  // not yet known
  size_t sizeHint_ = 0;
};

}  // namespace tarvolin
