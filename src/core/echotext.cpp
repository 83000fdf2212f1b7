#include "core/echotext.h"

#include "core/sprintf.h"

namespace tarvolin {
namespace {

// Numbers on the console show up to 10 significant digits: enough to tell
// values apart, short enough to read.
std::string formatValue(double value) { return sprintf("%.10g", value); }

}  // namespace

std::string echoText(std::string_view name, std::string_view text) {
  std::string line(name);
  line += " = ";
  line += text;
  line += '\n';
  return line;
}

std::string echoText(std::string_view name, double value) {
  return echoText(name, formatValue(value));
}

std::string echoText(std::string_view name, const Eigen::MatrixXd& value) {
  if (value.size() == 1) return echoText(name, value(0, 0));
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
  return text;
}

}  // namespace tarvolin
