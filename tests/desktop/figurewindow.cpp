// The windows of a workflow: their own status lines, the busy pointer, the
// menus bound to the controls, dropped and recent data files, and what is
// kept between runs.
#include "desktop/figurewindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWindow>

#include "desktop/axeswidget.h"
#include "desktop/qtfiledialogs.h"
#include "desktop/qtview.h"
#include "desktop/windowmenus.h"
#include "tests/desktop/qttesting.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::serveEvents;

const std::string kTps = "LM3=2\n1 2 3\n4 5 6\nID=a\nLM3=2\n1 2 4\n4 5 7\nID=b\n";
const std::string kZor = "1 2 3 4 5 6 10\n1 2 4 4 5 7 11\n";

// A model with the view on it. Every callback run is recorded, with the
// pointer shown meanwhile; Load data asks for its file as the workflows do.
struct WindowFixture : ::testing::Test {
  WindowFixture() : view((testing::qtApplication(), graphics), [this](Handle h) { run(h); }) {
    view.setFileDialogs(&dialogs);
  }
  ~WindowFixture() override {
    while (!graphics.object(kRoot).children.empty()) {
      graphics.close(graphics.object(kRoot).children.back());
    }
    serveEvents();
  }

  void run(Handle h) {
    ran.push_back(graphics.object(h).tag);
    const QCursor* shown = QApplication::overrideCursor();
    cursor = shown ? shown->shape() : Qt::ArrowCursor;
    if (graphics.object(h).tag == "LoadDataButton") {
      const std::optional<FileChoice> chosen = dialogs.getFile("*.*", "Enter file to Load?");
      opened.push_back(chosen ? chosen->path() : std::string());
      graphics.setLastError(failLoad ? "Error in LoadData: refused" : "");
    }
  }

  // A window with the controls of a workflow's first steps.
  Handle workflowWindow(bool tpsButton = true) {
    const Handle w = graphics.figure();
    graphics.set(w, "Position", Eigen::MatrixXd(Eigen::RowVector4d(100, 100, 400, 300)));
    auto add = [&](ControlStyle style, const std::string& tag, double y, bool enable) {
      graphics.uicontrol(w,
                         {style, tag, tag, 0, enable, "", Eigen::Vector4d(20, y, 120, 24), "", ""});
    };
    if (tpsButton) add(ControlStyle::radiobutton, "ZORButton", 260, true);
    add(ControlStyle::pushbutton, "LoadDataButton", 230, true);
    add(ControlStyle::pushbutton, "ShowDataButton", 200, false);
    add(ControlStyle::pushbutton, "SaveStandard", 170, false);
    serveEvents();
    return w;
  }
  Handle tag(Handle window, const std::string& name) {
    return graphics.findobj(name, window).front();
  }
  QAction* item(Handle window, const QString& text) {
    WindowMenus* menus = view.window(window)->menus();
    return menus ? menus->action(text) : nullptr;
  }

  Graphics graphics;
  QtFileDialogs dialogs;
  QtView view;
  std::vector<std::string> ran;
  Qt::CursorShape cursor = Qt::ArrowCursor;  // while the last callback ran
  std::vector<std::string> opened;
  bool failLoad = false;
};

using WindowClicks = WindowFixture;

