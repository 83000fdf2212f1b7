#include "document/controltags.h"

#include <set>

#include "document/openfig.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

const std::string kResources = TARVOLIN_RESOURCES_DIR;

// Whether `window`, opened from a figure file in resources/, holds an
// object (itself included) tagged `tag`.
bool figureholds(Graphics& graphics, Handle window, std::string_view tag) {
  return !graphics.findobj(tag, window).empty();
}

// A row per tag the code relies on: each must stand in the figure files the
// header says hold it, and in no other, so that a renamed control in a
// figure file or a mistyped constant fails here rather than as a dead button.
TEST(ControlTags, EveryTagStandsInTheFigureFilesItNames) {
  Graphics graphics;
  const Handle main = openfig(graphics, std::string(tags::kMainWindow), "new", kResources);
  const Handle twoD = openfig(graphics, std::string(tags::k2DWindow), "new", kResources);
  for (const tags::FigureTag& row : tags::kFigureTags) {
    SCOPED_TRACE(std::string(row.tag));
    EXPECT_EQ(figureholds(graphics, main, row.tag), row.inMain) << "Tarvolin.fig";
    EXPECT_EQ(figureholds(graphics, twoD, row.tag), row.in2D) << "Tarvolin2D.fig";
  }
}

TEST(ControlTags, NoTagIsListedTwice) {
  std::set<std::string_view> seen;
  for (const tags::FigureTag& row : tags::kFigureTags) {
    EXPECT_TRUE(seen.insert(row.tag).second) << row.tag;
  }
}

// A window's tag is also the base name of its figure file.
TEST(ControlTags, WindowTagsNameTheirWindows) {
  Graphics graphics;
  for (const std::string_view window : {tags::kMainWindow, tags::k2DWindow}) {
    const Handle opened = openfig(graphics, std::string(window), "new", kResources);
    EXPECT_EQ(graphics.object(opened).tag, window);
  }
}

}  // namespace
}  // namespace tarvolin
