#include "runtime/Tarvolin.h"

#include <filesystem>

#include "core/console.h"
#include "core/errors.h"
#include "core/sprintf.h"
#include "formats/dload.h"
#include "runtime/mainLoop.h"
#include "runtime/runtime.h"
#include "tests/document/graphicsrecorder.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

class TarvolinTest : public ::testing::Test {
 protected:
  TarvolinTest() { runtime_.startup(); }

  Handle openMain() { return Handle(runtime_.call("Tarvolin", 1, {})[0].scalar()); }
  Handle in(Handle window, const char* tag) { return graphics_.findobj(tag, window).front(); }
  std::string text(Handle window, const char* tag) {
    return graphics_.getString(in(window, tag), "String");
  }
  bool enabled(Handle window, const char* tag) {
    return graphics_.getString(in(window, tag), "Enable") == "on";
  }
  Handle open2D(Handle main) {
    runtime_.runCallback(in(main, "Open2DButton"));
    return *runtime_.windowOf("Tarvolin2D");
  }
  // A click, answering the dialog it opens with `file` when one is given.
  void press(Handle window, const char* tag, const std::string& file = "") {
    if (!file.empty()) dialogs_.choose(file);
    const Handle h = in(window, tag);
    if (graphics_.object(h).details().style == ControlStyle::radiobutton)
      graphics_.set(h, "Value", 1.0);
    runtime_.runCallback(h);
  }
  // Loads `data` in the window and standardizes it to ln x, its size's
  // smallest value proposed.
  void standardize(Handle window, const std::string& data) {
    press(window, "LoadDataButton", data);
    for (const char* tag : {"UseCSButton", "LnButton", "GoRegress", "AcceptStandard"}) {
      press(window, tag);
    }
  }
  // Everything a window holds and shows, to check that an action left it alone.
  std::string describe(Handle window) const {
    std::string seen;
    std::vector<Handle> pending{window};
    while (!pending.empty()) {
      const GraphicsObject& o = graphics_.object(pending.back());
      pending.pop_back();
      seen += sprintf("%g %s %s %g %i %i;", o.handle.value(), o.tag, o.details().string,
                      o.details().value, o.details().enable ? 1 : 0, o.children.size());
      pending.insert(pending.end(), o.children.begin(), o.children.end());
    }
    return seen;
  }
  // A copy of an example data set with every size doubled, as a second data
  // set of as many specimens would have other sizes.
  std::string otherSizes(const std::string& example) const {
    Eigen::MatrixXd data = dload(testing::examplePath(example));
    data.col(data.cols() - 1) *= 2;
    std::string text;
    for (Eigen::Index i = 0; i < data.rows(); ++i) text += sprintf("%.17g ", data.row(i)) + "\n";
    const std::string path = dir_.file("other_" + example);
    testing::writeText(path, text);
    return path;
  }

  testing::CwdGuard cwd_;
  testing::TempDir dir_;
  Graphics graphics_;
  testing::GraphicsRecorder recorded_{graphics_};
  ScriptedFileDialogs dialogs_;
  Runtime runtime_{graphics_, dialogs_, TARVOLIN_RESOURCES_DIR};
};

TEST_F(TarvolinTest, OpensTheMainWindowOnceAndRecordsItsHandles) {
  const Handle main = openMain();
  EXPECT_EQ(openMain(), main);
  EXPECT_EQ(graphics_.object(kRoot).children.size(), 1u);
  EXPECT_TRUE(runtime_.call("Tarvolin", 0, {}).empty());
  const Value handles = runtime_.call("guidata", 1, {Value(main.value())})[0];
  ASSERT_NE(handles.field("FileBox"), nullptr);
  EXPECT_EQ(*handles.field("FileBox"), Value(in(main, "FileBox").value()));
}

TEST_F(TarvolinTest, DispatchesByNameAndCatchesErrors) {
  ConsoleCapture console;
  EXPECT_TRUE(runtime_.call("Tarvolin", 0, {Value("pushbutton3_Callback")}).empty());
  EXPECT_TRUE(runtime_.call("Tarvolin", 0, {Value("nosuch"), Value(1.0)}).empty());
  EXPECT_TRUE(runtime_.call("Tarvolin", 0, {Value(3.0), Value("pushbutton3_Callback")}).empty());
  runtime_.call("Tarvolin", 0, {Value("guidata"), Value(1.0), Value(2.0), Value(3.0)});
  EXPECT_EQ(console.text(),
            "pushbutton3 Callback not implemented yet.\n"
            "Undefined function or variable \"nosuch\".\n"
            "Run-time Error: File: guidata Line: 1 Column: 1 The function \"guidata\" was called "
            "with more than the declared number of inputs (2).\n");
  EXPECT_TRUE(graphics_.object(kRoot).children.empty());
  // The results of the called function come back.
  EXPECT_EQ(runtime_.call("Tarvolin", 1, {Value("isvarname"), Value("ok")})[0], Value(1.0));
}

