#include "document/openfig.h"

#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::dataPath;

const std::string kResources = TARVOLIN_RESOURCES_DIR;
const std::string kFixtures = dataPath("fig");

std::vector<Handle> windows(const Graphics& g) { return g.object(kRoot).children; }

std::vector<Handle> storedRow(const Graphics& g, const std::string& key) {
  const std::optional<Value> stored = g.getappdata(kRoot, key);
  if (!stored) return {};
  const Eigen::MatrixXd& row = stored->matrix();
  EXPECT_EQ(row.rows(), 1);
  return std::vector<Handle>(row.data(), row.data() + row.size());
}

// A figure file with one tagged text, named `base`.fig in `dir`.
std::string writeFigure(const testing::TempDir& dir, const std::string& base) {
  testing::writeText(dir.file(base + ".fig"),
                     R"({"format": "tarvolin-figure", "window": {"tag": ")" + base +
                         R"("}, "controls": [{"style": "text", "tag": "Note"}]})");
  return dir.file(base);
}

TEST(Openfig, ReuseTwiceLoadsOnce) {
  Graphics g;
  const Handle main = openfig(g, "Tarvolin", "reuse", kResources);
  EXPECT_EQ(g.getString(main, "Tag"), "Tarvolin");
  EXPECT_EQ(openfig(g, "Tarvolin", "reuse", kResources), main);
  EXPECT_EQ(windows(g), std::vector<Handle>{main});
  EXPECT_EQ(storedRow(g, "Tarvolin_SINGLETON_handle"), std::vector<Handle>{main});
  EXPECT_EQ(openfigWindows(g, "Tarvolin"), std::vector<Handle>{main});
}

TEST(Openfig, NewTwiceKeepsBothWindowsInTheRow) {
  Graphics g;
  const Handle first = openfig(g, "Tarvolin.fig", "new", kResources);
  const Handle second = openfig(g, "Tarvolin.fig", "new", kResources);
  EXPECT_NE(first, second);
  EXPECT_EQ(storedRow(g, "Tarvolin_SINGLETON_handle"), (std::vector<Handle>{first, second}));
  EXPECT_EQ(g.currentFigure(), second);
  // "reuse" then takes the newest.
  EXPECT_EQ(openfig(g, "Tarvolin", "reuse", kResources), second);
}

TEST(Openfig, ReuseBringsTheWindowForward) {
  Graphics g;
  const Handle main = openfig(g, "Tarvolin", "reuse", kResources);
  const Handle plotWindow = g.figure();
  EXPECT_EQ(g.currentFigure(), plotWindow);
  EXPECT_EQ(openfig(g, "Tarvolin", "reuse", kResources), main);
  EXPECT_EQ(g.currentFigure(), main);
}

TEST(Openfig, ClosedWindowIsForgottenAndLoadedAgain) {
  Graphics g;
  const Handle twoD = openfig(g, "Tarvolin2D", "reuse", kResources);
  g.close(twoD);
  const Handle again = openfig(g, "Tarvolin2D", "reuse", kResources);
  EXPECT_TRUE(g.isValid(again));
  EXPECT_EQ(g.getString(again, "Tag"), "Tarvolin2D");
  EXPECT_EQ(storedRow(g, "Tarvolin2D_SINGLETON_handle"), std::vector<Handle>{again});
}

TEST(Openfig, WindowThatTookAClosedWindowsHandleIsNotReused) {
  Graphics g;
  const Handle main = openfig(g, "Tarvolin", "reuse", kResources);
  g.close(main);
  const Handle plotWindow = g.figure();
  ASSERT_EQ(plotWindow, main);  // the smallest free handle comes back
  const Handle again = openfig(g, "Tarvolin", "reuse", kResources);
  EXPECT_NE(again, plotWindow);
  EXPECT_EQ(g.getString(again, "Tag"), "Tarvolin");
  EXPECT_EQ(storedRow(g, "Tarvolin_SINGLETON_handle"), std::vector<Handle>{again});
}

