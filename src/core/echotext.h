#pragma once
// The text of the console's display of a named value (Console::echo): the
// name, " = " and the value on one line for a number or a text; for a
// matrix, the name and " =" on one line and then one line per row, numbers
// to 10 significant digits.
//
// Example:
//   echoText("m", 12.0)                     // "m = 12\n"
//   echoText("r", Eigen::MatrixXd::Identity(2, 2))   // "r =\n  1  0\n  0  1\n"

#include <Eigen/Core>
#include <string>
#include <string_view>

namespace tarvolin {

std::string echoText(std::string_view name, std::string_view text);
std::string echoText(std::string_view name, double value);
std::string echoText(std::string_view name, const Eigen::MatrixXd& value);

}  // namespace tarvolin
