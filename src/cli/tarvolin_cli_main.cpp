// tarvolin-cli: the 3D standardization from the command line.
#include <malloc.h>

#include <csignal>
#include <iostream>

#include "cli/tarvolincli.h"

int main(int argc, char** argv) {
  // Each step of the standardization frees a large block (12 MB for 1,000
  // specimens of 500 landmarks) just before the next step asks for one of the
  // same size. Keeping freed blocks in the allocator, rather than giving them
  // back to the system, lets the next step reuse memory that is already
  // mapped: first touches of fresh pages are what costs most on large data.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 512 << 20);
  // Past a file-size limit a write then fails, and is reported with the file
  // named and nothing left behind, instead of the signal ending the run.
  std::signal(SIGXFSZ, SIG_IGN);
  return tarvolin::runcli(argc, argv, std::cout, std::cerr);
}