TEST(Openfig, KeyKeepsThirtyOneCharacters) {
  EXPECT_EQ(openfigSingletonKey("Tarvolin"), "Tarvolin_SINGLETON_handle");
  Graphics g;
  testing::TempDir dir;
  const std::string base = "abcdefghijklmnopqrst";  // 20 characters
  const Handle fig = openfig(g, writeFigure(dir, base), "new", "");
  EXPECT_EQ(storedRow(g, base + "_SINGLETON_"), std::vector<Handle>{fig});
  EXPECT_FALSE(g.getappdata(kRoot, base + "_SINGLETON_handle"));
}

TEST(Openfig, NamesAgreeingInTheKeyShareOneRow) {
  Graphics g;
  testing::TempDir dir;
  const std::string stem(31, 'w');
  const Handle first = openfig(g, writeFigure(dir, stem + "_first"), "reuse", "");
  EXPECT_EQ(openfig(g, writeFigure(dir, stem + "_second"), "reuse", ""), first);
  EXPECT_EQ(windows(g), std::vector<Handle>{first});
  const Handle second = openfig(g, dir.file(stem + "_second.fig"), "new", "");
  EXPECT_EQ(storedRow(g, stem), (std::vector<Handle>{first, second}));
}

TEST(Openfig, FolderInTheNameOverridesTheSearchFolder) {
  Graphics g;
  const Handle fig = openfig(g, kResources + "/Tarvolin2D", "new", kFixtures);
  EXPECT_EQ(g.getString(fig, "Tag"), "Tarvolin2D");
}

TEST(Openfig, OnlyTheFigExtensionIsAccepted) {
  Graphics g;
  EXPECT_THROW_TEXT(openfig(g, "Tarvolin.FIG", "reuse", kResources), GraphicsError,
                    "Argument must be a .fig file");
  EXPECT_THROW_TEXT(openfig(g, "Tarvolin.json", "new", kResources), GraphicsError,
                    "Argument must be a .fig file");
  EXPECT_TRUE(windows(g).empty());
  EXPECT_FALSE(g.getappdata(kRoot, "Tarvolin_SINGLETON_handle"));
}

TEST(Openfig, UnknownPolicyLeavesTheRowAsItWas) {
  Graphics g;
  const Handle fig = openfig(g, "Tarvolin", "new", kResources);
  g.close(fig);
  for (const char* policy : {"Reuse", "old", ""}) {
    EXPECT_THROW_TEXT(openfig(g, "Tarvolin", policy, kResources), GraphicsError,
                      "Second input argument must be 'new' or 'reuse'.");
  }
  // Not even pruned of the closed window: the row is not written at all.
  EXPECT_EQ(storedRow(g, "Tarvolin_SINGLETON_handle"), std::vector<Handle>{fig});
  EXPECT_TRUE(windows(g).empty());
}

TEST(Openfig, MissingFileOpensNothing) {
  Graphics g;
  const Handle main = openfig(g, "Tarvolin", "new", kResources);
  EXPECT_THROW_MSG(openfig(g, "Tarvolin", "new", kFixtures), GraphicsError,
                   kFixtures + "/Tarvolin.fig: cannot read the figure file");
  EXPECT_EQ(windows(g), std::vector<Handle>{main});
  EXPECT_EQ(storedRow(g, "Tarvolin_SINGLETON_handle"), std::vector<Handle>{main});
}

TEST(Openfig, WindowIsMovedOntoTheScreen) {
  Graphics g;
  const Handle fig = openfig(g, "offscreen", "new", kFixtures);
  const Eigen::Vector4d outer = g.object(fig).details().outerPosition;
  const Eigen::Vector4d screen = g.object(kRoot).details().position;
  EXPECT_LE(outer(0) + outer(2), screen(2));
  EXPECT_LE(outer(1) + outer(3), screen(3));
  EXPECT_GE(outer(0), 0);
  EXPECT_GE(outer(1), 0);
}

TEST(Openfig, InvisibleWindowIsNotMadeCurrent) {
  Graphics g;
  const Handle main = openfig(g, "Tarvolin", "reuse", kResources);
  const Handle hidden = openfig(g, "hidden", "new", kFixtures);
  EXPECT_EQ(g.getString(hidden, "Visible"), "off");
  EXPECT_EQ(g.currentFigure(), main);
  EXPECT_EQ(openfig(g, "hidden", "reuse", kFixtures), hidden);
  EXPECT_EQ(g.currentFigure(), main);
}

}  // namespace
}  // namespace tarvolin
