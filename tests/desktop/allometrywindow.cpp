// The report windows on screen, as a user first sees them: every line of the
// allometry table in view without scrolling, with groups and a long file
// name; the data check's list of specimens, whose row chosen reaches the
// plot; on a screen of 1600 x 1000 pixels at the scaling this program is
// built for (TARVOLIN_TEST_SCALE: 1, or 2 as QT_SCALE_FACTOR=2 makes it).
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/filedialogs.h"
#include "desktop/axeswidget.h"
#include "desktop/figurewindow.h"
#include "desktop/qtview.h"
#include "runtime/runtime.h"
#include "tests/desktop/qttesting.h"
#include "tests/testing.h"
#include "tests/workflows/workflowtesting.h"
#include "workflows/showallometry.h"
#include "workflows/stand3sw.h"

#ifndef TARVOLIN_TEST_SCALE
#define TARVOLIN_TEST_SCALE 1
#endif
// Each scaling its own test name.
#if TARVOLIN_TEST_SCALE == 1
#define ALLOMETRY_WINDOW AllometryWindow
#define CHECK_WINDOW CheckWindow
#define SHAPE_SPACE_WINDOW ShapeSpaceWindow
#else
#define ALLOMETRY_WINDOW AllometryWindowDoubled
#define CHECK_WINDOW CheckWindowDoubled
#define SHAPE_SPACE_WINDOW ShapeSpaceWindowDoubled
#endif

namespace tarvolin {
namespace {

using testing::examplePath;
using testing::serveEvents;

// The application, on an offscreen screen of a common laptop's size.
QApplication& application() {
  static int argc = 1;
  static char name[] = "tests_allometry_window";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    // A file of this process's own: the tests run as processes side by
    // side, and one must not read the file while another writes it.
    const std::string config = (std::filesystem::temp_directory_path() /
                                ("tarvolin-test-screen-" + std::to_string(getpid()) + ".json"))
                                   .string();
    testing::writeText(config, R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": 1600, )"
                               R"("height": 1000, "dpi": 96, "dpr": 1}]})");
    setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).c_str(), 1);
    setenv("QT_SCALE_FACTOR", std::to_string(TARVOLIN_TEST_SCALE).c_str(), 1);
    QApplication* made = new QApplication(argc, argv);
    std::error_code ignored;
    std::filesystem::remove(config, ignored);
    return made;
  }();
  return *app;
}

TEST(ALLOMETRY_WINDOW, TheWholeTableIsInViewWithGroupsAndALongFileName) {
  application();
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  ASSERT_EQ(screen.width(), 1600 / TARVOLIN_TEST_SCALE);
  const struct {
    std::string name;  // of the data file
    bool groups;
  } cases[] = {
      {"skulls.csv", false},
      {"skulls.csv", true},
      {"skulls measured in the museum collection of the natural history department, second "
       "series, all adult specimens of both sexes.csv",
       true},
  };
  for (const auto& c : cases) {
    testing::TempDir dir;
    testing::CwdGuard cwd;
    std::filesystem::copy_file(examplePath("skulls.csv"), dir.file(c.name));
    Graphics graphics;
    QtView view(graphics, [](Handle) {});
    ScriptedFileDialogs dialogs;
    testing::testWindow(graphics, true);
    Stand3sw sw(graphics, dialogs);
    dialogs.choose(dir.file(c.name));
    sw("LoadData");
    if (c.groups) {
      dialogs.choose(examplePath("skulls_covariates.csv"));
      sw("LoadGroups");
    }
    for (const char* action : {"UseCS", "UseLn", "Acceptx", "Allometry"}) sw(action);
    ASSERT_EQ(graphics.lastError(), "") << c.name;
    serveEvents();

    const std::vector<Handle> found = graphics.findobj(kAllometryWindow);
    ASSERT_EQ(found.size(), 1u) << c.name;
    const FigureWindow* window = view.window(found.front());
    const auto* text = qobject_cast<const QLabel*>(
        view.control(graphics.findobj("AllometryText", found.front()).front()));
    ASSERT_NE(text, nullptr);
    const QString shown = text->text();
    EXPECT_TRUE(shown.contains("\nResiduals ") && shown.contains("\nTotal ")) << c.name;
    EXPECT_EQ(shown.contains("\nsize:group "), c.groups) << c.name;
    // The box holds every line of its text, wrapped at its width...
    EXPECT_LE(text->heightForWidth(text->width()), text->height()) << c.name;
    // ... and stands wholly in the part of the window shown, which is on the screen.
    const QRect box(text->mapTo(window, QPoint(0, 0)), text->size());
    EXPECT_TRUE(
        QRect(QPoint(0, 0), window->size()).adjusted(0, 0, 0, -window->barHeight()).contains(box))
        << c.name;
    EXPECT_TRUE(screen.contains(window->frameGeometry())) << c.name;
    // The plot says what its axes are.
    const Handle plot = graphics.findobj("AllometryPlot", found.front()).front();
    EXPECT_EQ(graphics.getString(plot, "XLabel"), "ln of centroid size");
    EXPECT_EQ(graphics.getString(plot, "YLabel"), "regression score");
    while (!graphics.object(kRoot).children.empty()) {
      graphics.close(graphics.object(kRoot).children.back());
    }
    serveEvents();
  }
}

