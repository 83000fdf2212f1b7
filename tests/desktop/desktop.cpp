// The desktop program clicked through on its real widgets, on the offscreen
// platform, with the file dialogs answered by the scripted dialog service.
#include <sys/wait.h>

#include <QAbstractButton>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>

#include "desktop/axeswidget.h"
#include "desktop/figurewindow.h"
#include "desktop/opendatafile.h"
#include "desktop/qtevents.h"
#include "desktop/qtfiledialogs.h"
#include "desktop/qtview.h"
#include "desktop/renderaxes.h"
#include "desktop/rundesktop.h"
#include "desktop/windowmenus.h"
#include "runtime/mainLoop.h"
#include "runtime/sessionscript.h"
#include "tests/desktop/qttesting.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::examplePath;
using testing::readText;
using testing::serveEvents;
using testing::TempDir;

struct DesktopFixture : ::testing::Test {
  DesktopFixture()
      : started((testing::qtApplication(), true)),
        runtime(graphics, dialogs, TARVOLIN_RESOURCES_DIR),
        view(graphics, [this](Handle h) { runtime.runCallback(h); }) {
    runtime.startup();
    runtime.call("Tarvolin", 0, {});
    serveEvents();
  }
  ~DesktopFixture() override {
    while (!graphics.object(kRoot).children.empty()) {
      graphics.close(graphics.object(kRoot).children.back());
    }
    runtime.shutdown();
    serveEvents();
  }

  Handle window(const std::string& base = "Tarvolin") const {
    const std::optional<Handle> w = runtime.windowOf(base);
    if (!w) throw std::logic_error("no window " + base);
    return *w;
  }
  Handle handle(const std::string& tag, const std::string& base = "Tarvolin") const {
    const std::vector<Handle> found = graphics.findobj(tag, window(base));
    if (found.size() != 1) throw std::logic_error("no single control " + tag);
    return found.front();
  }
  QWidget* widget(const std::string& tag, const std::string& base = "Tarvolin") const {
    return view.control(handle(tag, base));
  }
  void click(const std::string& tag, const std::string& base = "Tarvolin") {
    QWidget* w = widget(tag, base);
    ASSERT_NE(w, nullptr) << tag;
    ASSERT_TRUE(w->isVisible() && w->isEnabled()) << tag << " cannot be clicked";
    QTest::mouseClick(w, Qt::LeftButton);
    serveEvents();
  }
  // Clicks the example data through to Standardize, on ln centroid size.
  void standardizeTheExample() {
    dialogs.choose(examplePath("skulls_zor.txt"));
    for (const char* tag :
         {"LoadDataButton", "UseCSButton", "LnButton", "GoRegress", "AcceptStandard"}) {
      click(tag);
    }
  }
  QString shown(const std::string& tag, const std::string& base = "Tarvolin") const {
    QWidget* w = widget(tag, base);
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text();
    return qobject_cast<QAbstractButton*>(w)->text();
  }
  // The plot window: the open window that came from no figure file.
  Handle plotWindow() const {
    for (Handle h : graphics.object(kRoot).children) {
      if (h != window() && (!runtime.windowOf("Tarvolin2D") || h != window("Tarvolin2D"))) return h;
    }
    throw std::logic_error("no plot window");
  }
  // How many point sets of each style the axes hold, and how many points.
  std::map<std::string, int> sets(Handle axesOrWindow) const {
    std::map<std::string, int> count;
    for (Handle h : graphics.descendants(axesOrWindow, ObjectType::line)) {
      ++count[std::string(graphics.object(h).lineStyle)];
    }
    return count;
  }
  // Pixels of the axes as the user sees them that are mostly this colour.
  int pixelsLike(AxesWidget* axes, QColor colour) const {
    const QImage image = axes->grab().toImage();
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        if (std::abs(c.red() - colour.red()) < 60 && std::abs(c.green() - colour.green()) < 60 &&
            std::abs(c.blue() - colour.blue()) < 60)
          ++n;
      }
    }
    return n;
  }
  AxesWidget* axesOf(Handle figure) const {
    const std::vector<Handle> axes = graphics.descendants(figure, ObjectType::axes);
    if (axes.empty()) return nullptr;
    return view.axes(axes.front());
  }

  bool started;
  Graphics graphics;
  ScriptedFileDialogs dialogs;
  Runtime runtime;
  QtView view;
};

