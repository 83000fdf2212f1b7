#pragma once
// A fingerprint of a data set's numbers: 64 bits that change when any
// number does (FNV-1a over the bits of every number, column by column).
// The 3D window keeps it of the rows it read, to know when a file read
// again is no longer the data set it loaded.
//
// Example:
//   const std::uint64_t seen = landmarkfingerprint(file.data);
//   ... landmarkfingerprint(again.data) == seen

#include <Eigen/Core>
#include <cstdint>

namespace tarvolin {

std::uint64_t landmarkfingerprint(const Eigen::MatrixXd& data);

}  // namespace tarvolin