TEST_F(TarvolinTest, Pushbutton15SendsAcceptxToThe2DWindowOnly) {
  const Handle main = openMain();
  const Handle twoD = open2D(main);
  ASSERT_NE(twoD, main);
  ConsoleCapture console;
  runtime_.runCallback(in(twoD, "GoRegress"));
  EXPECT_TRUE(enabled(twoD, "AcceptStandard"));
  EXPECT_FALSE(enabled(main, "AcceptStandard"));
  EXPECT_EQ(console.text(),
            "Warning: Output \"y\" of \"standsw\" was not assigned during the call.\nans = []\n");
}

TEST_F(TarvolinTest, TheTwoWindowsNeverWriteIntoEachOther) {
  const Handle main = openMain();
  const Handle twoD = open2D(main);
  graphics_.set(in(twoD, "MinBox"), "String", std::string("2D"));
  graphics_.set(in(main, "MaxBox"), "String", std::string("3D"));

  runtime_.runCallback(in(main, "ClearButton"));
  EXPECT_EQ(text(main, "MaxBox"), "0.0000");
  EXPECT_EQ(text(twoD, "MinBox"), "2D");

  dialogs_.choose(testing::examplePath("skulls2d.txt"));
  runtime_.runCallback(in(twoD, "LoadDataButton"));
  EXPECT_EQ(text(main, "FileBox"), "No Data Loaded");
  EXPECT_EQ(text(twoD, "FileBox").rfind("File skulls2d.txt \n", 0), 0u) << text(twoD, "FileBox");
  // The 2D plot lands in the 2D window's own plotting area.
  const Handle plotArea = in(twoD, "PlotArea");
  EXPECT_EQ(graphics_.object(plotArea).children.size(), 40u * 14u + 14u);

  runtime_.runCallback(in(twoD, "ClearButton"));
  EXPECT_EQ(text(twoD, "MinBox"), "0.0000");
  EXPECT_EQ(text(main, "MaxBox"), "0.0000");
  EXPECT_TRUE(graphics_.object(plotArea).children.empty());
}

// The user closed the plot window, then opened the 2D window, which got the
// plot window's number: no 3D action takes it for the plot window.
TEST_F(TarvolinTest, AClosedPlotWindowIsNeverMistakenForTheWindowThatGotItsNumber) {
  const Handle main = openMain();
  press(main, "LoadDataButton", testing::examplePath("skulls_zor.txt"));
  const Handle plot = *runtime_.plotWindow();
  graphics_.close(plot);
  const Handle twoD = open2D(main);
  ASSERT_EQ(twoD, plot);
  const std::string untouched = describe(twoD);

  const struct {
    const char* tag;
    std::string error;  // "" for an action that opens a new plot window
  } cases[] = {
      {"ClearPlotButton",
       "Error in ClearFigure: the plot window is closed; there is nothing to clear"},
      {"CopyPlotButton", "Error in CopyImage: the plot window is closed; there is nothing to copy"},
      {"ClearButton", ""},
      {"ShowDataButton", ""},
      {"LoadDataButton", ""},
  };
  for (const auto& c : cases) {
    press(main, c.tag,
          c.tag == std::string("LoadDataButton") ? testing::examplePath("skulls_zor.txt") : "");
    EXPECT_EQ(graphics_.lastError(), c.error) << c.tag;
    EXPECT_EQ(describe(twoD), untouched) << c.tag;
    if (const std::optional<Handle> opened = runtime_.plotWindow()) {
      EXPECT_NE(*opened, twoD);
      EXPECT_EQ(graphics_.object(*opened).children.size(), 1u) << "a plot window with its axes";
      graphics_.close(*opened);
    }
  }
  EXPECT_TRUE(recorded_.pictures().empty());
}

