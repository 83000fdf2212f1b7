// Writes the benchmarks' synthetic data set (1,000 specimens, 500 landmarks)
// to a ZOR file, for measuring the command line as a whole process:
//
//   tarvolin_benchdata_write /tmp/synthetic.txt
//   /usr/bin/time -v tarvolin-cli standardize /tmp/synthetic.txt --transform ln -o /tmp/out.txt

#include <exception>
#include <iostream>

#include "platform/writefileatomic.h"
#include "syntheticdata.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: tarvolin_benchdata_write FILE\n";
    return 2;
  }
  try {
    using namespace tarvolin::bench;
    tarvolin::writefileatomic(argv[1], zortext(syntheticdataset(kSpecimens, kLandmarks)));
  } catch (const std::exception& e) {
    std::cerr << "tarvolin_benchdata_write: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
