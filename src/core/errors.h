#pragma once
// The two kinds of failure that end a load, a computation or a write.
//
// InputError: the user's input is at fault (a file that cannot be read, a
// line that holds text, a data set whose specimens cannot be compared). It
// names the file and, where one applies, the line; its what() reads
// "FILE:LINE: message" or "FILE: message", or just the message when no file
// is involved.
//
// Every InputError also says which of the user's inputs it concerns
// (input()), set where that is known: by the routine that raises it, or by
// the step that reads that input. A caller that must name a file for an
// error that carries none chooses it from this field, never from the words.
//
// OutputError: the system could not finish writing a result (disk full, no
// permission). It names the file and the reason.

#include <stdexcept>
#include <string>

namespace tarvolin {

// The inputs of an analysis an error can concern.
enum class Input {
  unknown,        // not said; taken to be the data set
  data,           // the landmark data set
  x,              // the x-variable (centroid size, an x list, a table's column)
  groups,         // the specimens' groups
  standardValue,  // the standard value the data are standardized to
  wireframe,      // the wireframe drawn with the plots
  sliders,        // the files that say which landmarks slide
  output,         // the file a result is written to
  option,         // an option's value on the command line
};

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
  // Which input is at fault; Input::unknown until someone says.
  Input input() const { return input_; }
  // Says which input is at fault, for `throw InputError(...).concerning(Input::x)`.
  InputError& concerning(Input input) {
    input_ = input;
    return *this;
  }

 private:
  static std::string compose(const std::string& file, long line, const std::string& message) {
    if (file.empty()) return message;
    if (line > 0) return file + ":" + std::to_string(line) + ": " + message;
    return file + ": " + message;
  }

  std::string file_;
  long line_;
  std::string message_;
  Input input_ = Input::unknown;
};

// Runs `read`, marking an InputError it throws that says no input yet as
// concerning `input`: the step that reads a file knows what it is for.
template <typename Read>
decltype(auto) readinginput(Input input, Read&& read) {
  try {
    return read();
  } catch (InputError& e) {
    if (e.input() == Input::unknown) e.concerning(input);
    throw;
  }
}

class OutputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace tarvolin