// A radio button of a group switches on when clicked, also when it is on;
// one of no group (the TPS file switch) and a check box toggle. Each is
// clicked on the screen, and the model and the widget agree after every
// click.
TEST_F(WindowClicks, GroupedRadioButtonsSwitchOnAndOthersToggle) {
  const Handle w = workflowWindow();
  auto add = [&](ControlStyle style, const std::string& name, double x, const std::string& group) {
    graphics.uicontrol(w,
                       {style, name, name, 0, true, "", Eigen::Vector4d(x, 20, 60, 24), "", group});
  };
  add(ControlStyle::radiobutton, "XButton", 20, "transform");
  add(ControlStyle::radiobutton, "LnButton", 90, "transform");
  add(ControlStyle::checkbox, "CSBox", 160, "");
  serveEvents();
  const struct {
    const char* clicked;
    const char* expected;  // ZORButton, XButton, LnButton, CSBox
  } clicks[] = {
      {"ZORButton", "1000"}, {"ZORButton", "0000"}, {"ZORButton", "1000"},
      {"XButton", "1100"},   {"XButton", "1100"},   {"LnButton", "1010"},
      {"CSBox", "1011"},     {"ZORButton", "0011"}, {"CSBox", "0010"},
  };
  for (const auto& c : clicks) {
    ran.clear();
    QTest::mouseClick(view.control(tag(w, c.clicked)), Qt::LeftButton);
    serveEvents();
    std::string model, shown;
    for (const char* name : {"ZORButton", "XButton", "LnButton", "CSBox"}) {
      model += graphics.getNumber(tag(w, name), "Value") != 0 ? '1' : '0';
      shown += qobject_cast<QAbstractButton*>(view.control(tag(w, name)))->isChecked() ? '1' : '0';
    }
    EXPECT_EQ(model, c.expected) << c.clicked;
    EXPECT_EQ(shown, c.expected) << c.clicked;
    EXPECT_EQ(ran, std::vector<std::string>{c.clicked});
  }
  // The view's own click, which the menus use, does the same.
  view.click(tag(w, "ZORButton"));
  EXPECT_EQ(graphics.getNumber(tag(w, "ZORButton"), "Value"), 1);
  view.click(tag(w, "ZORButton"));
  EXPECT_EQ(graphics.getNumber(tag(w, "ZORButton"), "Value"), 0);
}

// A control the model hides is hidden on the screen, and shown again.
TEST_F(WindowClicks, AControlHiddenInTheModelIsHiddenOnTheScreen) {
  const Handle w = workflowWindow();
  const Handle box = graphics.uicontrol(w, {ControlStyle::checkbox, "SlideBox", "Slide", 0, true, "",
                                            Eigen::Vector4d(20, 20, 120, 24), "", "", false});
  serveEvents();
  ASSERT_NE(view.control(box), nullptr);
  EXPECT_TRUE(view.control(box)->isHidden());
  graphics.setVisible(box, true);
  EXPECT_FALSE(view.control(box)->isHidden());
  graphics.set(box, "Visible", std::string("off"));
  EXPECT_TRUE(view.control(box)->isHidden());
  EXPECT_EQ(graphics.getString(box, "Visible"), "off");
  EXPECT_THROW(graphics.set(box, "Visible", std::string("maybe")), GraphicsError);
}

using WindowStatus = WindowFixture;

TEST_F(WindowStatus, EachWindowShowsOnlyWhatBelongsToIt) {
  const Handle main = workflowWindow();
  const Handle plot = graphics.figure();  // current
  const struct {
    std::function<void()> act;
    QString inMain, inPlot;
  } steps[] = {
      // Errors of an action belong to the window whose callback runs.
      {[&] {
         graphics.setCallbackObject(tag(main, "LoadDataButton"));
         graphics.setLastError("Error in LoadData: skulls.txt:3: the line holds text");
         graphics.setCallbackObject(std::nullopt);
       },
       "Error in LoadData: skulls.txt:3: the line holds text", ""},
      // Outside callbacks, the current window's.
      {[&] { graphics.status("Superimposing 1000 specimens..."); },
       "Error in LoadData: skulls.txt:3: the line holds text", "Superimposing 1000 specimens..."},
      {[&] {
         graphics.figure(main);
         graphics.msgbox("Please load data first");
       },
       "Please load data first", "Superimposing 1000 specimens..."},
      // The main window has no plot: print says so there.
      {[&] { graphics.print("-dmeta"); }, "The window has no plot to copy",
       "Superimposing 1000 specimens..."},
  };
  for (const auto& step : steps) {
    step.act();
    EXPECT_EQ(view.window(main)->barText(), step.inMain);
    EXPECT_EQ(view.window(plot)->barText(), step.inPlot);
  }
  const Handle later = graphics.figure();
  EXPECT_TRUE(view.window(later)->barText().isEmpty());
  for (QMessageBox* box : view.messageBoxes()) box->close();

  // A long line is cut to the bar, the whole text in its tooltip.
  serveEvents();
  view.window(plot)->resize(300, 200);
  const QString text = "Saved 40 specimens to " + QString(200, u'x');
  graphics.figure(plot);
  graphics.status(text.toStdString());
  QLabel* line = nullptr;
  for (QLabel* label : view.window(plot)->findChildren<QLabel*>()) {
    if (label->toolTip() == text) line = label;
  }
  ASSERT_NE(line, nullptr);
  EXPECT_TRUE(line->text().endsWith(QChar(0x2026)));
  EXPECT_EQ(view.window(plot)->barText(), text);
}

