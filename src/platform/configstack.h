#pragma once
// A configuration stack: N configurations of k landmarks in three coordinates,
// the k x 3 x N array whose page i is the configuration of specimen i.
//
// Pages are stored one after another in a k x 3N column-major matrix, so each
// page is a contiguous k x 3 block and can be handed to the geometry routines
// without copying. Indices are 0-based: element (j, c, i) is coordinate c
// (0 = X, 1 = Y, 2 = Z) of landmark j of specimen i.
//
// Example:
//   ConfigStack s(2, 3);            // 2 landmarks, 3 specimens, all zero
//   s(1, 2, 0) = 5.0;               // Z of landmark 2 of specimen 1
//   Eigen::MatrixXd first = s.page(0);

#include <Eigen/Core>

namespace tarvolin {

class ConfigStack {
 public:
  using Index = Eigen::Index;
  using Page = Eigen::Block<Eigen::MatrixXd, Eigen::Dynamic, 3, true>;
  using ConstPage = Eigen::Block<const Eigen::MatrixXd, Eigen::Dynamic, 3, true>;

  ConfigStack() = default;
  // k landmarks, n specimens, every coordinate zero.
  ConfigStack(Index landmarks, Index specimens)
      : pages_(Eigen::MatrixXd::Zero(landmarks, 3 * specimens)) {}
  // A stack of one page holding `configuration` (k x 3).
  explicit ConfigStack(const Eigen::MatrixXd& configuration);

  Index landmarks() const { return pages_.rows(); }
  Index specimens() const { return pages_.cols() / 3; }
  bool empty() const { return pages_.size() == 0; }

  double& operator()(Index landmark, Index coordinate, Index specimen) {
    return pages_(landmark, 3 * specimen + coordinate);
  }
  double operator()(Index landmark, Index coordinate, Index specimen) const {
    return pages_(landmark, 3 * specimen + coordinate);
  }

  Page page(Index specimen) { return Page(pages_, 0, 3 * specimen, pages_.rows(), 3); }
  ConstPage page(Index specimen) const {
    return ConstPage(pages_, 0, 3 * specimen, pages_.rows(), 3);
  }

  // All pages side by side, k x 3N.
  const Eigen::MatrixXd& pages() const { return pages_; }

  bool operator==(const ConfigStack& other) const {
    return pages_.rows() == other.pages_.rows() && pages_.cols() == other.pages_.cols() &&
           pages_ == other.pages_;
  }

 private:
  Eigen::MatrixXd pages_;
};

}  // namespace tarvolin
