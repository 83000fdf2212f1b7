// Every window of the guide opened in turn on a screen of a common size at
// scale 1 and on one of twice the pixels at scale 2: no window covers
// another's title bar or the main windows' menus, and none overlaps another
// where the screen had room left for it. Each screen is a process of its
// own (the offscreen platform reads its screen once): the test runs this
// program again for each row of its table.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/sprintf.h"
#include "desktop/figurewindow.h"
#include "desktop/qtview.h"
#include "runtime/runtime.h"
#include "tests/desktop/qttesting.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::examplePath;
using testing::serveEvents;

// The screen of this process, "WIDTHxHEIGHTxSCALE", when a row runs it.
constexpr const char* kScreenVariable = "TARVOLIN_TEST_LAYOUT_SCREEN";
// The title bar a window manager puts above each window; the offscreen
// platform draws none, so it is reckoned here as the program reckons it.
constexpr int kTitleBar = 32;

TEST(WindowLayout, EveryWindowOfTheGuideOpensClearOfTheOthersOnEachScreen) {
  const struct { int width, height, scale; } screens[] = {{1920, 1200, 1}, {3840, 2400, 2}};
  for (const auto& s : screens) {
    const std::string screen = sprintf("%ix%ix%i", s.width, s.height, s.scale);
    const std::string command = std::string(kScreenVariable) + "=" + screen + " " +
                                std::filesystem::read_symlink("/proc/self/exe").string() +
                                " --gtest_filter=WindowLayoutOnOneScreen.* 2>&1";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "on " << screen;
  }
}

// The application on the screen the row named.
bool onScreen(int& width, int& height, int& scale) {
  const char* named = std::getenv(kScreenVariable);
  if (!named || std::sscanf(named, "%dx%dx%d", &width, &height, &scale) != 3) return false;
  static int argc = 1;
  static char name[] = "tests_window_layout";
  static char* argv[] = {name, nullptr};
  const std::string config = (std::filesystem::temp_directory_path() /
                              ("tarvolin-test-layout-" + std::to_string(getpid()) + ".json"))
                                 .string();
  testing::writeText(config, sprintf(R"({"screens": [{"name": "screen", "x": 0, "y": 0, )"
                                     R"("width": %i, "height": %i, "dpi": 96, "dpr": 1}]})",
                                     width, height));
  setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).c_str(), 1);
  setenv("QT_SCALE_FACTOR", std::to_string(scale).c_str(), 1);
  static QApplication* app = new QApplication(argc, argv);
  std::error_code ignored;
  std::filesystem::remove(config, ignored);
  return app != nullptr;
}

