#include "core/notenoughmemory.h"

#include <functional>
#include <new>
#include <stdexcept>

#include "tests/testing.h"

namespace tarvolin {
namespace {

TEST(Notenoughmemory, SaysWhatWasWorkedOnAndAboutHowMuchItNeeds) {
  const struct {
    std::function<void()> working;
    std::string expected;
  } cases[] = {
      {[] { workingon(20000, 1000, 3); },
       "not enough memory for 20000 specimens x 1000 landmarks, about 1.5 GB"},
      {[] { workingon(8000, 500, 2); },
       "not enough memory for 8000 specimens x 500 landmarks, about 192 MB"},
      {[] { workingonfile("/data/big.csv", 2000000000); },
       "not enough memory to read /data/big.csv (2.0 GB)"},
      {[] { workingonfile("/data/slicer", 0); }, "not enough memory to read /data/slicer"},
      {[] { workingon(0, 0, 0); }, "not enough memory"},
  };
  for (const auto& c : cases) {
    c.working();
    EXPECT_EQ(notenoughmemory(), c.expected);
    EXPECT_EQ(errortext(std::bad_alloc()), c.expected);
  }
  EXPECT_EQ(errortext(std::runtime_error("other")), "other");
}

}  // namespace
}  // namespace tarvolin
