#include "configstack.h"

#include <stdexcept>

namespace tarvolin {

ConfigStack::ConfigStack(const Eigen::MatrixXd& configuration) : pages_(configuration) {
  if (configuration.cols() != 3) {
    throw std::invalid_argument("a configuration has 3 columns (X, Y, Z), not " +
                                std::to_string(configuration.cols()));
  }
}

}  // namespace tarvolin
