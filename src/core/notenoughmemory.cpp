#include "core/notenoughmemory.h"

#include <cmath>
#include <new>

#include "core/sprintf.h"

namespace tarvolin {
namespace {

struct Work {
  Eigen::Index specimens = 0;
  Eigen::Index landmarks = 0;
  int dims = 0;
  std::string file;
  std::uintmax_t fileBytes = 0;
};

thread_local Work work;

// 1.44e9 -> "1.5 GB", rounded up: the user needs at least that much.
std::string bytesText(double bytes) {
  if (bytes >= 1e9) return sprintf("%.1f GB", std::ceil(bytes / 1e8) / 10);
  return sprintf("%.0f MB", std::ceil(bytes / 1e6));
}

}  // namespace

void workingon(Eigen::Index specimens, Eigen::Index landmarks, int dims) {
  work = Work{specimens, landmarks, dims, {}, 0};
}

void workingonfile(const std::string& path, std::uintmax_t bytes) {
  work = Work{0, 0, 0, path, bytes};
}

std::string notenoughmemory() {
  if (work.specimens > 0 && work.landmarks > 0) {
    const double copies = 3;
    const double bytes = copies * static_cast<double>(work.specimens) *
                         static_cast<double>(work.landmarks) * work.dims * sizeof(double);
    return sprintf("not enough memory for %i specimens x %i landmarks, about %s", work.specimens,
                   work.landmarks, bytesText(bytes));
  }
  if (!work.file.empty()) {
    if (work.fileBytes == 0) return "not enough memory to read " + work.file;
    return "not enough memory to read " + work.file + " (" +
           bytesText(static_cast<double>(work.fileBytes)) + ")";
  }
  return "not enough memory";
}

std::string errortext(const std::exception& e) {
  if (dynamic_cast<const std::bad_alloc*>(&e) != nullptr) return notenoughmemory();
  return e.what();
}

}  // namespace tarvolin
