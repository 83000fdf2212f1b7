#pragma once
// Configurations for the geometry tests: random shapes in general position
// and random proper rotations, from a fixed seed.

#include <Eigen/Core>
#include <Eigen/Geometry>
#include <random>

namespace tarvolin::testing {

inline Eigen::MatrixXd randomConfiguration(std::mt19937& engine, Eigen::Index landmarks) {
  std::normal_distribution<double> normal(0.0, 1.0);
  Eigen::MatrixXd x(landmarks, 3);
  for (Eigen::Index i = 0; i < x.size(); ++i) x(i) = normal(engine);
  return x;
}

inline Eigen::Matrix3d randomRotation(std::mt19937& engine) {
  std::normal_distribution<double> normal(0.0, 1.0);
  Eigen::Quaterniond q(normal(engine), normal(engine), normal(engine), normal(engine));
  return q.normalized().toRotationMatrix();
}

inline Eigen::MatrixXd centred(const Eigen::MatrixXd& x) {
  return x.rowwise() - x.colwise().mean();
}

}  // namespace tarvolin::testing
