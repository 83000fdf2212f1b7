#pragma once
// A configuration stack: N configurations of k landmarks in D coordinates
// (D = 3, or 2 for flat data), the k x D x N array whose page i is the
// configuration of specimen i.
//
// Pages are stored one after another in a k x DN column-major matrix, so
// each page is a contiguous k x D block and can be handed to the geometry
// routines without copying. Indices are 0-based: element (j, c, i) is
// coordinate c (0 = X, 1 = Y, 2 = Z) of landmark j of specimen i.
//
// ConfigStack is the three-dimensional stack the system works in;
// ConfigStack2D holds 2D data (X, Y) the same way.
//
// Example:
//   ConfigStack s(2, 3);            // 2 landmarks, 3 specimens, all zero
//   s(1, 2, 0) = 5.0;               // Z of landmark 2 of specimen 1
//   Eigen::MatrixXd first = s.page(0);

#include <Eigen/Core>

namespace tarvolin {

template <int D>
class BasicConfigStack {
  static_assert(D == 2 || D == 3, "a configuration has 2 or 3 coordinates per landmark");

 public:
  using Index = Eigen::Index;
  using Page = Eigen::Block<Eigen::MatrixXd, Eigen::Dynamic, D, true>;
  using ConstPage = Eigen::Block<const Eigen::MatrixXd, Eigen::Dynamic, D, true>;
  static constexpr int dims = D;

  BasicConfigStack() = default;
  // k landmarks, n specimens, every coordinate zero.
  BasicConfigStack(Index landmarks, Index specimens)
      : pages_(Eigen::MatrixXd::Zero(landmarks, D * specimens)) {}
  // A stack of one page holding `configuration` (k x D).
  explicit BasicConfigStack(const Eigen::MatrixXd& configuration);

  Index landmarks() const { return pages_.rows(); }
  Index specimens() const { return pages_.cols() / D; }
  bool empty() const { return pages_.size() == 0; }

  double& operator()(Index landmark, Index coordinate, Index specimen) {
    return pages_(landmark, D * specimen + coordinate);
  }
  double operator()(Index landmark, Index coordinate, Index specimen) const {
    return pages_(landmark, D * specimen + coordinate);
  }

  Page page(Index specimen) { return Page(pages_, 0, D * specimen, pages_.rows(), D); }
  ConstPage page(Index specimen) const {
    return ConstPage(pages_, 0, D * specimen, pages_.rows(), D);
  }

  // All pages side by side, k x DN.
  const Eigen::MatrixXd& pages() const { return pages_; }

  bool operator==(const BasicConfigStack& other) const {
    return pages_.rows() == other.pages_.rows() && pages_.cols() == other.pages_.cols() &&
           pages_ == other.pages_;
  }

 private:
  Eigen::MatrixXd pages_;
};

extern template class BasicConfigStack<2>;
extern template class BasicConfigStack<3>;

using ConfigStack = BasicConfigStack<3>;
using ConfigStack2D = BasicConfigStack<2>;

}  // namespace tarvolin
