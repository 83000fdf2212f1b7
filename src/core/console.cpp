#include "core/console.h"

#include <cstdio>

#include "core/echotext.h"
#include "core/printable.h"

namespace tarvolin {

void Console::write(std::string_view raw) {
  // Echoes and errors carry text from files (IDs, labels): no escape
  // sequence in them reaches the terminal.
  const std::string text = printable(raw, true);
  if (sink_) {
    sink_(text);
  } else {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
  }
}

void Console::disp(std::string_view text) {
  std::string line(text);
  line += '\n';
  write(line);
}

void Console::echo(std::string_view name, std::string_view text) { write(echoText(name, text)); }

void Console::echo(std::string_view name, double value) { write(echoText(name, value)); }

void Console::echo(std::string_view name, const Eigen::MatrixXd& value) {
  write(echoText(name, value));
}

Console::Sink Console::setSink(Sink sink) {
  Sink previous = std::move(sink_);
  sink_ = std::move(sink);
  return previous;
}

TextSink consoleSink() {
  return [](std::string_view text) { console().write(text); };
}

Console& console() {
  static Console instance;
  return instance;
}

ConsoleCapture::ConsoleCapture()
    : previous_(console().setSink([this](std::string_view text) { text_ += text; })) {}

ConsoleCapture::~ConsoleCapture() { console().setSink(std::move(previous_)); }

}  // namespace tarvolin
