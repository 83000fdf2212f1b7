#include "workflows/landmarkfingerprint.h"

#include <cstring>

namespace tarvolin {

std::uint64_t landmarkfingerprint(const Eigen::MatrixXd& data) {
  std::uint64_t hash = 14695981039346656037ULL;
  const auto add = [&hash](std::uint64_t word) {
    for (int byte = 0; byte < 8; ++byte) {
      hash ^= (word >> (8 * byte)) & 0xFF;
      hash *= 1099511628211ULL;
    }
  };
  add(static_cast<std::uint64_t>(data.rows()));
  add(static_cast<std::uint64_t>(data.cols()));
  for (Eigen::Index i = 0; i < data.size(); ++i) {
    std::uint64_t bits = 0;
    const double value = data.data()[i];
    std::memcpy(&bits, &value, sizeof bits);
    add(bits);
  }
  return hash;
}

}  // namespace tarvolin
