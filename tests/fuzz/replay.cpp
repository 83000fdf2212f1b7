// Every file of every fuzz corpus through its target, with the normal
// compiler: an input that once crashed a reader stays answered. An input
// that ends in anything but a refusal fails the test that replays it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz/targets.h"

namespace tarvolin {
namespace {

namespace fs = std::filesystem;

TEST(FuzzCorpus, EveryTargetHasACorpusAndEveryCorpusATarget) {
  for (const FuzzTarget& target : fuzztargets()) {
    const fs::path folder = fs::path(TARVOLIN_FUZZ_CORPUS_DIR) / target.name;
    EXPECT_TRUE(fs::is_directory(folder) && !fs::is_empty(folder)) << target.name;
  }
  for (const fs::directory_entry& folder : fs::directory_iterator(TARVOLIN_FUZZ_CORPUS_DIR)) {
    EXPECT_NE(fuzztarget(folder.path().filename().string()), nullptr) << folder.path();
  }
}

TEST(FuzzCorpus, EveryInputIsReadOrRefused) {
  for (const FuzzTarget& target : fuzztargets()) {
    const fs::path folder = fs::path(TARVOLIN_FUZZ_CORPUS_DIR) / target.name;
    if (!fs::is_directory(folder)) continue;
    for (const fs::directory_entry& file : fs::directory_iterator(folder)) {
      std::ifstream in(file.path(), std::ios::binary);
      const std::string input{std::istreambuf_iterator<char>(in), {}};
      try {
        EXPECT_EQ(target.run(reinterpret_cast<const uint8_t*>(input.data()), input.size()), 0);
      } catch (const std::exception& e) {
        ADD_FAILURE() << target.name << " on " << file.path() << ": " << e.what();
      }
    }
  }
}

}  // namespace
}  // namespace tarvolin