// The same steps as a session script, for comparing what is saved.
std::string savedBySession(const TempDir& dir, const std::string& steps) {
  testing::CwdGuard cwd;
  testing::writeText(dir.file("script.txt"), steps);
  std::ostringstream out, err;
  EXPECT_EQ(runsession(dir.file("script.txt"), TARVOLIN_RESOURCES_DIR, true, out, err), 0)
      << err.str() << out.str();
  return readText(dir.file("by-session.txt"));
}

using Desktop3D = DesktopFixture;

// What the plot's legend lists, in its order, joined by "; ".
std::string legendOf(const Graphics& graphics, Handle window) {
  std::string names;
  for (const LegendEntry& e : legendentries(graphics, graphics.object(window).children.front())) {
    names += (names.empty() ? "" : "; ") + e.name;
  }
  return names;
}

TEST_F(Desktop3D, TheWholeWorkflowClickedThroughShowsEachStepAndSavesWhatASessionSaves) {
  testing::CwdGuard cwd;
  TempDir dir;
  dialogs.choose(examplePath("skulls_wire.txt"));
  click("LoadWireButton");
  dialogs.choose(examplePath("skulls_zor.txt"));
  click("LoadDataButton");
  EXPECT_EQ(shown("FileBox"), "skulls_zor.txt \nhas 40 specimens \nwith 14 landmarks");
  EXPECT_TRUE(widget("UseCSButton")->isEnabled());
  const Handle plot = plotWindow();
  FigureWindow* plotShown = view.window(plot);
  ASSERT_NE(plotShown, nullptr);
  EXPECT_TRUE(plotShown->isVisible());
  std::map<std::string, int> drawn = sets(plot);
  EXPECT_EQ(drawn["b*"], 1);
  EXPECT_EQ(drawn["bo"], 40);
  EXPECT_GT(drawn["g"], 0);
  AxesWidget* axes = axesOf(plot);
  ASSERT_NE(axes, nullptr);
  EXPECT_GT(pixelsLike(axes, QColor(0, 0, 255)), 50);
  EXPECT_GT(pixelsLike(axes, QColor(0, 128, 0)), 10);
  EXPECT_EQ(legendOf(graphics, plot), "specimens, superimposed; wireframe; mean shape");
  EXPECT_EQ(view.window(window())->barText().toStdString(),
            "Loaded 40 specimens with 14 landmarks from skulls_zor.txt");
  EXPECT_EQ(plotShown->barText(), "");  // the main window's news stays there

  click("UseCSButton");
  click("LnButton");
  EXPECT_TRUE(qobject_cast<QAbstractButton*>(widget("LnButton"))->isChecked());
  EXPECT_FALSE(qobject_cast<QAbstractButton*>(widget("XButton"))->isChecked());
  click("GoRegress");
  auto* standard = qobject_cast<QLineEdit*>(widget("StandardBox"));
  ASSERT_NE(standard, nullptr);
  EXPECT_NE(standard->text(), "0.0000");  // the proposed standard
  standard->setFocus();
  standard->selectAll();
  QTest::keyClicks(standard, "5.2");
  QTest::keyClick(standard, Qt::Key_Return);
  click("AcceptStandard");
  drawn = sets(plot);
  EXPECT_EQ(drawn["r*"], 1);
  EXPECT_EQ(drawn["ro"], 40);
  EXPECT_EQ(drawn["bo"], 40);
  EXPECT_GT(pixelsLike(axes, QColor(255, 0, 0)), 50);
  EXPECT_EQ(legendOf(graphics, plot),
            "specimens, superimposed; standardized specimens; wireframe; mean of standardized");

  dialogs.choose(dir.file("by-click.txt"));
  click("SaveStandard");
  EXPECT_EQ(view.window(window())->barText().toStdString(),
            "Saved 40 specimens to " + dir.file("by-click.txt"));
  click("ShowStandard");
  drawn = sets(plot);
  EXPECT_EQ(drawn["rs"], 40);
  EXPECT_EQ(drawn["ks"], 1);
  EXPECT_EQ(legendOf(graphics, plot),
            "specimens, superimposed; standardized specimens; standardized specimens, as saved; "
            "wireframe; mean of standardized; mean of standardized, as saved");

  QGuiApplication::clipboard()->clear();
  click("CopyPlotButton");
  const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(copied, nullptr);
  EXPECT_TRUE(copied->hasFormat("image/svg+xml"));
  EXPECT_TRUE(copied->hasImage());
  EXPECT_TRUE(graphics.lastError().empty()) << graphics.lastError();

  const std::string bySession = savedBySession(
      dir, "choose " + examplePath("skulls_wire.txt") + "\npress LoadWireButton\nchoose " +
               examplePath("skulls_zor.txt") +
               "\npress LoadDataButton\npress UseCSButton\npress LnButton\npress GoRegress\n"
               "set StandardBox String 5.2\npress AcceptStandard\nchoose " +
               dir.file("by-session.txt") + "\npress SaveStandard\n");
  EXPECT_FALSE(bySession.empty());
  EXPECT_EQ(readText(dir.file("by-click.txt")), bySession);
}