// A switchyard whose window is closed refuses every action before any
// dialog, echo or change; a window opened anew starts with no data.
TEST_F(TarvolinTest, ASwitchyardWhoseWindowIsClosedRefusesBeforeActing) {
  const Handle main = openMain();
  const Handle twoD = open2D(main);
  press(twoD, "LoadDataButton", testing::examplePath("skulls2d.txt"));
  press(main, "LoadDataButton", testing::examplePath("skulls_zor.txt"));

  std::vector<std::string> actions3D, actions2D;
  for (const auto& a : Stand3sw::kActions) actions3D.emplace_back(a.name);
  for (const auto& a : Standsw::kActions) actions2D.emplace_back(a.name);
  const struct {
    const char* switchyard;
    const char* window;
    Handle closed;
    Handle other;
    const std::vector<std::string>& actions;
  } cases[] = {
      {"standsw", "Tarvolin2D", twoD, main, actions2D},
      {"stand3sw", "Tarvolin", main, kRoot, actions3D},
  };
  for (const auto& c : cases) {
    graphics_.close(c.closed);
    const std::string other = c.other == kRoot ? "" : describe(c.other);
    const size_t asked = dialogs_.requests().size();
    const Eigen::MatrixXd data3D = runtime_.stand3sw().DATA();
    const Eigen::MatrixXd data2D = runtime_.standsw().DATA();
    for (const std::string& action : c.actions) {
      ConsoleCapture console;
      runtime_.call(c.switchyard, 0, {Value(action)});
      EXPECT_EQ(console.text(),
                "Error in " + action + ": the window " + c.window + " is not open\n");
    }
    EXPECT_EQ(dialogs_.requests().size(), asked);
    EXPECT_EQ(runtime_.stand3sw().DATA(), data3D);
    EXPECT_EQ(runtime_.standsw().DATA(), data2D);
    if (c.other != kRoot) {
      EXPECT_EQ(describe(c.other), other);
    }
  }

  // Opened again, the 2D window shows no data, and neither does its workflow.
  openMain();
  const Handle again = open2D(*runtime_.windowOf("Tarvolin"));
  press(again, "ShowDataButton");
  EXPECT_EQ(graphics_.lastError(), "Error in ShowData: no data set is loaded; load one first");
  EXPECT_EQ(runtime_.standsw().DATA().size(), 0);
}

// After a finished standardization a second data set of as many specimens
// but other sizes is loaded: nothing of the first set's x-variable or result
// may be used with it, by a click or by name.
TEST_F(TarvolinTest, ANewDataSetStartsTheLaterStepsAfresh) {
  const Handle main = openMain();
  const Handle twoD = open2D(main);
  const struct {
    Handle window;
    const char* switchyard;
    std::string first;
    std::string second;
  } cases[] = {
      {main, "stand3sw", testing::examplePath("skulls_zor.txt"), otherSizes("skulls_zor.txt")},
      {twoD, "standsw", testing::examplePath("skulls2d_superimposed.txt"),
       otherSizes("skulls2d_superimposed.txt")},
  };
  for (const auto& c : cases) {
    standardize(c.window, c.first);
    press(c.window, "LoadDataButton", c.second);
    for (const char* tag : {"AcceptStandard", "SaveStandard", "ShowStandard"}) {
      EXPECT_FALSE(enabled(c.window, tag)) << c.switchyard << " " << tag;
    }
    EXPECT_TRUE(enabled(c.window, "UseCSButton"));
    EXPECT_EQ(text(c.window, "StandardBox"), "0.0000");
    for (const char* tag : {"XButton", "LnButton", "LogButton"}) {
      EXPECT_EQ(graphics_.getNumber(in(c.window, tag), "Value"), 0) << tag;
    }

    const size_t asked = dialogs_.requests().size();
    const struct {
      const char* action;
      std::string error;
    } byName[] = {
        {"Regress",
         "no x-variable has been chosen for this data set; use centroid size or load an x list, "
         "then choose x, ln x or log10 x"},
        {"SaveFile", "there is no standardized data to save; standardize first"},
        {"ShowRegress", "there is no standardized data to show; standardize first"},
    };
    for (const auto& b : byName) {
      runtime_.call(c.switchyard, 0, {Value(b.action)});
      EXPECT_EQ(graphics_.lastError(), "Error in " + std::string(b.action) + ": " + b.error);
    }
    EXPECT_EQ(dialogs_.requests().size(), asked);

    // Chosen again, x is the new set's sizes.
    for (const char* tag : {"UseCSButton", "LnButton", "GoRegress", "AcceptStandard"}) {
      press(c.window, tag);
    }
    const Eigen::MatrixXd sdata =
        c.window == main ? runtime_.stand3sw().SDATA() : runtime_.standsw().SDATA();
    const Eigen::MatrixXd second = dload(c.second);
    EXPECT_EQ(sdata.col(sdata.cols() - 1), second.col(second.cols() - 1));
  }
}

