#pragma once
// The coordinates of a plotted object along one axis: a row of values, in
// no more room than a pointer and a count. A single value, which is what
// the plotted objects of a 2D plot hold (one object per landmark), is kept
// in the pointer's place, so that such an object needs no memory besides
// itself; longer rows have a block of their own.
//
// Any Eigen vector or vector expression converts to it, evaluated straight
// into its block.
//
// Example:
//   PlotData x = PlotData::one(2.5);                  // x.size() == 1, x(0) == 2.5
//   PlotData y = points.col(1).transpose();           // a copy of the column
//   double top = y.map().maxCoeff();

#include <Eigen/Core>
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
      many_ = new double[static_cast<size_t>(size_)];
      for (Eigen::Index i = 0; i < size_; ++i) many_[i] = values.derived().coeff(i);
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
  const double* data() const { return size_ == 1 ? &one_ : many_; }
  double operator()(Eigen::Index i) const { return data()[i]; }
  // The values as an Eigen row, valid while this object is neither changed nor moved.
  Eigen::Map<const Eigen::RowVectorXd> map() const { return {data(), size_}; }

 private:
  union {
    double* many_ = nullptr;  // size_ > 1
    double one_;              // size_ == 1
  };
  Eigen::Index size_ = 0;
};

}  // namespace tarvolin