TEST_F(Desktop3D, ARefusedFileIsNamedInTheMainWindowsStatusLine) {
  testing::CwdGuard cwd;
  TempDir dir;
  testing::writeText(dir.file("broken.txt"), "1 2 3 4\n5 six 7 8\n");
  dialogs.choose(dir.file("broken.txt"));
  click("LoadDataButton");
  const QString line = view.window(window())->barText();
  EXPECT_TRUE(line.contains("broken.txt")) << line.toStdString();
  EXPECT_TRUE(line.contains(":2")) << line.toStdString();
  EXPECT_TRUE(view.statusIsError());
  EXPECT_EQ(shown("FileBox"), "No Data Loaded");
}

// The transform buttons are one group on the screen as in the model, and a
// refused click leaves them showing the transform in force.
TEST_F(Desktop3D, TheTransformButtonsAreOneGroupAndARefusedClickShowsTheOneInForce) {
  testing::CwdGuard cwd;
  TempDir dir;
  std::string withZero = "0\n";
  for (int i = 2; i <= 40; ++i) withZero += std::to_string(i) + "\n";
  testing::writeText(dir.file("zero.txt"), withZero);
  dialogs.choose(examplePath("skulls_zor.txt"));
  click("LoadDataButton");
  auto checked = [this] {
    std::string on;
    for (const char* tag : {"XButton", "LnButton", "LogButton"}) {
      on += qobject_cast<QAbstractButton*>(widget(tag))->isChecked() ? '1' : '0';
    }
    return on;
  };
  const struct {
    const char* tag;
    const char* file;
    const char* expected;  // x, ln x, log10 x
  } clicks[] = {
      {"LnButton", nullptr, "000"},  // no x-variable yet: refused
      {"UseCSButton", nullptr, "000"},
      {"LnButton", nullptr, "010"},
      {"LogButton", nullptr, "001"},
      {"LogButton", nullptr, "001"},       // a click on the one that is on keeps it on
      {"LoadXButton", "zero.txt", "000"},  // a new x-variable: its transform is to choose
      {"LnButton", nullptr, "000"},        // ln 0: refused, none in force
      {"XButton", nullptr, "100"},
  };
  for (const auto& c : clicks) {
    if (c.file) dialogs.choose(dir.file(c.file));
    click(c.tag);
    EXPECT_EQ(checked(), c.expected) << c.tag;
  }
}

TEST_F(Desktop3D, EveryControlOfBothWindowsSaysWhatItDoes) {
  click("Open2DButton");
  for (const char* base : {"Tarvolin", "Tarvolin2D"}) {
    for (Handle h : graphics.descendants(window(base), ObjectType::uicontrol)) {
      QWidget* w = view.control(h);
      ASSERT_NE(w, nullptr);
      EXPECT_FALSE(w->toolTip().isEmpty()) << base << ": " << graphics.object(h).tag << " \""
                                           << graphics.object(h).details().string << "\"";
    }
  }
}