// The program's main window on screen, run as the program runs it; every
// window is closed at the end.
struct OnScreen {
  OnScreen() {
    runtime.startup();
    runtime.call("Tarvolin", 0, {});
    serveEvents();
    main = graphics.object(kRoot).children.front();
  }
  ~OnScreen() {
    while (!graphics.object(kRoot).children.empty()) {
      graphics.close(graphics.object(kRoot).children.back());
    }
    runtime.shutdown();
    serveEvents();
  }
  OnScreen(const OnScreen&) = delete;
  OnScreen& operator=(const OnScreen&) = delete;
  // Clicks the main window's button tagged `tag`.
  void press(const char* tag) {
    view.click(graphics.findobj(tag, main).front());
    serveEvents();
  }

  bool started = (application(), true);  // before any widget
  testing::CwdGuard cwd;
  Graphics graphics;
  ScriptedFileDialogs dialogs;
  Runtime runtime{graphics, dialogs, TARVOLIN_RESOURCES_DIR};
  QtView view{graphics, [this](Handle h) { runtime.runCallback(h); }};
  Handle main = kRoot;
};

// The windows a session opens (the plot window, the reports, shape space,
// the 2D window) open on the screen; the plot and the report, which the screen
// has room for beside the main window at scale 1, never over its controls,
// and no window over more of them than where its layout put it.
TEST(ALLOMETRY_WINDOW, NewWindowsKeepClearOfTheMainWindowsControls) {
  OnScreen on;
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  on.dialogs.choose(examplePath("skulls.csv"));
  on.press("LoadDataButton");
  on.dialogs.choose(examplePath("skulls_covariates.csv"));
  on.press("LoadGroupsButton");
  for (const char* tag : {"UseCSButton", "LnButton", "GoRegress", "AllometryButton",
                          "CheckDataButton", "ShapeSpaceButton", "Open2DButton"}) {
    on.press(tag);
  }
  ASSERT_EQ(on.graphics.lastError(), "");
  const std::vector<Handle> windows = on.graphics.object(kRoot).children;
  // The main window, the plot, two reports, shape space, the 2D window.
  ASSERT_EQ(windows.size(), 6u);
  const std::vector<QRect> controls = on.view.window(on.main)->controlRects();
  ASSERT_FALSE(controls.empty());
  auto covered = [&](const QRect& frame) {
    int area = 0;
    for (const QRect& c : controls) area += (frame & c).width() * (frame & c).height();
    return area;
  };
  for (Handle w : windows) {
    if (w == on.main) continue;
    const QRect frame = on.view.window(w)->frameGeometry();
    const std::string name = on.graphics.getString(w, "Name");
    // As large as the screen at most, and on it.
    EXPECT_TRUE(screen.adjusted(-2, -2, 2, 2).contains(frame)) << name;
    const bool roomBeside = TARVOLIN_TEST_SCALE == 1 && !name.starts_with("Tarvolin 2D");
    if (roomBeside) {
      EXPECT_EQ(covered(frame), 0) << name << " at " << frame.x() << "," << frame.y() << " "
                                   << frame.width() << "x" << frame.height();
    }
    // Where the model first put it: over the main window, its title bar (32
    // pixels, which the offscreen platform does not draw) on the screen.
    const QRect asLaidOut(QPoint(screen.left(), screen.top() + 32), frame.size());
    EXPECT_LE(covered(frame), covered(asLaidOut)) << name;
  }
}

