#pragma once
// The fuzz targets: each hands one input, as bytes, to one reader or parser
// of the program. A refusal (an InputError, or the GraphicsError and
// RuntimeError of figure files, callbacks and scripts) is a proper answer;
// a crash, a hang, a sanitizer report or any other exception is a finding.
//
// Under libFuzzer each target is its own program (fuzz_main.cpp); the test
// suite replays every file of fuzz/corpus/NAME/ through target NAME with the
// normal compiler, so that an input that once crashed stays answered.
//
// Example:
//   const FuzzTarget* tps = fuzztarget("tps");
//   tps->run(reinterpret_cast<const uint8_t*>("LM=1\n1 2\n"), 9);

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tarvolin {

struct FuzzTarget {
  std::string_view name;  // also the folder of its corpus
  int (*run)(const uint8_t* data, size_t size);
};

const std::vector<FuzzTarget>& fuzztargets();
// The target of that name; nullptr when there is none.
const FuzzTarget* fuzztarget(std::string_view name);

}  // namespace tarvolin
