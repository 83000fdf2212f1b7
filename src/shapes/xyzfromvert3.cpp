#include "xyzfromvert3.h"

#include <stdexcept>

#include "x1y1z1.h"

namespace tarvolin {

Eigen::MatrixXd xyzfromvert3(const ConfigStack& data, const Eigen::Ref<const Eigen::VectorXd>& cs) {
  const Eigen::Index pages = data.specimens();
  if (cs.size() < pages) {
    throw std::out_of_range("xyzfromvert3: " + std::to_string(pages) + " specimens but only " +
                            std::to_string(cs.size()) + " size values");
  }
  Eigen::MatrixXd y(pages, 3 * data.landmarks() + 1);
  for (Eigen::Index i = 0; i < pages; ++i) y.row(i) = x1y1z1(data.page(i), cs(i));
  return y;
}

}  // namespace tarvolin