// A new data set leaves nothing of the earlier one in the plot window: not
// its standardized specimens, not what its status line said.
TEST_F(Desktop3D, ANewDataSetLeavesNothingOfTheEarlierInThePlotWindow) {
  testing::CwdGuard cwd;
  standardizeTheExample();
  click("ShowStandard");
  const Handle plot = plotWindow();
  view.window(plot)->copyPicture();  // the plot window's own Copy plot
  EXPECT_FALSE(view.window(plot)->barText().isEmpty());

  dialogs.choose(examplePath("skulls.tps"));
  click("LoadDataButton");
  EXPECT_EQ(plotWindow(), plot);
  EXPECT_EQ(view.window(plot)->barText(), "");
  EXPECT_EQ(legendOf(graphics, plot), "specimens, superimposed; mean shape");
  EXPECT_EQ(view.window(plot)->windowTitle(), "Tarvolin 3D plot: skulls.tps");

  click("ClearButton");
  EXPECT_EQ(view.window(plot)->windowTitle(), "Tarvolin 3D plot");
  EXPECT_FALSE(widget("ClearPlotButton")->isEnabled());
  EXPECT_FALSE(widget("CopyPlotButton")->isEnabled());
  EXPECT_TRUE(widget("ShowDataButton")->isEnabled());  // the data set loaded last
}

// The TPS file switch belongs to no group: a click switches it on, the
// next one off again, on the screen as in the model; a file opened by name
// or dropped is read by its content and leaves the switch alone.
TEST_F(Desktop3D, TheTpsSwitchTogglesAndAFileOpenedByNameLeavesItAlone) {
  testing::CwdGuard cwd;
  auto* tps = qobject_cast<QAbstractButton*>(widget("ZORButton"));
  ASSERT_NE(tps, nullptr);
  for (const double expected : {1.0, 0.0, 1.0, 0.0}) {
    click("ZORButton");
    EXPECT_EQ(graphics.getNumber(handle("ZORButton"), "Value"), expected);
    EXPECT_EQ(tps->isChecked(), expected != 0);
  }
  // The view answers its own dialog service; the workflow asks the
  // scripted one, which is given the same file.
  QtFileDialogs fileDialogs;
  view.setFileDialogs(&fileDialogs);
  dialogs.choose(examplePath("skulls.tps"));
  opendatafile(runtime, view, examplePath("skulls.tps"));
  serveEvents();
  view.setFileDialogs(nullptr);
  EXPECT_EQ(graphics.getNumber(handle("ZORButton"), "Value"), 0);
  EXPECT_FALSE(tps->isChecked());
  // Read by its content: the specimens keep their IDs.
  const std::vector<std::string>& ids = runtime.stand3sw().ids();
  ASSERT_EQ(ids.size(), 40u);
  EXPECT_EQ(ids.front(), "skull_01");
  EXPECT_TRUE(graphics.lastError().empty()) << graphics.lastError();
}

