#include "core/readtextfile.h"

#include <fstream>
#include <string>

#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::TempDir;

void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TEST(Readtextfile, MissingFileGivesFalseAndReason) {
  TempDir dir;
  std::string content = "untouched";
  std::string reason;
  EXPECT_FALSE(readtextfile(dir.file("missing.txt"), content, reason));
  EXPECT_FALSE(reason.empty());
}

TEST(Readtextfile, FolderGivesFalseAndReason) {
  TempDir dir;
  std::string content;
  std::string reason;
  EXPECT_FALSE(readtextfile(dir.path().string(), content, reason));
  EXPECT_FALSE(reason.empty());
}

TEST(Readtextfile, ContentRoundTripsByteForByte) {
  TempDir dir;
  const std::string bytes =
      std::string("1 2 3\r\n4\0 5\t6\n", 14) + std::string(200000, 'x') + "\xff";
  writeBytes(dir.file("data.txt"), bytes);
  std::string content;
  std::string reason;
  ASSERT_TRUE(readtextfile(dir.file("data.txt"), content, reason)) << reason;
  EXPECT_EQ(content.size(), bytes.size());
  EXPECT_EQ(content, bytes);

  writeBytes(dir.file("empty.txt"), "");
  ASSERT_TRUE(readtextfile(dir.file("empty.txt"), content, reason)) << reason;
  EXPECT_EQ(content, "");
}

}  // namespace
}  // namespace tarvolin
