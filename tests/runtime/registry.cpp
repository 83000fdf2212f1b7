#include "runtime/registry.h"

#include "core/console.h"
#include "runtime/runtime.h"
#include "tests/document/graphicsrecorder.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

class RegistryTest : public ::testing::Test {
 protected:
  RegistryTest() { runtime_.startup(); }

  testing::CwdGuard cwd_;
  Graphics graphics_;
  testing::GraphicsRecorder recorded_{graphics_};
  ScriptedFileDialogs dialogs_;
  Runtime runtime_{graphics_, dialogs_, TARVOLIN_RESOURCES_DIR};
};

TEST_F(RegistryTest, TwentySevenFunctionsWithTheirDeclaredCounts) {
  const char* const names[] = {"Tarvolin",
                               "stand3sw",
                               "guidata",
                               "guihandles",
                               "openfig",
                               "standsw",
                               "cla",
                               "clf",
                               "getpproc3",
                               "getpprocon3",
                               "gettpsfile3D",
                               "mfload",
                               "mfloadtxt",
                               "showshape",
                               "showshape3D",
                               "standardsize",
                               "vertxy3D",
                               "wireshape3D",
                               "xyzfromvert3",
                               "isvarname",
                               "movegui",
                               "centsize3Da",
                               "partialprocrustes3a",
                               "dload",
                               "x1y1z1",
                               "iskeyword",
                               "svdrot2"};
  const int inputs[] = {-1, 1, 2, 1, 2, 1, -1, -1, 1, 2, 1, 1, 1, 2,
                        2,  3, 1, 3, 2, 1, -1, 1,  2, 1, 2, 1, 2};
  const int outputs[] = {-1, 1, 1, 1, 1, 1, 1, 1, 2, 1, 3, 2, 2, 1,
                         0,  2, 1, 0, 1, 1, 0, 1, 1, 1, 1, 1, 1};
  const std::vector<RegisteredFunction>& table = runtime_.registry().functions();
  ASSERT_EQ(table.size(), 27u);
  for (size_t i = 0; i < 27; ++i) {
    EXPECT_EQ(table[i].name, names[i]);
    EXPECT_EQ(table[i].inputs, inputs[i]) << names[i];
    EXPECT_EQ(table[i].outputs, outputs[i]) << names[i];
  }

  const std::vector<InitTermPair>& pairs = runtime_.initTermTable();
  ASSERT_EQ(pairs.size(), 29u);
  EXPECT_EQ(pairs[0].initialize, "mathrtInitialize");
  EXPECT_EQ(pairs[1].terminate, "graphicsrtTerminate");
  EXPECT_EQ(pairs[2].initialize, "InitializeModule_Tarvolin");
  EXPECT_EQ(pairs[3].terminate, "TerminateModule_stand3sw");
  EXPECT_EQ(pairs[28].initialize, "InitializeModule_svdrot2");

  const LocalTable* callbacks = runtime_.registry().localTable("Tarvolin");
  ASSERT_NE(callbacks, nullptr);
  ASSERT_EQ(callbacks->functions.size(), 19u);
  EXPECT_EQ(callbacks->functions[3].name, "Tarvolin/edit1_Callback");
  EXPECT_EQ(callbacks->functions[18].name, "Tarvolin/pushbutton15_Callback");
  EXPECT_EQ(callbacks->functions[18].inputs, -4);
}

TEST_F(RegistryTest, CallsByNameNestedTooDeepEndWithAMessage) {
  // Tarvolin('Tarvolin', 'Tarvolin', ...) calls itself once per word.
  const Values words(8000, Value("Tarvolin"));
  ConsoleCapture console;
  EXPECT_NO_THROW(runtime_.call("Tarvolin", 0, words));
  EXPECT_NE(console.text().find("calls nested more than 200 deep"), std::string::npos)
      << console.text().substr(0, 300);
}

