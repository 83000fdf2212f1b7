#include "landmarks/xyzfromvert3.h"

#include <algorithm>
#include <stdexcept>

#include "landmarks/rowblocks.h"

namespace tarvolin {

Eigen::MatrixXd xyzfromvert3(const ConfigStack& data, const Eigen::Ref<const Eigen::VectorXd>& cs) {
  const Eigen::Index pages = data.specimens();
  if (cs.size() < pages) {
    throw std::out_of_range("xyzfromvert3: " + std::to_string(pages) + " specimens but only " +
                            std::to_string(cs.size()) + " size values");
  }
  // Row i is x1y1z1(data.page(i), cs(i)), written a few specimens at a time
  // so that each column of y is written a cache line at once.
  const Eigen::Index k = data.landmarks();
  Eigen::MatrixXd y(pages, 3 * k + 1);
  constexpr Eigen::Index kBlock = 16;
  for (Eigen::Index first = 0; first < pages; first += kBlock) {
    pagesToRows<3>(data, first, std::min(kBlock, pages - first), y, first);
  }
  y.col(3 * k) = cs.head(pages);
  return y;
}

}  // namespace tarvolin
