#include "core/console.h"

#include <sstream>
#include <string>
#include <vector>

#include "core/str2num.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::assert_near;

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

TEST(Console, EchoOfTextAndNumberIsNameThenValue) {
  ConsoleCapture capture;
  console().echo("stemp", "using ZOR format");
  console().echo("m", 12.0);
  console().echo("h", -0.25);
  EXPECT_EQ(capture.text(), "stemp = using ZOR format\nm = 12\nh = -0.25\n");
}

TEST(Console, EchoOfMatrixIsNameThenOneLinePerRow) {
  Eigen::MatrixXd m(2, 3);
  m << 1, -2.5, 3, 40, 5e-3, 600;
  ConsoleCapture capture;
  console().echo("newpos", m);
  const std::vector<std::string> shown = lines(capture.text());
  ASSERT_EQ(shown.size(), 3u) << capture.text();
  EXPECT_EQ(shown[0], "newpos =");
  EXPECT_TRUE(assert_near(str2num(shown[1]), m.row(0), 0));
  EXPECT_TRUE(assert_near(str2num(shown[2]), m.row(1), 0));
  EXPECT_EQ(capture.text().back(), '\n');
}

TEST(Console, DispAndWrite) {
  ConsoleCapture capture;
  console().write("Error on file open");
  console().disp(" and more");
  EXPECT_EQ(capture.text(), "Error on file open and more\n");
}

// IDs and labels from files reach the console in echoes and errors: their
// control characters are spelt out, line ends and tabs of the layout kept.
TEST(Console, TextFromFilesCannotDriveTheTerminal) {
  const struct {
    const char* written;
    const char* shown;
  } cases[] = {
      {"specimen \"a\x1b[2J\"\n", "specimen \"a\\e[2J\"\n"},
      {"table\tcolumn\nrow\n", "table\tcolumn\nrow\n"},
      {"back\rspace\x08\n", "back\\rspace\\x08\n"},
  };
  for (const auto& c : cases) {
    ConsoleCapture capture;
    console().write(c.written);
    EXPECT_EQ(capture.text(), c.shown);
  }
}

TEST(ConsoleCapture, RestoresThePreviousSink) {
  ConsoleCapture outer;
  {
    ConsoleCapture inner;
    console().write("inner");
    EXPECT_EQ(inner.text(), "inner");
  }
  console().write("outer");
  EXPECT_EQ(outer.text(), "outer");

  std::string sunk;
  Console::Sink before = console().setSink([&](std::string_view t) { sunk += t; });
  {
    ConsoleCapture capture;
    console().write("captured");
  }
  console().write("back");
  console().setSink(std::move(before));
  EXPECT_EQ(sunk, "back");
}

}  // namespace
}  // namespace tarvolin