TEST_F(RegistryTest, CountErrorsBeforeTheFunctionRunsResultsFirst) {
  const struct {
    const char* name;
    int nargout;
    size_t args;
    const char* expected;
  } cases[] = {
      {"guidata", 0, 3,
       "Run-time Error: File: guidata Line: 1 Column: 1 The function \"guidata\" was called with "
       "more than the declared number of inputs (2)."},
      {"stand3sw", 2, 1,
       "Run-time Error: File: stand3sw Line: 1 Column: 1 The function \"stand3sw\" was called with "
       "more than the declared number of outputs (1)."},
      {"stand3sw", 2, 2,
       "Run-time Error: File: stand3sw Line: 1 Column: 1 The function \"stand3sw\" was called with "
       "more than the declared number of outputs (1)."},
      {"stand3sw", 0, 2,
       "Run-time Error: File: stand3sw Line: 1 Column: 1 The function \"stand3sw\" was called with "
       "more than the declared number of inputs (1)."},
      {"movegui", 1, 0,
       "Run-time Error: File: movegui Line: 1 Column: 1 The function \"movegui\" was called with "
       "more than the declared number of outputs (0)."},
      {"cla", 2, 5,
       "Run-time Error: File: cla Line: 1 Column: 1 The function \"cla\" was called with more "
       "than the declared number of outputs (1)."},
      {"svdrot2", 0, 3,
       "Run-time Error: File: svdrot2 Line: 1 Column: 1 The function \"svdrot2\" was called with "
       "more than the declared number of inputs (2)."},
  };
  for (const auto& c : cases) {
    ConsoleCapture console;
    const Values args(c.args, Value("LoadData"));
    EXPECT_THROW_MSG(runtime_.call(c.name, c.nargout, args), RuntimeError, c.expected);
    EXPECT_EQ(console.text(), "");  // nothing ran
  }
  EXPECT_TRUE(graphics_.object(kRoot).children.empty());
}

TEST_F(RegistryTest, SubfunctionsAreFoundOnlyWhileTheirModuleRuns) {
  EXPECT_THROW_MSG(runtime_.call("getParentFigure", 1, {Value(0.0)}), RuntimeError,
                   "Undefined function or variable \"getParentFigure\".");
  runtime_.registry().within("guidata", [&] {
    EXPECT_THROW_MSG(
        runtime_.call("getParentFigure", 1, {Value(0.0), Value(1.0)}), RuntimeError,
        "Run-time Error: File: guidata/getParentFigure Line: 99 Column: 1 The function "
        "\"guidata/getParentFigure\" was called with more than the declared number of "
        "inputs (1).");
    return 0;
  });
  runtime_.registry().within("guihandles", [&] {
    EXPECT_THROW_MSG(runtime_.call("createHandles", 2, {}), RuntimeError,
                     "File: guihandles/createHandles Line: 86 Column: 1");
    return 0;
  });
  runtime_.registry().within("movegui", [&] {
    EXPECT_THROW_MSG(runtime_.call("get_parent_fig", 2, {}), RuntimeError,
                     "File: movegui/get_parent_fig Line: 166 Column: 1");
    return 0;
  });
  // The callbacks are reached through the main window function.
  ConsoleCapture console;
  runtime_.call("Tarvolin", 0, {Value("pushbutton3_Callback")});
  EXPECT_EQ(console.text(), "pushbutton3 Callback not implemented yet.\n");
}

TEST_F(RegistryTest, UnassignedResultsAreEmptyWithAWarning) {
  ConsoleCapture console;
  const Values results = runtime_.call("stand3sw", 1, {Value("Nothing")});
  ASSERT_EQ(results.size(), 1u);
  EXPECT_TRUE(results[0].isEmpty());
  EXPECT_EQ(console.text(),
            "Warning: Output \"y\" of \"stand3sw\" was not assigned during the call.\n");
  EXPECT_EQ(recorded_.messages(), std::vector<std::string>{"Fell Through case in switchyard"});
}

