#include "landmarks/configstack.h"

#include <stdexcept>
#include <string>

namespace tarvolin {

template <int D>
BasicConfigStack<D>::BasicConfigStack(const Eigen::MatrixXd& configuration)
    : pages_(configuration) {
  if (configuration.cols() != D) {
    throw std::invalid_argument(std::string("a configuration has ") +
                                (D == 3 ? "3 columns (X, Y, Z)" : "2 columns (X, Y)") + ", not " +
                                std::to_string(configuration.cols()));
  }
}

template class BasicConfigStack<2>;
template class BasicConfigStack<3>;

}  // namespace tarvolin
