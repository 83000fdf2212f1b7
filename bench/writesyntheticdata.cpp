// Writes the benchmarks' synthetic data set (by default 1,000 specimens,
// 500 landmarks) to a ZOR file, for measuring the command line as a whole
// process:
//
//   tarvolin_benchdata_write /tmp/synthetic.txt
//   tarvolin_benchdata_write /tmp/tall.txt 8000 500
//   /usr/bin/time -v tarvolin-cli standardize /tmp/synthetic.txt --transform ln -o /tmp/out.txt

#include <charconv>
#include <exception>
#include <iostream>
#include <string_view>

#include "core/writefileatomic.h"
#include "syntheticdata.h"

namespace {

// A positive count, or 0 where the word is not one.
Eigen::Index countOf(std::string_view word) {
  Eigen::Index value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc{} || end != word.data() + word.size() || value < 1) return 0;
  return value;
}

}  // namespace

int main(int argc, char** argv) {
  // An option such as --help is not taken for the name of the file to write.
  if ((argc != 2 && argc != 4) || argv[1][0] == '-') {
    std::cerr << "usage: tarvolin_benchdata_write FILE [SPECIMENS LANDMARKS]\n";
    return 2;
  }
  using namespace tarvolin::bench;
  Eigen::Index specimens = kSpecimens;
  Eigen::Index landmarks = kLandmarks;
  if (argc == 4) {
    specimens = countOf(argv[2]);
    landmarks = countOf(argv[3]);
    if (specimens == 0 || landmarks == 0) {
      std::cerr << "tarvolin_benchdata_write: SPECIMENS and LANDMARKS must be positive whole "
                   "numbers\n";
      return 2;
    }
  }
  try {
    tarvolin::writefileatomic(argv[1], zortext(syntheticdataset(specimens, landmarks)));
  } catch (const std::exception& e) {
    std::cerr << "tarvolin_benchdata_write: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
