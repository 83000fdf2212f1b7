#pragma once
// The console that accompanies the window: echoed values, notices and error
// texts.
//
// There is one console for the whole run, as there is one window session.
// By default it writes to standard output; a caller can send it elsewhere
// (the command line sends it to standard error so that results on standard
// output stay clean; tests capture it with ConsoleCapture).
//
// echo(name, value) is the display of a named value: the name, " = " and the
// value on one line for a number or a text; for a matrix, the name and " ="
// on one line and then one line per row.
//
// Example:
//   console().echo("stemp", "using ZOR format");   // stemp = using ZOR format
//   console().echo("m", 12.0);                       // m = 12

#include <Eigen/Core>
#include <functional>
#include <string>
#include <string_view>

#include "core/textsink.h"

namespace tarvolin {

class Console {
 public:
  using Sink = std::function<void(std::string_view)>;

  void write(std::string_view text);
  // Writes `text` and a line end.
  void disp(std::string_view text);
  void echo(std::string_view name, std::string_view text);
  void echo(std::string_view name, const char* text) { echo(name, std::string_view(text)); }
  void echo(std::string_view name, double value);
  void echo(std::string_view name, const Eigen::MatrixXd& value);

  // Replaces the sink and returns the previous one.
  Sink setSink(Sink sink);

 private:
  Sink sink_;
};

Console& console();

// The console as a routine's sink: what is written there goes to console().
TextSink consoleSink();

// Collects everything written to the console while it lives.
class ConsoleCapture {
 public:
  ConsoleCapture();
  ~ConsoleCapture();
  ConsoleCapture(const ConsoleCapture&) = delete;
  ConsoleCapture& operator=(const ConsoleCapture&) = delete;

  const std::string& text() const { return text_; }

 private:
  std::string text_;
  Console::Sink previous_;
};

}  // namespace tarvolin