// Ctrl+S, the menu and the button all save through the same check: a
// standard value typed after Standardize, the cursor still in the box, is
// committed first and refused.
TEST_F(Desktop3D, SavingAfterTheStandardValueWasEditedIsRefusedEveryWay) {
  testing::CwdGuard cwd;
  TempDir dir;
  standardizeTheExample();
  auto* standard = qobject_cast<QLineEdit*>(widget("StandardBox"));
  ASSERT_NE(standard, nullptr);
  const QString used = standard->text();
  WindowMenus* menus = view.window(window())->menus();
  ASSERT_NE(menus, nullptr);
  // A shortcut reaches the active window only.
  view.window(window())->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(view.window(window())));
  const struct {
    const char* how;
    std::function<void()> save;
  } ways[] = {
      {"the menu", [&] { menus->action("Save standardized data...")->trigger(); }},
      {"Ctrl+S", [&] { QTest::keyClick(standard, Qt::Key_S, Qt::ControlModifier); }},
      {"the button", [&] { QTest::mouseClick(widget("SaveStandard"), Qt::LeftButton); }},
  };
  for (const auto& way : ways) {
    standard->setFocus();
    standard->selectAll();
    QTest::keyClicks(standard, "5.2");  // no Return: the cursor stays in the box
    way.save();
    serveEvents();
    EXPECT_EQ(graphics.getString(handle("StandardBox"), "String"), "5.2") << way.how;
    EXPECT_EQ(graphics.lastError(),
              "Error in SaveFile: the standard value was changed to 5.2 "
              "after Standardize used " +
                  used.toStdString() + "; click Standardize again")
        << way.how;
    EXPECT_TRUE(dialogs.requests().empty() || !dialogs.requests().back().save) << way.how;
    standard->setText(used);
    QTest::keyClick(standard, Qt::Key_Return);
  }
  // With the value standardized to, the same shortcut saves.
  dialogs.choose(dir.file("saved.txt"));
  standard->setFocus();
  menus->action("Save standardized data...")->trigger();
  serveEvents();
  EXPECT_TRUE(graphics.lastError().empty()) << graphics.lastError();
  EXPECT_TRUE(std::filesystem::exists(dir.file("saved.txt")));
}

// A session clicked through, saved as a script and replayed without a
// window, writes the same file.
TEST_F(Desktop3D, ASessionSavedAsAScriptReplaysToTheSameResult) {
  testing::CwdGuard cwd;
  TempDir dir;
  view.setSessionScript([this] { return runtime.recorder().script(); });
  dialogs.choose(examplePath("skulls_zor.txt"));
  click("LoadDataButton");
  click("UseCSButton");
  click("LogButton");
  click("GoRegress");
  auto* standard = qobject_cast<QLineEdit*>(widget("StandardBox"));
  ASSERT_NE(standard, nullptr);
  standard->setFocus();
  standard->selectAll();
  QTest::keyClicks(standard, "1.6");
  click("AcceptStandard");  // the box's edit is committed by leaving it
  click("CSBox");
  dialogs.choose(dir.file("result.txt"));
  click("SaveStandard");
  click("Open2DButton");
  dialogs.choose(examplePath("skulls2d_superimposed.txt"));
  click("LoadDataButton", "Tarvolin2D");
  ASSERT_TRUE(graphics.lastError().empty()) << graphics.lastError();
  const std::string clicked = readText(dir.file("result.txt"));

  EXPECT_EQ(
      runtime.recorder().steps(),
      (std::vector<std::string>{
          "choose " + examplePath("skulls_zor.txt"), "press LoadDataButton", "press UseCSButton",
          "press LogButton", "press GoRegress", "set StandardBox String 1.6",
          "press AcceptStandard", "press CSBox", "choose " + dir.file("result.txt"),
          "press SaveStandard", "press Open2DButton", "window Tarvolin2D",
          "choose " + examplePath("skulls2d_superimposed.txt"), "press LoadDataButton"}));
  view.saveSessionScriptTo(QString::fromStdString(dir.file("session.txt")), window());
  EXPECT_TRUE(view.window(window())->barText().startsWith("Saved the session as a script"));

  std::filesystem::remove(dir.file("result.txt"));
  std::ostringstream out, err;
  EXPECT_EQ(runsession(dir.file("session.txt"), TARVOLIN_RESOURCES_DIR, true, out, err), 0)
      << err.str() << out.str();
  EXPECT_EQ(readText(dir.file("result.txt")), clicked);
}

using Desktop2D = DesktopFixture;

