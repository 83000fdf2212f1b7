#pragma once
// The words for memory that ran out, saying what was being worked on and
// about how much it needs, instead of the library's "std::bad_alloc".
//
// Whoever reads or holds a data set says so (workingonfile before reading a
// file, workingon once its size is known); a later failed allocation of
// this thread is then reported from the last of these. A data set of N
// specimens of k landmarks in d dimensions needs about three copies of its
// coordinates at once (as read, superimposed, and the step's working copy).
//
// Example:
//   workingon(20000, 1000, 3);
//   notenoughmemory()
//     -> "not enough memory for 20000 specimens x 1000 landmarks, about 1.5 GB"
//   workingonfile("big.csv", 600e6);
//   notenoughmemory()  -> "not enough memory to read big.csv (600 MB)"

#include <Eigen/Core>
#include <cstdint>
#include <exception>
#include <stdexcept>
#include <string>

namespace tarvolin {

class MemoryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

void workingon(Eigen::Index specimens, Eigen::Index landmarks, int dims);
void workingonfile(const std::string& path, std::uintmax_t bytes);

std::string notenoughmemory();

// What an error says to the user: e.what(), or notenoughmemory() for a
// failed allocation (whose what() is the library's "std::bad_alloc").
std::string errortext(const std::exception& e);

}  // namespace tarvolin
