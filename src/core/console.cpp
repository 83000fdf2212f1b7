#include "core/console.h"

#include <cstdio>

#include "core/printable.h"
#include "core/sprintf.h"

namespace tarvolin {
namespace {

// Numbers on the console show up to 10 significant digits: enough to tell
// values apart, short enough to read.
std::string formatValue(double value) { return sprintf("%.10g", value); }

}  // namespace

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

void Console::echo(std::string_view name, std::string_view text) {
  std::string line(name);
  line += " = ";
  line += text;
  line += '\n';
  write(line);
}

void Console::echo(std::string_view name, double value) { echo(name, formatValue(value)); }

void Console::echo(std::string_view name, const Eigen::MatrixXd& value) {
  if (value.size() == 1) {
    echo(name, value(0, 0));
    return;
  }
  std::string text(name);
  text += " =";
  if (value.size() == 0) text += " []";
  text += '\n';
  for (Eigen::Index r = 0; r < value.rows(); ++r) {
    for (Eigen::Index c = 0; c < value.cols(); ++c) {
      text += "  ";
      text += formatValue(value(r, c));
    }
    text += '\n';
  }
  write(text);
}

Console::Sink Console::setSink(Sink sink) {
  Sink previous = std::move(sink_);
  sink_ = std::move(sink);
  return previous;
}

Console& console() {
  static Console instance;
  return instance;
}

ConsoleCapture::ConsoleCapture()
    : previous_(console().setSink([this](std::string_view text) { text_ += text; })) {}

ConsoleCapture::~ConsoleCapture() { console().setSink(std::move(previous_)); }

}  // namespace tarvolin
