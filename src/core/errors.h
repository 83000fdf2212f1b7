#pragma once
// The two kinds of failure that end a load, a computation or a write.
//
// InputError: the user's input is at fault (a file that cannot be read, a
// line that holds text, a data set whose specimens cannot be compared). It
// names the file and, where one applies, the line; its what() reads
// "FILE:LINE: message" or "FILE: message", or just the message when no file
// is involved.
//
// OutputError: the system could not finish writing a result (disk full, no
// permission). It names the file and the reason.

#include <stdexcept>
#include <string>

namespace tarvolin {

class InputError : public std::runtime_error {
 public:
  InputError(std::string file, long line, std::string message)
      : std::runtime_error(compose(file, line, message)),
        file_(std::move(file)),
        line_(line),
        message_(std::move(message)) {}
  InputError(std::string file, std::string message)
      : InputError(std::move(file), 0, std::move(message)) {}
  explicit InputError(std::string message) : InputError(std::string(), 0, std::move(message)) {}

  const std::string& file() const { return file_; }
  // 1-based line number, or 0 when the problem is not on one line.
  long line() const { return line_; }
  // The message without the file and line.
  const std::string& message() const { return message_; }

 private:
  static std::string compose(const std::string& file, long line, const std::string& message) {
    if (file.empty()) return message;
    if (line > 0) return file + ":" + std::to_string(line) + ": " + message;
    return file + ": " + message;
  }

  std::string file_;
  long line_;
  std::string message_;
};

class OutputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace tarvolin
