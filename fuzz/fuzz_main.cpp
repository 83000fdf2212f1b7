// One fuzz target as a libFuzzer program: TARVOLIN_FUZZ_TARGET names it.
#include <cstdlib>
#include <iostream>

#include "targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const tarvolin::FuzzTarget* target = [] {
    const tarvolin::FuzzTarget* found = tarvolin::fuzztarget(TARVOLIN_FUZZ_TARGET);
    if (found == nullptr) {
      std::cerr << "no fuzz target " TARVOLIN_FUZZ_TARGET "\n";
      std::abort();
    }
    return found;
  }();
  return target->run(data, size);
}