TEST_F(Desktop2D, TheWholeWorkflowRunsInItsOwnWindowAndPlotsIntoItsPlotArea) {
  testing::CwdGuard cwd;
  TempDir dir;
  click("Open2DButton");
  const Handle twoD = window("Tarvolin2D");
  ASSERT_NE(view.window(twoD), nullptr);
  EXPECT_TRUE(view.window(twoD)->isVisible());

  dialogs.choose(examplePath("skulls2d_superimposed.txt"));
  click("LoadDataButton", "Tarvolin2D");
  EXPECT_TRUE(shown("FileBox", "Tarvolin2D").contains("skulls2d_superimposed.txt"));
  EXPECT_EQ(shown("FileBox"), "No Data Loaded");  // the main window is left alone
  AxesWidget* plotArea = axesOf(twoD);
  ASSERT_NE(plotArea, nullptr);
  EXPECT_GT(sets(twoD).size(), 0u);
  EXPECT_GT(pixelsLike(plotArea, QColor(0, 0, 255)), 20);

  dialogs.choose(examplePath("skulls_mass.txt"));
  click("LoadXButton", "Tarvolin2D");
  click("LogButton", "Tarvolin2D");
  click("GoRegress", "Tarvolin2D");
  click("AcceptStandard", "Tarvolin2D");
  dialogs.choose(dir.file("by-click.txt"));
  click("SaveStandard", "Tarvolin2D");
  click("ShowStandard", "Tarvolin2D");
  EXPECT_GT(sets(twoD)["rs"], 0);
  EXPECT_TRUE(graphics.lastError().empty()) << graphics.lastError();

  const std::string bySession = savedBySession(
      dir, "press Open2DButton\nwindow Tarvolin2D\nchoose " +
               examplePath("skulls2d_superimposed.txt") + "\npress LoadDataButton\nchoose " +
               examplePath("skulls_mass.txt") +
               "\npress LoadXButton\npress LogButton\npress GoRegress\npress AcceptStandard\n"
               "choose " +
               dir.file("by-session.txt") + "\npress SaveStandard\n");
  EXPECT_FALSE(bySession.empty());
  EXPECT_EQ(readText(dir.file("by-click.txt")), bySession);
}

TEST(DesktopProgram, EndsWhenTheUserClosesTheLastWindow) {
  testing::qtApplication();
  Graphics graphics;
  ScriptedFileDialogs dialogs;
  Runtime runtime(graphics, dialogs, TARVOLIN_RESOURCES_DIR);
  QtView view(graphics, [&runtime](Handle h) { runtime.runCallback(h); });
  QtEvents events;
  bool closed = false;
  QTimer::singleShot(50, [&] {
    const std::optional<Handle> main = runtime.windowOf("Tarvolin");
    if (main && view.window(*main)) closed = view.window(*main)->close();
  });
  const char* const argv[] = {"tarvolin"};
  EXPECT_EQ(mainLoop(runtime, 1, argv, "Tarvolin", 1, main_info(runtime), events), 0);
  EXPECT_TRUE(closed);
  EXPECT_TRUE(graphics.object(kRoot).children.empty());
}

TEST(DesktopProgram, KnowsWhenThereIsNoDisplay) {
  // The variables that name a display, put back afterwards.
  const char* names[] = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
  std::map<std::string, std::string> saved;
  for (const char* name : names) {
    if (const char* value = std::getenv(name)) saved[name] = value;
    unsetenv(name);
  }
  const char* const plain[] = {"tarvolin"};
  const char* const chosen[] = {"tarvolin", "-platform", "offscreen"};
  EXPECT_FALSE(hasdisplay(1, plain));
  EXPECT_TRUE(hasdisplay(3, chosen));
  setenv("DISPLAY", ":99", 1);
  EXPECT_TRUE(hasdisplay(1, plain));
  unsetenv("DISPLAY");
  for (const auto& [name, value] : saved) setenv(name.c_str(), value.c_str(), 1);
}

