#pragma once
// The coordinates of a plotted object along one axis: a row of values, in
// no more room than a pointer and a count. A single value, which is what
// the plotted objects of a 2D plot hold (one object per landmark), is kept
// in the pointer's place, so that such an object needs no memory besides
// itself; longer rows have a block of their own, which also keeps the
// row's smallest and largest finite value, found once when the row is made,
// so that drawing finds the limits of the data without reading it again.
//
// Any Eigen vector or vector expression converts to it, evaluated straight
// into its block.
//
// Example:
//   PlotData x = PlotData::one(2.5);                  // x.size() == 1, x(0) == 2.5
//   PlotData y = points.col(1).transpose();           // a copy of the column
//   double top = y.map().maxCoeff();

#include <Eigen/Core>
#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace tarvolin {

class PlotData {
 public:
  PlotData() = default;
  template <typename Derived>
  PlotData(const Eigen::DenseBase<Derived>& values)  // NOLINT: any vector is plot data
      : size_(values.size()) {
    if (size_ == 1) {
      one_ = values.derived().coeff(0);
    } else if (size_ > 1) {
      many_ = new double[static_cast<size_t>(size_) + kLimits];
      double* row = many_ + kLimits;
      for (Eigen::Index i = 0; i < size_; ++i) row[i] = values.derived().coeff(i);
      double lo = std::numeric_limits<double>::infinity(), hi = -lo;
      for (Eigen::Index i = 0; i < size_; ++i) {
        if (!std::isfinite(row[i])) continue;
        lo = std::min(lo, row[i]);
        hi = std::max(hi, row[i]);
      }
      many_[0] = lo;
      many_[1] = hi;
    }
  }
  static PlotData one(double value) {
    PlotData data;
    data.one_ = value;
    data.size_ = 1;
    return data;
  }

  PlotData(const PlotData& other) : PlotData(other.map()) {}
  PlotData(PlotData&& other) noexcept
      : many_(std::exchange(other.many_, nullptr)), size_(std::exchange(other.size_, 0)) {}
  PlotData& operator=(PlotData other) noexcept {
    std::swap(many_, other.many_);
    std::swap(size_, other.size_);
    return *this;
  }
  ~PlotData() {
    if (size_ > 1) delete[] many_;
  }

  Eigen::Index size() const { return size_; }
  const double* data() const { return size_ == 1 ? &one_ : many_ + kLimits; }
  // The smallest and largest finite value; +inf and -inf when there is none.
  double finitemin() const {
    if (size_ > 1) return many_[0];
    return size_ == 1 && std::isfinite(one_) ? one_ : std::numeric_limits<double>::infinity();
  }
  double finitemax() const {
    if (size_ > 1) return many_[1];
    return size_ == 1 && std::isfinite(one_) ? one_ : -std::numeric_limits<double>::infinity();
  }
  double operator()(Eigen::Index i) const { return data()[i]; }
  // The values as an Eigen row, valid while this object is neither changed nor moved.
  Eigen::Map<const Eigen::RowVectorXd> map() const { return {data(), size_}; }

 private:
  static constexpr Eigen::Index kLimits = 2;  // the block's first two: smallest, largest
  union {
    double* many_ = nullptr;  // size_ > 1
    double one_;              // size_ == 1
  };
  Eigen::Index size_ = 0;
};

}  // namespace tarvolin