using WindowMenusTest = WindowFixture;

TEST_F(WindowMenusTest, ItemsFollowTheirControlsAndRunWhatAClickRuns) {
  const Handle w = workflowWindow();
  ASSERT_NE(view.window(w)->menus(), nullptr);
  EXPECT_EQ(view.window(graphics.figure())->menus(), nullptr);  // no LoadDataButton, no menus

  EXPECT_EQ(item(w, "Load data...")->shortcut(), QKeySequence("Ctrl+O"));
  EXPECT_EQ(item(w, "Save standardized data...")->shortcut(), QKeySequence("Ctrl+S"));
  EXPECT_EQ(item(w, "Quit")->shortcut(), QKeySequence("Ctrl+Q"));
  EXPECT_FALSE(item(w, "Load wireframe...")->isVisible());  // the window has no LoadWireButton

  QAction* show = item(w, "Show data");
  EXPECT_FALSE(show->isEnabled());
  graphics.set(tag(w, "ShowDataButton"), "Enable", std::string("on"));
  EXPECT_TRUE(show->isEnabled());
  show->trigger();
  EXPECT_EQ(ran, std::vector<std::string>{"ShowDataButton"});
  EXPECT_EQ(cursor, Qt::BusyCursor);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  graphics.set(tag(w, "ShowDataButton"), "Enable", std::string("off"));
  EXPECT_FALSE(show->isEnabled());

  // The model counts the menu bar as frame, as it does the bar below.
  const GraphicsObject& o = graphics.object(w);
  const int frame = view.window(w)->barHeight() + view.window(w)->menuHeight();
  EXPECT_GT(view.window(w)->menuHeight(), 0);
  EXPECT_EQ(o.details().position(3), 300);
  EXPECT_EQ(o.details().outerPosition(3), o.details().position(3) + frame);

  // Quit closes every window as the user closing them does.
  graphics.figure();
  serveEvents();
  item(w, "Quit")->trigger();
  EXPECT_TRUE(graphics.object(kRoot).children.empty());
}

TEST_F(WindowMenusTest, PlotItemsActOnThePlotTheWorkflowDrawsInto) {
  const Handle main = workflowWindow();
  EXPECT_FALSE(view.plotWindowFor(main).has_value());
  const Handle plot = graphics.figure();
  graphics.plot3(Eigen::RowVector3d(0, 1, 2), Eigen::RowVector3d(0, 1, 0),
                 Eigen::RowVector3d(1, 0, 1), "bo");
  serveEvents();
  EXPECT_EQ(view.plotWindowFor(main), plot);
  EXPECT_EQ(view.plotWindowFor(plot), plot);
  item(main, "Copy plot")->trigger();
  EXPECT_EQ(view.statusText(main), "The plot is on the clipboard (SVG and PNG)");
  EXPECT_TRUE(view.statusText(plot).isEmpty());
  // In a window with a Copy plot button the item is greyed out when the
  // button is (the plot emptied, or closed).
  graphics.uicontrol(main, {ControlStyle::pushbutton, "CopyPlotButton", "Copy plot", 0, false, "",
                            Eigen::Vector4d(200, 20, 80, 24), "", "", true});
  auto menusShown = [&] {
    for (QMenu* m : view.window(main)->menus()->menuBar()->findChildren<QMenu*>()) {
      emit m->aboutToShow();
    }
  };
  for (const bool on : {false, true}) {
    graphics.set(tag(main, "CopyPlotButton"), "Enable", std::string(on ? "on" : "off"));
    menusShown();
    EXPECT_EQ(item(main, "Copy plot")->isEnabled(), on);
  }
  item(main, "Number the landmarks of the means")->trigger();
  EXPECT_TRUE(view.window(plot)->axesWidgets().front()->look().numberMeans);

  // Help: boxes that do not wait.
  item(main, "Guide")->trigger();
  item(main, "About Tarvolin")->trigger();
  WindowMenus* menus = view.window(main)->menus();
  ASSERT_TRUE(menus->guideBox() && menus->aboutBox());
  EXPECT_EQ(menus->guideBox()->windowModality(), Qt::NonModal);
  EXPECT_TRUE(menus->guideBox()->text().contains("TPS file"));
  EXPECT_TRUE(menus->aboutBox()->text().contains(TARVOLIN_VERSION));
  menus->guideBox()->close();
  menus->aboutBox()->close();
}

