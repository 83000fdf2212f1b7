#include "syntheticdata.h"

#include <Eigen/Geometry>
#include <charconv>
#include <cmath>
#include <numbers>
#include <random>
#include <stdexcept>

namespace tarvolin::bench {
namespace {

// Standard normal numbers by the Box-Muller transform, so that the sequence
// depends only on the seed and not on the standard library.
class Normal {
 public:
  explicit Normal(std::uint32_t seed) : engine_(seed) {}

  double operator()() {
    if (hasSpare_) {
      hasSpare_ = false;
      return spare_;
    }
    const double u1 = uniform();
    const double u2 = uniform();
    const double radius = std::sqrt(-2.0 * std::log(u1));
    const double angle = 2.0 * std::numbers::pi * u2;
    spare_ = radius * std::sin(angle);
    hasSpare_ = true;
    return radius * std::cos(angle);
  }

 private:
  // Uniform on (0, 1), never 0, so that the logarithm is finite.
  double uniform() { return (static_cast<double>(engine_()) + 0.5) / 4294967296.0; }

  std::mt19937 engine_;
  double spare_ = 0;
  bool hasSpare_ = false;
};

Eigen::MatrixX3d gaussian(Normal& normal, Eigen::Index rows) {
  Eigen::MatrixX3d m(rows, 3);
  for (Eigen::Index j = 0; j < rows; ++j) {
    for (Eigen::Index c = 0; c < 3; ++c) m(j, c) = normal();
  }
  return m;
}

// Centred, then scaled to centroid size `size`.
Eigen::MatrixX3d withSize(Eigen::MatrixX3d x, double size) {
  x.rowwise() -= x.colwise().mean();
  return x * (size / x.norm());
}

}  // namespace

Eigen::MatrixXd syntheticdataset(Eigen::Index specimens, Eigen::Index landmarks,
                                 std::uint32_t seed) {
  if (specimens < 1 || landmarks < 1) throw std::invalid_argument("empty synthetic data set");
  Normal normal(seed);

  // The mean shape: points on an ellipsoid, centred, size 1.
  Eigen::MatrixX3d mean = gaussian(normal, landmarks);
  for (Eigen::Index j = 0; j < landmarks; ++j) {
    mean.row(j) = mean.row(j).normalized().cwiseProduct(Eigen::RowVector3d(3.0, 2.0, 1.5));
  }
  mean = withSize(mean, 1.0);
  // The change of shape per unit of log size.
  const Eigen::MatrixX3d allometry = withSize(gaussian(normal, landmarks), 0.3);
  constexpr double noise = 0.001;
  const double logSize0 = std::log(100.0);

  Eigen::MatrixXd data(specimens, 3 * landmarks + 1);
  for (Eigen::Index i = 0; i < specimens; ++i) {
    const double logSize = logSize0 + 0.25 * normal();
    const double size = std::exp(logSize);
    Eigen::MatrixX3d shape =
        mean + (logSize - logSize0) * allometry + noise * gaussian(normal, landmarks);
    shape = withSize(std::move(shape), size);

    // A uniform random rotation from a random unit quaternion.
    Eigen::Quaterniond q(normal(), normal(), normal(), normal());
    q.normalize();
    const Eigen::Matrix3d rotation = q.toRotationMatrix();
    const Eigen::RowVector3d translation(20.0 * normal(), 20.0 * normal(), 20.0 * normal());
    const Eigen::MatrixX3d placed = (shape * rotation.transpose()).rowwise() + translation;

    for (Eigen::Index j = 0; j < landmarks; ++j) {
      for (Eigen::Index c = 0; c < 3; ++c) data(i, 3 * j + c) = placed(j, c);
    }
    data(i, 3 * landmarks) = size;
  }
  return data;
}

std::string zortext(const Eigen::MatrixXd& data) {
  std::string text;
  text.reserve(static_cast<size_t>(data.size()) * 12);
  char buffer[64];
  for (Eigen::Index i = 0; i < data.rows(); ++i) {
    for (Eigen::Index c = 0; c < data.cols(); ++c) {
      if (c > 0) text += ' ';
      const auto result =
          std::to_chars(buffer, buffer + sizeof buffer, data(i, c), std::chars_format::fixed, 6);
      text.append(buffer, result.ptr);
    }
    text += '\n';
  }
  return text;
}

}  // namespace tarvolin::bench
