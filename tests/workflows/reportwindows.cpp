// The report windows (data check, shape space, allometry) once another data
// set is loaded, and drawn again for it: nothing they said of the earlier
// one stays.
#include <map>

#include "document/controltags.h"
#include "tests/testing.h"
#include "workflowtesting.h"

namespace tarvolin {
namespace {

using testing::examplePath;

class ReportWindowsTest : public ::testing::TestWithParam<bool>,
                          protected testing::WorkflowWindows {
 protected:
  ReportWindowsTest() : WorkflowWindows(GetParam()) {
    graphics_.subscribe([this](const GraphicsChange& c) {
      if (c.kind == GraphicsChange::Kind::status) lines_[c.handle] = c.detail;
    });
  }
  void loadAndStandardize(const std::string& file) {
    run("LoadData", file);
    for (const char* action : {"UseCS", "UseLn", "Acceptx", "Regress"}) run(action);
    ASSERT_EQ(graphics_.lastError(), "");
  }
  std::map<Handle, std::string> lines_;  // each window's status line
};

TEST_P(ReportWindowsTest, AWindowDrawnForNewDataForgetsItsStatusAndErrors) {
  const bool threeD = GetParam();
  const std::string first = examplePath(threeD ? "skulls_zor.txt" : "skulls2d_superimposed.txt");
  // The same specimens but another file: named alike, a stale line would not show.
  const std::string second = examplePath(threeD ? "skulls.tps" : "skulls2d_superimposed.txt");
  const struct {
    const char* open;
    std::string_view window;
    const char* stale;  // what the window's line said of the first data set
  } cases[] = {
      {"CheckData", tags::kCheckWindow, "skull_12 (rank 3) is shown among the others in the plot"},
      {"ShapeSpace", tags::kShapeSpaceWindow, "Error in ShapeChange: Magnify takes a number"},
      {"Allometry", tags::kAllometryWindow, "The allometry report is on the clipboard"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.open);
    loadAndStandardize(first);
    run(c.open);
    ASSERT_EQ(graphics_.lastError(), "");
    const Handle window = graphics_.findobj(c.window).front();
    graphics_.status(window, c.stale);
    loadAndStandardize(second);
    // Loading the next data set already takes back what was said of the
    // first, before the window is drawn again.
    EXPECT_EQ(lines_[window], "") << "once other data are loaded";
    run(c.open);
    ASSERT_EQ(graphics_.lastError(), "");
    ASSERT_EQ(graphics_.findobj(c.window).front(), window) << "the window is used again";
    EXPECT_EQ(lines_[window], "");
  }
}

INSTANTIATE_TEST_SUITE_P(Windows, ReportWindowsTest, ::testing::Bool(),
                         [](const auto& p) { return p.param ? "3D" : "2D"; });

}  // namespace
}  // namespace tarvolin