TEST(DesktopProgram, ItsOwnOptionsBeginWithTwoDashesAndOtherWordsGoToTheMainWindow) {
  const struct {
    std::vector<const char*> words;
    std::string read;  // script|screenshots|strict|figures|data|words, or the error
  } cases[] = {
      {{}, "||0|||"},
      {{"pushbutton3_Callback", "7", "0.5"}, "||0|||pushbutton3_Callback 7 0.5 "},
      {{"pushbutton3_Callback", "-1", "-0.5", "-x"}, "||0|||pushbutton3_Callback -1 -0.5 -x "},
      {{"--strict", "--strict", "--run", "a.txt", "--run", "b.txt"}, "b.txt||1|||"},
      {{"--run", "s.txt", "--screenshots", "shots", "Tarvolin"}, "s.txt|shots|0|||Tarvolin "},
      {{"--strict", "--run", "s.txt", "--figures", "f"}, "s.txt||1|f||"},
      {{"--run"}, "--run needs a value"},
      {{"--screenshots", "shots"}, "--screenshots needs --run SCRIPT"},
      {{"--colour"}, "unknown option --colour"},
      {{"--screenshot", "shots"}, "unknown option --screenshot; did you mean --screenshots?"},
      {{"--Strict"}, "unknown option --Strict; did you mean --strict?"},
      // A file to load, and words that were meant as files that are not there.
      {{TARVOLIN_EXAMPLES_DIR "/skulls.tps"}, "||0||" TARVOLIN_EXAMPLES_DIR "/skulls.tps|"},
      {{"skulls.tsp"}, "skulls.tsp: there is no such file or folder"},
      {{"data/"}, "data/: there is no such file or folder"},
      {{TARVOLIN_EXAMPLES_DIR "/skulls.tps", TARVOLIN_EXAMPLES_DIR "/skulls.nts"},
       "give one data file, not " TARVOLIN_EXAMPLES_DIR "/skulls.tps and " TARVOLIN_EXAMPLES_DIR
       "/skulls.nts"},
      {{TARVOLIN_EXAMPLES_DIR "/skulls.tps", "--run", "s.txt"},
       "a script chooses its own files: give either FILE or --run SCRIPT"},
  };
  for (const auto& c : cases) {
    std::vector<const char*> argv{"tarvolin"};
    argv.insert(argv.end(), c.words.begin(), c.words.end());
    std::string read;
    try {
      const DesktopOptions o = desktopoptions(static_cast<int>(argv.size()), argv.data());
      read = o.script.value_or("") + "|" + o.screenshots.value_or("") + "|" +
             (o.strict ? "1" : "0") + "|" + o.figures.value_or("") + "|" + o.data.value_or("") +
             "|";
      for (const std::string& w : o.words) read += w + " ";
    } catch (const std::invalid_argument& e) {
      read = e.what();
    }
    EXPECT_EQ(read, c.read);
  }
}

// A file named on the command line goes to the window of its dimension and
// is read there as Load data reads it.
TEST(DesktopProgram, AFileNamedOnTheCommandLineLoadsInTheWindowOfItsDimension) {
  testing::qtApplication();
  const struct {
    std::string file;
    const char* window;  // where it is loaded
    int specimens;       // rows of that workflow's DATA; 0: refused
    const char* said;    // how the status line begins
  } cases[] = {
      {"skulls_zor.txt", "Tarvolin", 40, "Loaded"},
      {"skulls.tps", "Tarvolin", 40, "Loaded"},
      // The raw side views load, and the 2D window says they are not superimposed.
      {"skulls2d.tps", "Tarvolin2D", 40, "skulls2d.tps is not superimposed"},
      {"skulls2d.txt", "Tarvolin2D", 40, "skulls2d.txt is not superimposed"},
      {"skulls2d_superimposed.txt", "Tarvolin2D", 40, "Loaded"},
      {"skulls_wire.txt", "Tarvolin", 0, "Error in LoadData"},
  };
  for (const auto& c : cases) {
    testing::CwdGuard cwd;
    Graphics graphics;
    QtFileDialogs dialogs;
    Runtime runtime(graphics, dialogs, TARVOLIN_RESOURCES_DIR);
    QtView view(graphics, [&runtime](Handle h) { runtime.runCallback(h); });
    view.setFileDialogs(&dialogs);
    runtime.startup();
    runtime.call("Tarvolin", 0, {});
    opendatafile(runtime, view, examplePath(c.file));
    serveEvents();
    const bool twoD = std::string(c.window) == "Tarvolin2D";
    const Eigen::Index rows =
        twoD ? runtime.standsw().DATA().rows() : runtime.stand3sw().DATA().rows();
    EXPECT_EQ(rows, c.specimens) << c.file;
    EXPECT_EQ(runtime.windowOf("Tarvolin2D").has_value(), twoD) << c.file;
    // The window's status line names the file, loaded or refused.
    const QString status = view.statusText(*runtime.windowOf(c.window));
    EXPECT_TRUE(status.contains(QString::fromStdString(c.file))) << status.toStdString();
    EXPECT_TRUE(status.startsWith(c.said)) << status.toStdString();
    while (!graphics.object(kRoot).children.empty()) {
      graphics.close(graphics.object(kRoot).children.back());
    }
    runtime.shutdown();
    serveEvents();
  }
}