TEST(WindowLayoutOnOneScreen, EachNewWindowKeepsClearWhereThereIsRoom) {
  int width = 0, height = 0, scale = 0;
  if (!onScreen(width, height, scale)) GTEST_SKIP() << "run by the test above, a screen a run";
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  ASSERT_EQ(area.width(), width / scale);

  testing::CwdGuard cwd;
  Graphics graphics;
  ScriptedFileDialogs dialogs;
  Runtime runtime{graphics, dialogs, TARVOLIN_RESOURCES_DIR};
  QtView view{graphics, [&runtime](Handle h) { runtime.runCallback(h); }};
  runtime.startup();
  runtime.call("Tarvolin", 0, {});
  serveEvents();
  auto press = [&](const char* base, const char* tag) {
    view.click(graphics.findobj(tag, *runtime.windowOf(base)).front());
    serveEvents();
  };
  // What each window takes of the screen, its title bar above it.
  auto taken = [&](Handle w) {
    const FigureWindow* window = view.window(w);
    QRect r = window->frameGeometry();
    r.setTop(std::min(r.top(), window->geometry().top() - kTitleBar));
    return r;
  };
  auto titleBar = [&](Handle w) {
    QRect r = taken(w);
    r.setBottom(view.window(w)->geometry().top() - 1);
    return r;
  };
  auto shown = [](const QRect& r) {
    return sprintf("%i,%i %ix%i", r.x(), r.y(), r.width(), r.height());
  };
  // Whether a window of `size` had a place on the screen that meets none of
  // `parts` (a step of 2 pixels each way).
  auto roomFor = [&](QSize size, const std::vector<QRect>& parts) {
    for (int y = area.top(); y + size.height() <= area.bottom() + 1; y += 2) {
      for (int x = area.left(); x + size.width() <= area.right() + 1; x += 2) {
        const QRect place(QPoint(x, y), size);
        if (std::none_of(parts.begin(), parts.end(),
                         [&](const QRect& part) { return place.intersects(part); })) {
          return true;
        }
      }
    }
    return false;
  };

  const struct {
    const char* base;
    const char* tag;
    std::string file;  // for its dialog
  } steps[] = {
      {"Tarvolin", "LoadDataButton", examplePath("skulls.csv")},
      {"Tarvolin", "UseCSButton", ""},
      {"Tarvolin", "LnButton", ""},
      {"Tarvolin", "GoRegress", ""},
      {"Tarvolin", "AcceptStandard", ""},
      {"Tarvolin", "CheckDataButton", ""},
      {"Tarvolin", "AllometryButton", ""},
      {"Tarvolin", "ShapeSpaceButton", ""},
      {"Tarvolin", "Open2DButton", ""},
      {"Tarvolin2D", "LoadDataButton", examplePath("skulls2d_superimposed.txt")},
      {"Tarvolin2D", "UseCSButton", ""},
      {"Tarvolin2D", "LnButton", ""},
      {"Tarvolin2D", "GoRegress", ""},
      {"Tarvolin2D", "CheckDataButton", ""},
      {"Tarvolin2D", "AllometryButton", ""},
      {"Tarvolin2D", "ShapeSpaceButton", ""},
  };
  std::vector<Handle> open = graphics.object(kRoot).children;
  ASSERT_EQ(open.size(), 1u);
  for (const auto& step : steps) {
    if (!step.file.empty()) dialogs.choose(step.file);
    press(step.base, step.tag);
    ASSERT_EQ(graphics.lastError(), "") << step.tag;
    for (Handle w : graphics.object(kRoot).children) {
      if (std::find(open.begin(), open.end(), w) != open.end()) continue;
      const std::string name = graphics.getString(w, "Name");
      SCOPED_TRACE(name + sprintf(" on %ix%i at scale %i", width, height, scale));
      const QRect mine = taken(w);
      EXPECT_TRUE(area.contains(view.window(w)->frameGeometry()));
      // The title bars and menus of the others, and the others whole.
      std::vector<QRect> bars, whole;
      for (Handle other : open) {
        bars.push_back(titleBar(other));
        bars.push_back(view.window(other)->menuBarRect());
        whole.push_back(taken(other));
      }
      const auto meets = [&](const std::vector<QRect>& parts) {
        return std::any_of(parts.begin(), parts.end(),
                           [&](const QRect& part) { return mine.intersects(part); });
      };
      // Over a title bar or menus only where every place was, over a
      // window only where every place was.
      if (meets(bars)) {
        EXPECT_FALSE(roomFor(mine.size(), bars))
            << shown(mine) << " covers a title bar or menus, and a place covering none was left";
      }
      if (meets(whole)) {
        EXPECT_FALSE(roomFor(mine.size(), whole))
            << shown(mine) << " covers a window where room was left";
      }
      open.push_back(w);
    }
  }
  // The main window, the plot, and three reports of each workflow; the 2D window.
  EXPECT_EQ(open.size(), 9u);
  while (!graphics.object(kRoot).children.empty()) {
    graphics.close(graphics.object(kRoot).children.back());
  }
  runtime.shutdown();
  serveEvents();
}

}  // namespace
}  // namespace tarvolin