using WindowFiles = WindowFixture;

TEST_F(WindowFiles, ADroppedFileIsLoadedAsLoadDataWouldItsFormatToldByContent) {
  testing::TempDir dir;
  testing::writeText(dir.file("skulls.txt"), kTps);  // a TPS file by its content
  testing::writeText(dir.file("skulls.tps"), kZor);  // rows of numbers whatever its name
  const Handle w = workflowWindow();
  const Handle zor = tag(w, "ZORButton");
  // The TPS file switch changes only when the user clicks it: a dropped
  // file is read by its content, IDs and all.
  const struct {
    const char* file;
    double tpsValue;
  } drops[] = {{"skulls.txt", 0}, {"skulls.tps", 0}};
  for (const auto& d : drops) {
    ran.clear();
    opened.clear();
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.file(d.file)))});
    // As the window system delivers a drag: entering, then dropping.
    QWindow* window = view.window(w)->windowHandle();
    ASSERT_NE(window, nullptr);
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &drop);
    serveEvents();
    delete data;
    EXPECT_EQ(graphics.getNumber(zor, "Value"), d.tpsValue) << d.file;
    EXPECT_EQ(ran, std::vector<std::string>{"LoadDataButton"}) << d.file;
    EXPECT_EQ(opened, std::vector<std::string>{dir.file(d.file)}) << d.file;
  }
  // An empty file is refused in the window's status line, nothing is loaded.
  testing::writeText(dir.file("empty.txt"), "\n");
  ran.clear();
  view.loadFile(w, QString::fromStdString(dir.file("empty.txt")));
  EXPECT_TRUE(ran.empty());
  EXPECT_TRUE(view.statusText(w).contains("empty.txt"));
}

TEST_F(WindowFiles, RecentFilesNewestFirstAtMostEightWithoutRepeatsOrFailedLoads) {
  testing::TempDir dir;
  const Handle w = workflowWindow(false);
  auto load = [&](int i) {
    const std::string path = dir.file("set" + std::to_string(i) + ".txt");
    testing::writeText(path, kZor);
    view.loadFile(w, QString::fromStdString(path));
  };
  auto named = [&](std::initializer_list<int> numbers) {
    QStringList files;
    for (int i : numbers)
      files << QString::fromStdString(dir.file("set" + std::to_string(i) + ".txt"));
    return files;
  };
  for (int i = 1; i <= 10; ++i) load(i);
  EXPECT_EQ(view.recentFiles(), named({10, 9, 8, 7, 6, 5, 4, 3}));
  load(5);
  EXPECT_EQ(view.recentFiles(), named({5, 10, 9, 8, 7, 6, 4, 3}));
  failLoad = true;
  load(11);
  EXPECT_EQ(view.recentFiles().front(), named({5}).front());
  failLoad = false;
  std::filesystem::remove(dir.file("set10.txt"));
  view.dropMissingRecentFiles();
  EXPECT_EQ(view.recentFiles(), named({5, 9, 8, 7, 6, 4, 3}));
  // A recent file chosen is loaded as a drop is.
  QMenu* recent = item(w, "Recent data files")->menu();
  emit recent->aboutToShow();
  ASSERT_EQ(recent->actions().size(), 7);
  opened.clear();
  recent->actions()[2]->trigger();
  EXPECT_EQ(opened, std::vector<std::string>{dir.file("set8.txt")});
}

// Answers the file dialog that opens next with `file`, noting the folder it
// showed first.
void answerNextDialog(QString& folder, const QString& file) {
  QTimer::singleShot(0, [&folder, file] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    folder = dialog->directory().absolutePath();
    dialog->selectFile(file);
    static_cast<QDialog*>(dialog)->accept();
  });
}