// The program itself, started as a user starts it, on the offscreen platform.
int runProgram(const std::string& arguments, const TempDir& dir) {
  const std::string command = "QT_QPA_PLATFORM=offscreen " TARVOLIN_DESKTOP_PROGRAM " " +
                              arguments + " >" + dir.file("out") + " 2>" + dir.file("err");
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(DesktopProgram, RunReplaysAScriptOnTheWindowsAndSavesAPictureOfEach) {
  TempDir dir;
  testing::writeText(dir.file("session.txt"),
                     "press Open2DButton\nwindow Tarvolin2D\nchoose " +
                         examplePath("skulls2d_superimposed.txt") +
                         "\npress LoadDataButton\nwindow Tarvolin\nchoose " +
                         examplePath("skulls_zor.txt") + "\npress LoadDataButton\n");
  {
    // Relative folders are the user's, not those of the files the script loads.
    testing::CwdGuard cwd;
    std::filesystem::current_path(dir.path());
    std::filesystem::create_directory("figures");
    for (const char* fig : {"Tarvolin.fig", "Tarvolin2D.fig"}) {
      std::filesystem::copy_file(TARVOLIN_RESOURCES_DIR "/" + std::string(fig),
                                 "figures/" + std::string(fig));
    }
    ASSERT_EQ(runProgram("--run session.txt --screenshots shots --figures figures", dir), 0)
        << readText(dir.file("err"));
  }
  for (const char* name : {"Tarvolin", "Tarvolin2D", "plot"}) {
    const QImage shot(QString::fromStdString(dir.file("shots/" + std::string(name) + ".png")));
    EXPECT_GT(shot.width(), 300) << name;
    EXPECT_GT(shot.height(), 200) << name;
  }
  EXPECT_NE(readText(dir.file("out")).find("stemp = using ZOR format"), std::string::npos);

  // A step the runner cannot carry out ends the run naming the line; no pictures.
  testing::writeText(dir.file("bad.txt"), "# a comment\npress NoSuchButton\n");
  EXPECT_EQ(runProgram("--run " + dir.file("bad.txt") + " --screenshots " + dir.file("none"), dir),
            2);
  EXPECT_NE(readText(dir.file("err")).find("tarvolin: " + dir.file("bad.txt") + ":2: "),
            std::string::npos)
      << readText(dir.file("err"));
  EXPECT_FALSE(std::filesystem::exists(dir.file("none/Tarvolin.png")));

  // A refused action fails the run without --strict too; a figure file that
  // cannot be read ends it on standard error.
  testing::writeText(dir.file("refused.txt"), "call stand3sw Regress\n");
  EXPECT_EQ(runProgram("--run " + dir.file("refused.txt"), dir), 1) << readText(dir.file("err"));
  EXPECT_EQ(
      runProgram("--run " + dir.file("refused.txt") + " --figures " + dir.file("nofigures"), dir),
      2);
  EXPECT_NE(readText(dir.file("err")).find("tarvolin: " + dir.file("nofigures") + "/Tarvolin.fig"),
            std::string::npos)
      << readText(dir.file("err"));
  EXPECT_EQ(runProgram("--version", dir), 0);
  EXPECT_EQ(readText(dir.file("out")), "tarvolin " TARVOLIN_VERSION "\n");
}

}  // namespace
}  // namespace tarvolin
