#include "landmarks/xyfromvert2.h"

#include <stdexcept>
#include <string>

namespace tarvolin {

Eigen::MatrixXd xyfromvert2(const ConfigStack2D& data,
                            const Eigen::Ref<const Eigen::VectorXd>& cs) {
  const Eigen::Index pages = data.specimens();
  const Eigen::Index k = data.landmarks();
  if (cs.size() < pages) {
    throw std::out_of_range("xyfromvert2: " + std::to_string(pages) + " specimens but only " +
                            std::to_string(cs.size()) + " size values");
  }
  Eigen::MatrixXd y(pages, 2 * k + 1);
  for (Eigen::Index i = 0; i < pages; ++i) {
    for (Eigen::Index j = 0; j < k; ++j) {
      y(i, 2 * j) = data(j, 0, i);
      y(i, 2 * j + 1) = data(j, 1, i);
    }
    y(i, 2 * k) = cs(i);
  }
  return y;
}

}  // namespace tarvolin
