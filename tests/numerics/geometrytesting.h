#pragma once
// Configurations for the geometry tests: random shapes in general position
// and random proper rotations (in space or in the plane), from a fixed seed;
// landmark sets with landmarks not measured.

#include <Eigen/Core>
#include <Eigen/Geometry>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "landmarks/landmarkset.h"

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

inline Eigen::Matrix2d randomRotation2D(std::mt19937& engine) {
  std::uniform_real_distribution<double> angle(-3.14159, 3.14159);
  return Eigen::Matrix2d(Eigen::Rotation2Dd(angle(engine)));
}

inline Eigen::MatrixXd centred(const Eigen::MatrixXd& x) {
  return x.rowwise() - x.colwise().mean();
}

// Specimen i's ID: "a", "b", ... then "s27", "s28", ...
inline std::string letterId(Eigen::Index i) {
  return i < 26 ? std::string(1, static_cast<char>('a' + i)) : "s" + std::to_string(i + 1);
}

// A set of `coords` (one specimen per row) read from "s.tps", with the
// landmarks `holes` (specimen, landmark; 0-based) not measured.
inline LandmarkSet setWithHoles(Eigen::MatrixXd coords, int dims,
                                const std::vector<std::pair<Eigen::Index, Eigen::Index>>& holes) {
  LandmarkSet set;
  set.dims = dims;
  set.coords = std::move(coords);
  set.path = "s.tps";
  for (Eigen::Index i = 0; i < set.specimens(); ++i) set.ids.push_back(letterId(i));
  for (const auto& [specimen, landmark] : holes) {
    set.coords.block(specimen, dims * landmark, 1, dims)
        .setConstant(std::numeric_limits<double>::quiet_NaN());
  }
  finishlandmarkset(set);
  return set;
}

// Specimen i of a landmark set as a configuration, k x d.
inline Eigen::MatrixXd configurationOf(const LandmarkSet& set, Eigen::Index i) {
  Eigen::MatrixXd x(set.landmarks(), set.dims);
  for (Eigen::Index j = 0; j < x.rows(); ++j) {
    for (int c = 0; c < set.dims; ++c) x(j, c) = set.coords(i, j * set.dims + c);
  }
  return x;
}

// True when a and b hold the same doubles bit for bit (NaN included).
inline bool sameBits(const Eigen::MatrixXd& a, const Eigen::MatrixXd& b) {
  return a.rows() == b.rows() && a.cols() == b.cols() &&
         std::memcmp(a.data(), b.data(), sizeof(double) * static_cast<size_t>(a.size())) == 0;
}

}  // namespace tarvolin::testing