// After a cancelled dialog the readers' file name is the number 0 and their
// data unassigned; a file that cannot be opened: mfload's data is -1, and
// gettpsfile3D says "Error on file open" and assigns the name alone.
TEST_F(RegistryTest, FileReadersByNameAfterACancelOrAFileThatCannotBeOpened) {
  const std::string warnY = "Warning: Output \"y\" of \"";
  const std::string unassigned = "\" was not assigned during the call.\n";
  const struct {
    const char* function;
    bool cancel;  // else the chosen file does not exist
    int nargout;
    Values results;
    std::string console;
  } cases[] = {
      {"mfload", true, 2, {Value(), Value(0.0)}, warnY + "mfload" + unassigned},
      {"mfloadtxt", true, 2, {Value(), Value(0.0)}, warnY + "mfloadtxt" + unassigned},
      {"mfloadtxt", true, 1, {Value()}, warnY + "mfloadtxt" + unassigned},
      {"mfload", true, 0, {Value()}, ""},
      {"gettpsfile3D", true, 2, {Value(), Value(0.0)}, warnY + "gettpsfile3D" + unassigned},
      {"mfload", false, 2, {Value(-1.0), Value("missing.txt")}, ""},
      {"gettpsfile3D",
       false,
       3,
       {Value(), Value("missing.txt"), Value()},
       "Error on file open" + warnY + "gettpsfile3D" + unassigned +
           "Warning: Output \"namelist\" of \"gettpsfile3D" + unassigned},
      {"gettpsfile3D",
       false,
       2,
       {Value(), Value("missing.txt")},
       "Error on file open" + warnY + "gettpsfile3D" + unassigned},
  };
  testing::TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.function) + (c.cancel ? " cancel " : " missing ") +
                 std::to_string(c.nargout));
    if (c.cancel) {
      dialogs_.cancel();
    } else {
      dialogs_.choose(dir.file("missing.txt"));
    }
    ConsoleCapture console;
    const Values results = runtime_.call(c.function, c.nargout, {Value(1.0)});
    EXPECT_EQ(results, c.results);
    EXPECT_EQ(console.text(), c.console);
  }
}

TEST_F(RegistryTest, TypedRoutinesByName) {
  Eigen::MatrixXd triangle(3, 3);
  triangle << 0, 0, 0, 1, 0, 0, 0, 1, 0;
  EXPECT_NEAR(runtime_.call("centsize3Da", 1, {Value(triangle)})[0].scalar(), std::sqrt(4.0 / 3.0),
              1e-15);
  const Values row =
      runtime_.call("x1y1z1", 1, {Value(Eigen::MatrixXd(triangle.topRows(2))), Value(7.0)});
  EXPECT_EQ(row[0].matrix(), (Eigen::MatrixXd(1, 7) << 0, 0, 0, 1, 0, 0, 7).finished());
  EXPECT_EQ(runtime_.call("isvarname", 1, {Value("a_1")})[0], Value(1.0));
  EXPECT_EQ(runtime_.call("iskeyword", 1, {})[0].list().size(), 17u);

  // A stack travels as a list of pages and comes back through the layouts.
  const Eigen::MatrixXd data = Eigen::MatrixXd::Random(4, 10);
  const Value stack = runtime_.call("vertxy3D", 1, {Value(data)})[0];
  ASSERT_EQ(stack.list().size(), 4u);
  const Values fitted = runtime_.call("getpproc3", 2, {stack});
  EXPECT_EQ(fitted[0].matrix().rows(), 3);
  const Eigen::MatrixXd sizes = data.col(9);
  EXPECT_EQ(runtime_.call("xyzfromvert3", 1, {stack, Value(sizes)})[0].matrix(), data);

  EXPECT_THROW_MSG(runtime_.call("showshape3D", 0, {Value(triangle)}), RuntimeError,
                   "Input argument \"dsymbol\" is undefined.");
}

TEST_F(RegistryTest, ModulesRunOnlyBetweenStartUpAndShutDown) {
  runtime_.shutdown();
  EXPECT_THROW_MSG(runtime_.call("stand3sw", 0, {Value("Clear")}), RuntimeError,
                   "The module \"stand3sw\" is not running.");
  runtime_.startup();
  EXPECT_TRUE(runtime_.stand3sw().DATA().size() == 0);
}

}  // namespace
}  // namespace tarvolin
