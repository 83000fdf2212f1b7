#include "app/Tarvolin.h"

#include "app/mainLoop.h"
#include "app/runtime.h"
#include "platform/console.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

class TarvolinTest : public ::testing::Test {
 protected:
  TarvolinTest() { runtime_.startup(); }

  Handle openMain() { return runtime_.call("Tarvolin", 1, {})[0].scalar(); }
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

  testing::CwdGuard cwd_;
  Graphics graphics_;
  ScriptedFileDialogs dialogs_;
  Runtime runtime_{graphics_, dialogs_, TARVOLIN_RESOURCES_DIR};
};

TEST_F(TarvolinTest, OpensTheMainWindowOnceAndRecordsItsHandles) {
  const Handle main = openMain();
  EXPECT_EQ(openMain(), main);
  EXPECT_EQ(graphics_.object(kRoot).children.size(), 1u);
  EXPECT_TRUE(runtime_.call("Tarvolin", 0, {}).empty());
  const Value handles = runtime_.call("guidata", 1, {Value(main)})[0];
  ASSERT_NE(handles.field("FileBox"), nullptr);
  EXPECT_EQ(*handles.field("FileBox"), Value(in(main, "FileBox")));
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

  // Without its figure file no window opens and the run fails.
  Graphics other;
  Runtime broken(other, dialogs, "/nonexistent");
  ConsoleCapture console;
  EXPECT_EQ(mainLoop(broken, 1, argv, "Tarvolin", 1, main_info(broken), events), 1);
  EXPECT_NE(console.text().find("Tarvolin.fig"), std::string::npos) << console.text();
}

}  // namespace
}  // namespace tarvolin
