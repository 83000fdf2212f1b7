#include "formats/textscan.h"

#include <string>
#include <vector>

#include "tests/testing.h"

namespace tarvolin {
namespace {

// Lines by the text's own line end, whatever the readers of TPS and
// Morphologika files meet.
TEST(TextScan, LinesByTheTextsOwnLineEnd) {
  const struct {
    std::string text;
    std::vector<std::string> lines;
  } cases[] = {
      {"LM=2\n1 2\n3 4\n", {"LM=2", "1 2", "3 4"}},
      {"LM=2\r\n1 2\r\n3 4", {"LM=2", "1 2", "3 4"}},
      {"LM=2\r1 2\r3 4\n", {"LM=2", "1 2", "3 4"}},
      {"LM=2\r1 2\r\n3 4\r", {"LM=2", "1 2", "3 4"}},
      {"ID=a\rb\nLM=1\n1 2\n", {"ID=a\rb", "LM=1", "1 2"}},
      {"a\n\nb", {"a", "", "b"}},
  };
  for (const auto& c : cases) {
    textscan::Lines lines{c.text};
    std::vector<std::string> read;
    while (!lines.atEnd()) read.emplace_back(lines.next());
    EXPECT_EQ(read, c.lines) << c.text;
    EXPECT_EQ(lines.number, static_cast<long>(c.lines.size())) << c.text;
  }
}

}  // namespace
}  // namespace tarvolin