// The check's list shows a row per specimen in a fixed-width font, and the
// row a user chooses (by click or by key) runs the workflow's CheckSelect:
// the specimen is drawn in the plot window, numbered.
TEST(CHECK_WINDOW, ARowChosenInTheListIsShownInThePlot) {
  OnScreen on;
  on.dialogs.choose(examplePath("skulls_faults.tps"));
  for (const char* tag : {"LoadDataButton", "CheckDataButton"}) {
    on.press(tag);
  }
  ASSERT_EQ(on.graphics.lastError(), "");
  const Handle report = on.graphics.findobj(tags::kCheckWindow).front();
  auto* list = qobject_cast<QListWidget*>(
      on.view.control(on.graphics.findobj(tags::kCheckTable, report).front()));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->count(), 40);
  EXPECT_TRUE(QFontInfo(list->font()).fixedPitch());
  EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(
      on.view.window(report)->frameGeometry()));
  auto chosenInPlot = [&] {
    std::vector<std::string> chosen;
    for (Handle h : on.graphics.descendants(*on.runtime.plotWindow(), ObjectType::line)) {
      const GraphicsObject& line = on.graphics.object(h);
      if (line.role == PlotRole::chosen) chosen.emplace_back(line.displayName);
    }
    return chosen;
  };
  for (const int row : {1, 0}) {
    list->setCurrentRow(row);
    serveEvents();
    ASSERT_EQ(on.graphics.lastError(), "");
    const std::vector<std::string> chosen = chosenInPlot();
    ASSERT_EQ(chosen.size(), 1u) << row;
    // The row names the specimen after its rank.
    EXPECT_TRUE(list->item(row)->text().contains(QString::fromStdString(chosen.front() + " ")))
        << row;
  }
  // Drawn anew, the plot shows no specimen chosen; a click on the row
  // already chosen shows it again, and a click on another row shows that
  // one, once.
  on.view.click(on.graphics.findobj("ShowDataButton", on.main).front());
  serveEvents();
  EXPECT_TRUE(chosenInPlot().empty());
  for (const int row : {0, 2}) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
    serveEvents();
    EXPECT_EQ(chosenInPlot().size(), 1u) << row;
    EXPECT_EQ(list->currentRow(), row);
  }
}

// A specimen pointed at in shape space is named in the status line, and one
// clicked is shown in the plot window; the component choosers are pop-up
// menus.
TEST(SHAPE_SPACE_WINDOW, APointedSpecimenIsNamedAndAClickedOneShown) {
  OnScreen on;
  on.dialogs.choose(examplePath("skulls.tps"));
  for (const char* tag : {"LoadDataButton", "ShapeSpaceButton"}) {
    on.press(tag);
  }
  ASSERT_EQ(on.graphics.lastError(), "");
  const Handle space = on.graphics.findobj(tags::kShapeSpaceWindow).front();
  FigureWindow* window = on.view.window(space);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(
      QGuiApplication::primaryScreen()->availableGeometry().contains(window->frameGeometry()));
  const Handle axes = on.graphics.findobj(tags::kShapeSpacePlot, space).front();
  AxesWidget* plot = on.view.axes(axes);
  ASSERT_NE(plot, nullptr);
  const GraphicsObject& point = on.graphics.object(on.graphics.findobj("skull_07", space).front());
  const QPointF at = axeslayout(QRectF(0, 0, plot->width(), plot->height()), on.graphics, axes,
                                plot->viewAngles(), 1, plot->look())
                         .map(point.xdata(0), point.ydata(0));
  const QString before = window->barText();
  ASSERT_TRUE(plot->pointAt(at).has_value())
      << at.x() << " " << at.y() << " in " << plot->width() << " x " << plot->height();
  // Moves the pointer over the plot, as the window system tells it.
  const auto pointTo = [&](QPointF where) {
    QMouseEvent move(QEvent::MouseMove, where, plot->mapToGlobal(where), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(plot, &move);
    serveEvents();
  };
  pointTo(at);
  EXPECT_TRUE(window->barText().startsWith("skull_07: PC1 ")) << window->barText().toStdString();
  pointTo(QPointF(2, 2));
  EXPECT_EQ(window->barText(), before);

  QTest::mouseClick(plot, Qt::LeftButton, {}, at.toPoint());
  serveEvents();
  ASSERT_EQ(on.graphics.lastError(), "");
  std::vector<std::string> chosen;
  for (Handle h : on.graphics.descendants(*on.runtime.plotWindow(), ObjectType::line)) {
    if (on.graphics.object(h).role == PlotRole::chosen)
      chosen.emplace_back(on.graphics.object(h).displayName);
  }
  EXPECT_EQ(chosen, std::vector<std::string>{"skull_07"});

  auto* across = qobject_cast<QComboBox*>(
      on.view.control(on.graphics.findobj(tags::kShapePCX, space).front()));
  ASSERT_NE(across, nullptr);
  EXPECT_GT(across->count(), 3);
  EXPECT_EQ(across->currentText(), "PC1");
  across->setCurrentIndex(2);
  emit across->activated(2);
  serveEvents();
  EXPECT_TRUE(on.graphics.object(axes).details().xlabel.starts_with("PC3 ("));
}

}  // namespace
}  // namespace tarvolin
