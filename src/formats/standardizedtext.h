#pragma once
// The text of a standardized-data file: one specimen per line, ZOR layout.
//
// Every number is written as printf's "%g " writes it (6 significant digits,
// then a blank) and every line ends with " \n", so a line ends in two blanks
// and the line end. No header, no count.
//
// sdata:     N x n landmark data set (coordinates, then the size column).
// lastValue: when given, the last number of every line (the standard value
//            on the raw scale); otherwise each row's own last column.
//
// The overload with a sink hands the text over in pieces of about a megabyte
// instead of building it whole, for writing large data sets.
//
// Example:
//   standardizedtext([0.5 1e-5 2], 5)  -> "0.5 1e-05 5  \n"
//   standardizedtext([0.5 1e-5 2], {}) -> "0.5 1e-05 2  \n"

#include <Eigen/Core>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tarvolin {

std::string standardizedtext(const Eigen::MatrixXd& sdata, std::optional<double> lastValue);

void standardizedtext(const Eigen::MatrixXd& sdata, std::optional<double> lastValue,
                      const std::function<void(std::string_view)>& sink);

// The same text of the coordinates `coords` (N x m) with the sizes `sizes`
// (N values) as their last column, without putting the two together first.
void standardizedtext(const Eigen::MatrixXd& coords, const Eigen::VectorXd& sizes,
                      std::optional<double> lastValue,
                      const std::function<void(std::string_view)>& sink);

}  // namespace tarvolin