// The saved file says what it holds: a standard value typed after
// Standardize would label coordinates standardized to another value.
TEST_F(TarvolinTest, AStandardValueEditedAfterStandardizeIsNeverSaved) {
  const Handle main = openMain();
  const Handle twoD = open2D(main);
  const struct {
    Handle window;
    std::string data;
  } cases[] = {
      {main, testing::examplePath("skulls_zor.txt")},
      {twoD, testing::examplePath("skulls2d_superimposed.txt")},
  };
  for (const auto& c : cases) {
    standardize(c.window, c.data);
    const std::string used = text(c.window, "StandardBox");
    const std::string saved = dir_.file("saved.txt");
    const size_t asked = dialogs_.requests().size();
    for (const char* typed : {"3.5", "", "1e400"}) {
      graphics_.set(in(c.window, "StandardBox"), "String", std::string(typed));
      press(c.window, "SaveStandard");
      EXPECT_EQ(graphics_.lastError(), "Error in SaveFile: the standard value was changed to " +
                                           std::string(*typed ? typed : "\"\"") +
                                           " after Standardize used " + used +
                                           "; click Standardize again");
    }
    EXPECT_EQ(dialogs_.requests().size(), asked);
    // The same number, however written, is the value used.
    graphics_.set(in(c.window, "StandardBox"), "String", " " + used + "0 ");
    press(c.window, "SaveStandard", saved);
    EXPECT_EQ(graphics_.lastError(), "");
    EXPECT_TRUE(std::filesystem::exists(saved));
    std::filesystem::remove(saved);
  }
}

// Arguments of the wrong kind by name: an action that is not a text is an
// unmatched action; a policy that is not a text is not 'new' or 'reuse'.
TEST_F(TarvolinTest, ArgumentsOfTheWrongKindByName) {
  openMain();
  const struct {
    Values call;
    std::string console;
    std::vector<std::string> messages;
  } cases[] = {
      {{Value("stand3sw"), Value(3.0)}, "", {"Fell Through case in switchyard"}},
      {{Value("standsw"), Value(3.0)}, "", {}},
      {{Value("openfig"), Value("Tarvolin"), Value(1.0)},
       "Second input argument must be 'new' or 'reuse'.\n",
       {}},
  };
  for (const auto& c : cases) {
    const size_t before = recorded_.messages().size();
    ConsoleCapture console;
    runtime_.call("Tarvolin", 0, c.call);
    EXPECT_EQ(console.text(), c.console);
    EXPECT_EQ(std::vector<std::string>(recorded_.messages().begin() + static_cast<long>(before),
                                       recorded_.messages().end()),
              c.messages);
  }
}

// Serves no event: the run ends as soon as the main window is open.
class NoEvents : public EventSource {
 public:
  bool next(Runtime&) override { return false; }
};

TEST(MainLoop, StartsRunsAndShutsDownEveryModule) {
  Graphics graphics;
  ScriptedFileDialogs dialogs;
  Runtime runtime(graphics, dialogs, TARVOLIN_RESOURCES_DIR);
  const MainInfo info = main_info(runtime);
  EXPECT_EQ(info.functionCount, 27);
  EXPECT_EQ(info.initTermCount, 29);
  NoEvents events;
  const char* const argv[] = {"tarvolin"};
  EXPECT_EQ(mainLoop(runtime, 1, argv, "Tarvolin", 1, info, events), 0);
  EXPECT_TRUE(graphics.object(kRoot).children.empty());
  EXPECT_FALSE(runtime.started("stand3sw"));

  // Without its figure file no window opens and the run cannot start.
  Graphics other;
  Runtime broken(other, dialogs, "/nonexistent");
  ConsoleCapture console;
  try {
    mainLoop(broken, 1, argv, "Tarvolin", 1, main_info(broken), events);
    ADD_FAILURE() << "the run started without its figure file";
  } catch (const InputError& e) {
    EXPECT_NE(std::string(e.what()).find("/nonexistent/Tarvolin.fig"), std::string::npos)
        << e.what();
  }
  EXPECT_EQ(console.text(), "");
  EXPECT_FALSE(broken.started("stand3sw"));
}

}  // namespace
}  // namespace tarvolin