TEST(WindowSettings, TheRecentFilesTheLastFolderAndThePlotWindowsPlaceAreKeptForTheNextRun) {
  testing::qtApplication();
  testing::TempDir dir;
  testing::CwdGuard cwd;
  std::filesystem::create_directories(dir.file("data"));
  testing::writeText(dir.file("data/a.txt"), kZor);
  QSettings settings(QString::fromStdString(dir.file("settings.ini")), QSettings::IniFormat);
  const QString file = QString::fromStdString(dir.file("data/a.txt"));
  const QRect place(120, 140, 500, 400);
  {
    Graphics graphics;
    QtFileDialogs dialogs;
    dialogs.setSettings(&settings);
    QtView view(graphics, [&](Handle) { dialogs.getFile("*.*", "Enter file to Load?"); });
    view.setSettings(&settings);
    view.setFileDialogs(&dialogs);
    const Handle w = graphics.figure();
    ControlSpec load;
    load.tag = "LoadDataButton";
    graphics.uicontrol(w, load);
    view.loadFile(w, file);
    const Handle plot = graphics.figure();
    serveEvents();
    view.window(plot)->setGeometry(place);
    graphics.close(plot);
    graphics.close(w);
    serveEvents();
  }
  std::filesystem::current_path(dir.file(""));
  Graphics graphics;
  QtFileDialogs dialogs;
  dialogs.setSettings(&settings);
  QtView view(graphics, [](Handle) {});
  view.setSettings(&settings);
  EXPECT_EQ(view.recentFiles(), QStringList{file});
  const Handle plot = graphics.figure();
  serveEvents();
  EXPECT_EQ(view.window(plot)->geometry(), place);
  EXPECT_EQ(graphics.object(plot).details().position(2), place.width());
  // The first dialog starts in the folder last chosen.
  QString folder;
  answerNextDialog(folder, file);
  ASSERT_TRUE(dialogs.getFile("*.*", "Specify 3D input file to load"));
  EXPECT_EQ(folder, QString::fromStdString(dir.file("data")));
  graphics.close(plot);
  serveEvents();

  // A place kept on a larger screen (or at a smaller scaling) comes back
  // whole on this one.
  settings.setValue("geometry/Plot", QRect(700, 500, 3000, 2000));
  const Handle large = graphics.figure();
  serveEvents();
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  const QRect placed = view.window(large)->geometry();
  EXPECT_TRUE(area.contains(placed))
      << area.width() << "x" << area.height() << " holds " << placed.x() << "," << placed.y() << " "
      << placed.width() << "x" << placed.height();
  graphics.close(large);
  serveEvents();
}

// A place kept at another scaling (where the window had to be fitted onto a
// smaller screen) comes back where it was, but never smaller than the
// window's layout; a larger place the user chose is kept.
TEST(WindowSettings, AKeptPlaceNeverMakesAWindowSmallerThanItsLayout) {
  testing::qtApplication();
  testing::TempDir dir;
  QSettings settings(QString::fromStdString(dir.file("settings.ini")), QSettings::IniFormat);
  const struct {
    QRect kept;
    QSize expected;  // of the window, its bars included
  } cases[] = {
      {QRect(40, 60, 200, 150), QSize(500, 400)},
      {QRect(40, 60, 600, 450), QSize(600, 450)},
  };
  for (const auto& c : cases) {
    settings.setValue("geometry/Tarvolin2D", c.kept);
    Graphics graphics;
    QtView view(graphics, [](Handle) {});
    view.setSettings(&settings);
    const Handle w = graphics.figure();
    graphics.set(w, "Tag", std::string("Tarvolin2D"));
    graphics.set(w, "Position", Eigen::MatrixXd(Eigen::RowVector4d(0, 0, 500, 400)));
    ControlSpec go;
    go.tag = "Go";
    graphics.uicontrol(w, go);
    serveEvents();
    const FigureWindow* window = view.window(w);
    const int bar = window->barHeight();
    const QSize expected = c.expected.height() == 400 ? QSize(500, 400 + bar) : c.expected;
    EXPECT_EQ(window->geometry().topLeft(), c.kept.topLeft()) << c.kept.width();
    EXPECT_EQ(window->geometry().size(), expected) << c.kept.width();
    graphics.close(w);
    serveEvents();
  }
}

}  // namespace
}  // namespace tarvolin
