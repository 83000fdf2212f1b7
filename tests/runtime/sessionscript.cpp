#include "runtime/sessionscript.h"

#include <filesystem>
#include <sstream>

#include "cli/tarvolincli.h"
#include "formats/dload.h"
#include "formats/standardizedtext.h"
#include "numerics/proposedstandard.h"
#include "numerics/standardsize.h"
#include "numerics/transformx.h"
#include "tests/cli/clitesting.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::CliRun;
using testing::examplePath;
using testing::readText;
using testing::runCli;
using testing::TempDir;
using testing::writeText;

struct Session {
  int status = -1;
  std::string out;
  std::string err;
};

Session play(const TempDir& dir, const std::string& script, bool strict = false) {
  testing::CwdGuard cwd;
  writeText(dir.file("script.txt"), script);
  std::ostringstream out, err;
  Session s;
  s.status = runsession(dir.file("script.txt"), TARVOLIN_RESOURCES_DIR, strict, out, err);
  s.out = out.str();
  s.err = err.str();
  return s;
}

TEST(SessionScript, Whole3DWorkflowSavesWhatTheCommandLineWrites) {
  TempDir dir;
  const Session s = play(dir,
                         "# the example, clicked through\n"
                         "choose " +
                             examplePath("skulls_wire.txt") +
                             "\n"
                             "press LoadWireButton\n"
                             "choose " +
                             examplePath("skulls_zor.txt") +
                             "\n"
                             "press LoadDataButton\n\n"
                             "press UseCSButton\n"
                             "press LogButton\n"
                             "press GoRegress\n"
                             "set StandardBox String 1.5\n"
                             "press AcceptStandard\n"
                             "choose " +
                             dir.file("saved.txt") +
                             "\n"
                             "press SaveStandard\n"
                             "press CopyPlotButton\n");
  EXPECT_EQ(s.status, 0) << s.err;
  EXPECT_EQ(s.err, "");
  EXPECT_NE(s.out.find("stemp = using ZOR format\nm = 14\nn = 3\n"), std::string::npos) << s.out;
  EXPECT_NE(s.out.find("newcs = 0\n"), std::string::npos);

  testing::CwdGuard cwd;
  const char* const argv[] = {
      "tarvolin-cli", "standardize", TARVOLIN_EXAMPLES_DIR "/skulls_zor.txt",
      "--transform",  "log10",       "--standard",
      "1.5"};
  std::ostringstream out, err;
  ASSERT_EQ(runcli(7, argv, out, err), 0) << err.str();
  EXPECT_EQ(readText(dir.file("saved.txt")), out.str());
}

TEST(SessionScript, Whole2DWorkflowInItsOwnWindow) {
  TempDir dir;
  const Session s = play(dir,
                         "press Open2DButton\n"
                         "window Tarvolin2D\n"
                         "choose " +
                             examplePath("skulls2d_superimposed.txt") +
                             "\n"
                             "press LoadDataButton\n"
                             "choose " +
                             examplePath("skulls_mass.txt") +
                             "\n"
                             "press LoadXButton\n"
                             "press LnButton\n"
                             "press GoRegress\n"
                             "press AcceptStandard\n"
                             "press CSBox\n"
                             "choose " +
                             dir.file("saved2d.txt") +
                             "\n"
                             "press SaveStandard\n");
  EXPECT_EQ(s.status, 0) << s.err;
  EXPECT_NE(s.out.find("ans = []\n"), std::string::npos) << s.out;

  // 2D data are taken as superimposed: the file is the regression of the rows as read.
  const Eigen::MatrixXd data = dload(examplePath("skulls2d_superimposed.txt"));
  const Eigen::VectorXd lnMass =
      transformx(dload(examplePath("skulls_mass.txt")).col(0), Transform::ln, "");
  const Eigen::MatrixXd expected = standardsize(data, lnMass, proposedstandard(lnMass)).y;
  EXPECT_EQ(readText(dir.file("saved2d.txt")), standardizedtext(expected, std::nullopt));
}

// The sliders file, the switch and its criterion are pressed as any other
// control, through to the standardized file the command line writes.
TEST(SessionScript, SemilandmarksSlideInAScript) {
  TempDir dir;
  writeText(dir.file("sliders.txt"), "1 9 10\n9 10 11\n10 11 12\n");
  const Session s = play(dir,
                         "choose " + examplePath("skulls_zor.txt") + "\npress LoadDataButton\n" +
                             "choose " + dir.file("sliders.txt") + "\npress LoadSlidersButton\n" +
                             "press SlideBox\n"
                             "set SlideCriterion Value 2\n"
                             "press SlideCriterion\n"
                             "press UseCSButton\npress LnButton\npress GoRegress\n"
                             "press AcceptStandard\n"
                             "choose " +
                             dir.file("slid.txt") + "\npress SaveStandard\n",
                         /*strict=*/true);
  EXPECT_EQ(s.status, 0) << s.err << s.out;
  EXPECT_EQ(s.err, "");
  // What the command line writes for the same choices.
  const CliRun cli = runCli({"standardize", examplePath("skulls_zor.txt"), "--sliders",
                             dir.file("sliders.txt"), "--slide", "procd", "--transform", "ln"});
  ASSERT_EQ(cli.status, 0) << cli.err;
  EXPECT_EQ(readText(dir.file("slid.txt")), cli.out);
}

TEST(SessionScript, ErrorsInActionsAreReportedAndStrictStopsAtTheFirst) {
  TempDir dir;
  const std::string script = "choose " + dir.file("missing.txt") +
                             "\n"
                             "press LoadDataButton\n"
                             "call Tarvolin pushbutton1_Callback\n";
  const Session relaxed = play(dir, script);
  EXPECT_EQ(relaxed.status, 1);
  EXPECT_NE(
      relaxed.out.find("Error in LoadData: " + dir.file("missing.txt") + ": cannot be opened"),
      std::string::npos)
      << relaxed.out;
  EXPECT_NE(relaxed.out.find("pushbutton1 Callback not implemented yet.\n"), std::string::npos);

  const Session strict = play(dir, script, true);
  EXPECT_EQ(strict.status, 1);
  EXPECT_EQ(strict.out.find("pushbutton1 Callback"), std::string::npos) << strict.out;
}

TEST(SessionScript, AnyErrorReportedEndsTheRunWithStatus1) {
  TempDir dir;
  const std::string load = "choose " + examplePath("skulls_zor.txt") + "\npress LoadDataButton\n";
  const struct {
    std::string script;
    bool strict;
    int status;
    bool lastStepRun;
  } cases[] = {
      {load + "press ShowDataButton\n", false, 0, true},
      // An action's error, then steps that succeed: still a failure.
      {"call stand3sw Regress\n" + load + "press ShowDataButton\n", false, 1, true},
      {"call stand3sw Regress\n" + load + "press ShowDataButton\n", true, 1, false},
      // Errors the main window function catches in its call by name.
      {"call Tarvolin nosuchfunction\n" + load + "press ShowDataButton\n", false, 1, true},
      {"call Tarvolin nosuchfunction\n" + load + "press ShowDataButton\n", true, 1, false},
      {"call Tarvolin stand3sw LoadData 2\n" + load + "press ShowDataButton\n", true, 1, false},
  };
  for (const auto& c : cases) {
    const Session s = play(dir, c.script, c.strict);
    EXPECT_EQ(s.status, c.status) << c.script << s.out;
    EXPECT_EQ(s.err, "") << c.script;
    EXPECT_EQ(s.out.find("stemp = using ZOR format") != std::string::npos, c.lastStepRun)
        << c.script << s.out;
  }
}

TEST(SessionScript, AWindowThatCannotOpenEndsTheRunOnStandardError) {
  TempDir dir;
  testing::CwdGuard cwd;
  writeText(dir.file("script.txt"), "press LoadDataButton\n");
  std::ostringstream out, err;
  EXPECT_EQ(runsession(dir.file("script.txt"), dir.file("nofigures"), false, out, err), 2);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str().rfind("tarvolin-cli: " + dir.file("nofigures") + "/Tarvolin.fig: ", 0), 0)
      << err.str();
}

TEST(SessionScript, AStandardValueOutsideXIsWarnedAboutNotRefused) {
  TempDir dir;
  const std::string standardize =
      "press UseCSButton\npress LnButton\npress GoRegress\n"
      "set StandardBox String 5\npress AcceptStandard\n";
  const std::string warning =
      "Warning: the standard value 5 lies outside ln x, 3.0030 to 4.0965: the result is an "
      "extrapolation\n";
  const Session s3 = play(
      dir, "choose " + examplePath("skulls_zor.txt") + "\npress LoadDataButton\n" + standardize,
      true);
  EXPECT_EQ(s3.status, 0) << s3.out;
  EXPECT_NE(s3.out.find(warning), std::string::npos) << s3.out;
  const Session s2 =
      play(dir,
           "press Open2DButton\nwindow Tarvolin2D\nchoose " +
               examplePath("skulls2d_superimposed.txt") + "\npress LoadDataButton\n" + standardize,
           true);
  EXPECT_EQ(s2.status, 0) << s2.out;
  EXPECT_NE(s2.out.find("Warning: the standard value 5 lies outside ln x, "), std::string::npos)
      << s2.out;
}

// The example scripts find their data beside themselves and save where the
// run starts: they run as installed, from any folder.
TEST(SessionScript, TheExampleScriptsRunFromAnyFolder) {
  TempDir dir;
  const struct {
    std::string script;
    std::string saved;
    std::vector<std::string> sameAs;  // the command line that writes the same file
  } cases[] = {
      {"session3d.txt",
       "skulls_session3d.txt",
       {"standardize", examplePath("skulls_zor.txt"), "--transform", "ln"}},
      {"session2d.txt", "skulls_session2d.txt", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    testing::CwdGuard cwd;
    std::filesystem::current_path(dir.path());
    std::ostringstream out, err;
    EXPECT_EQ(runsession(examplePath(c.script), TARVOLIN_RESOURCES_DIR, true, out, err), 0)
        << err.str() << out.str();
    ASSERT_TRUE(std::filesystem::exists(dir.file(c.saved)));
    if (c.sameAs.empty()) continue;
    std::vector<const char*> argv{"tarvolin-cli"};
    for (const std::string& word : c.sameAs) argv.push_back(word.c_str());
    std::ostringstream cliOut, cliErr;
    ASSERT_EQ(runcli(static_cast<int>(argv.size()), argv.data(), cliOut, cliErr), 0);
    EXPECT_EQ(readText(dir.file(c.saved)), cliOut.str());
  }
  // A file to save is never looked for beside the script.
  EXPECT_FALSE(std::filesystem::exists(examplePath("skulls_session3d.txt")));
}

TEST(SessionScript, MessageBoxesAreShown) {
  TempDir dir;
  writeText(dir.file("short.txt"), "1\n2\n");
  const Session s = play(dir, "choose " + examplePath("skulls_zor.txt") +
                                  "\npress LoadDataButton\n"
                                  "choose " +
                                  dir.file("short.txt") + "\npress LoadXButton\n");
  EXPECT_NE(s.out.find("msgbox: The number of values in the x-list does not match the data set, "
                       "please reload\n"),
            std::string::npos)
      << s.out;
}

TEST(SessionScript, CloseShutsAWindowAsTheUserDoes) {
  TempDir dir;
  const Session s = play(dir, "choose " + examplePath("skulls_zor.txt") +
                                  "\n"
                                  "press LoadDataButton\n"
                                  "close plot\n"
                                  "call stand3sw ClearFigure\n"
                                  "press Open2DButton\n"
                                  "close Tarvolin2D\n"
                                  "call standsw ShowData\n"
                                  "press ShowDataButton\n"
                                  "close Tarvolin\n"
                                  "call stand3sw ShowData\n"
                                  "close plot\n"
                                  "call stand3sw ShowData\n");
  // Closing the plot window left none: the last step is said not to run.
  EXPECT_EQ(s.status, 2) << s.err;
  EXPECT_EQ(s.err, "tarvolin-cli: " + dir.file("script.txt") +
                       ":11: the last window was closed here, so line 12 was not run\n");
  EXPECT_EQ(s.out,
            "stemp = using ZOR format\n"
            "Error in ClearFigure: the plot window is closed; there is nothing to clear\n"
            "Error in ShowData: the window Tarvolin2D is not open\n"
            "Error in ShowData: the window Tarvolin is not open\n");
}

// The allometry report is a window a script can address, that of the main
// window addressed before it: its CSV is saved with the figures the command
// line gives, and it closes as the user closes it.
TEST(SessionScript, TheAllometryReportIsAddressedAsAWindow) {
  TempDir dir;
  const std::string steps =
      "choose " + examplePath("skulls_zor.txt") +
      "\npress LoadDataButton\npress UseCSButton\npress LnButton\npress GoRegress\n"
      "press AllometryButton\npress Open2DButton\nwindow Tarvolin2D\nchoose " +
      examplePath("skulls2d_superimposed.txt") +
      "\npress LoadDataButton\npress UseCSButton\npress LnButton\npress GoRegress\n"
      "press AllometryButton\nwindow Tarvolin\nwindow allometry\nchoose " +
      dir.file("report.csv") +
      "\npress AllometrySaveButton\nwindow Tarvolin2D\nwindow allometry\n" + "choose " +
      dir.file("report2d.csv") +
      "\npress AllometrySaveButton\nclose allometry\npress AllometrySaveButton\n";
  const Session s = play(dir, steps);
  EXPECT_EQ(s.status, 2) << s.err;
  EXPECT_EQ(s.err,
            "tarvolin-cli: " + dir.file("script.txt") + ":24: the window allometry is not open\n");
  const CliRun json =
      runCli({"allometry", examplePath("skulls_zor.txt"), "--transform", "ln", "--json"});
  ASSERT_EQ(json.status, 0) << json.err;
  const std::string csv = readText(dir.file("report.csv"));
  ASSERT_EQ(csv.rfind("term,Df,SS,", 0), 0u) << csv;
  const std::string sizeRow = csv.substr(csv.find("\nsize,1,") + 8);
  const std::string ss = sizeRow.substr(0, sizeRow.find(','));
  EXPECT_NE(json.out.find("\"ss\": " + ss), std::string::npos) << ss << "\n" << json.out;
  EXPECT_NE(csv.find(",skulls_zor.txt,"), std::string::npos) << csv;
  EXPECT_NE(readText(dir.file("report2d.csv")).find(",skulls2d_superimposed.txt,"),
            std::string::npos);
}

// The data check is a window a script can address too: a row chosen in its
// list shows that specimen in the plot window, and its CSV is saved.
TEST(SessionScript, TheDataCheckIsAddressedAsAWindow) {
  TempDir dir;
  const Session s = play(dir, "choose " + examplePath("skulls_faults.tps") +
                                  "\npress LoadDataButton\npress CheckDataButton\nwindow check\n"
                                  "set CheckTable Value 2\npress CheckTable\nchoose " +
                                  dir.file("check.csv") +
                                  "\npress CheckSaveButton\nclose check\n"
                                  "press CheckTable\n");
  EXPECT_EQ(s.status, 2) << s.err;
  EXPECT_EQ(s.err,
            "tarvolin-cli: " + dir.file("script.txt") + ":10: the window check is not open\n");
  EXPECT_NE(s.out.find("skull_07: landmarks 3 and 9 look swapped"), std::string::npos) << s.out;
  const std::string csv = readText(dir.file("check.csv"));
  EXPECT_NE(csv.find("skull_20"), std::string::npos) << csv;
}

// So is shape space: a specimen is pressed by its ID as a click on it does,
// and the scores are saved.
TEST(SessionScript, ShapeSpaceIsAddressedAsAWindowAndItsSpecimensByID) {
  TempDir dir;
  const Session s =
      play(dir, "choose " + examplePath("skulls.tps") + "\npress LoadDataButton\nchoose " +
                    examplePath("skulls_covariates.csv") +
                    "\npress LoadGroupsButton\npress ShapeSpaceButton\nwindow shapespace\n"
                    "press ShapeHulls\npress skull_07\nset ShapeMagnify String 3\n"
                    "press ShapeChangeButton\nchoose " +
                    dir.file("scores.csv") + "\npress ShapeScoresSaveButton\npress skull_99\n");
  EXPECT_EQ(s.status, 2) << s.err;
  EXPECT_EQ(s.err, "tarvolin-cli: " + dir.file("script.txt") +
                       ":13: the window shapespace has no control tagged skull_99\n");
  EXPECT_EQ(s.out.find("Error in ShapeChange"), std::string::npos) << s.out;
  EXPECT_EQ(s.out.find("Error in ShapeSpaceSelect"), std::string::npos) << s.out;
  const std::string csv = readText(dir.file("scores.csv"));
  EXPECT_EQ(csv.rfind("id,PC1,PC2,", 0), 0u) << csv;
  EXPECT_NE(csv.find("\nskull_07,"), std::string::npos) << csv;
}

// A script as an editor saves it (a byte-order mark, CRLF or old Macintosh
// line ends) runs as its lines say, and a data file read only up to a
// blank line says so on the console.
TEST(SessionScript, EditorsLineEndsAndMarksAndLinesNotRead) {
  TempDir dir;
  const std::string zor = examplePath("skulls_zor.txt");
  writeText(dir.file("blank.txt"), readText(zor) + "\n1 2 3\n4 5 6\n");
  const struct {
    std::string script;
    int status;
    std::string out;  // expected in standard output (the console)
    std::string err;  // expected in standard error
  } cases[] = {
      {"\xEF\xBB\xBF"
       "choose " +
           zor + "\r\npress LoadDataButton\r\npress UseCSButton\r\n",
       0, "stemp = using ZOR format\n", ""},
      {"choose " + zor + "\rpress LoadDataButton\rpress UseCSButton\n", 0,
       "stemp = using ZOR format\n", ""},
      {"choose " + dir.file("blank.txt") + "\npress LoadDataButton\npress UseCSButton\n", 0,
       "blank.txt: line 41 is blank: the 2 lines after it were not read\n", ""},
      {std::string("\xFF\xFE"
                   "p\0r\0",
                   6),
       2, "", "is UTF-16 text; save it as UTF-8"},
  };
  for (const auto& c : cases) {
    const Session s = play(dir, c.script, /*strict=*/true);
    EXPECT_EQ(s.status, c.status) << c.script << s.err;
    EXPECT_NE(s.out.find(c.out), std::string::npos) << s.out;
    EXPECT_NE(s.err.find(c.err), std::string::npos) << s.err;
  }
}

// A file with missing landmarks asks how to go on; "answer" gives the
// command line's choice, and without one the file is refused. "press" on
// the TPS file switch toggles it, as a click does.
TEST(SessionScript, AnswersTheMissingLandmarksQuestionAndTogglesTheTpsSwitch) {
  TempDir dir;
  const std::string load =
      "choose " + examplePath("skulls_missing.csv") + "\npress LoadDataButton\n";
  const std::string saveSuperimposed =
      "press UseCSButton\npress XButton\npress GoRegress\npress AcceptStandard\n";
  const struct {
    std::string steps;
    int status;
    std::string said;  // in the output
  } cases[] = {
      {load, 1, "2 specimens have missing landmarks:\nspecimen \"skull_03\": landmark 5"},
      {"answer estimate\n" + load + saveSuperimposed, 0, "stemp = using ZOR format\n"},
      {"answer drop-specimens\n" + load + saveSuperimposed, 0, "stemp = using ZOR format\n"},
      {"answer bogus\n" + load, 1, "the answer bogus is not one of the choices"},
      // Switched on and off again, the switch reads by content.
      {"press ZORButton\npress ZORButton\nanswer estimate\n" + load, 0,
       "stemp = using ZOR format\n"},
      // Switched on, the TPS reader refuses a table.
      {"press ZORButton\nanswer estimate\n" + load, 1, "Error in LoadData"},
  };
  for (const auto& c : cases) {
    const Session s = play(dir, c.steps, true);
    EXPECT_EQ(s.status, c.status) << c.steps << s.out << s.err;
    EXPECT_NE(s.out.find(c.said), std::string::npos) << c.steps << s.out;
  }
}

TEST(SessionScript, MistakesInTheScriptNameTheLine) {
  TempDir dir;
  const struct {
    std::string script;
    std::string expected;
  } cases[] = {
      {"press LoadDataButton\nfrobnicate\n",
       ":2: cannot read the step \"frobnicate\"; steps are press, set, choose, cancel, answer, "
       "call, window and close"},
      {"press NoSuchTag\n", ":1: the window Tarvolin has no control tagged NoSuchTag"},
      {"press UseCSButton\n", ":1: UseCSButton is disabled"},
      // The switch shows for data with semilandmarks only.
      {"choose " + examplePath("skulls_zor.txt") + "\npress LoadDataButton\npress SlideBox\n",
       ":3: SlideBox is hidden"},
      // With the plot window closed there is nothing to clear.
      {"choose " + examplePath("skulls_zor.txt") +
           "\npress LoadDataButton\nclose plot\n"
           "press ClearPlotButton\n",
       ":4: ClearPlotButton is disabled"},
      {"window Tarvolin2D\n", ":1: the window Tarvolin2D is not open"},
      {"close plot\n", ":1: the window plot is not open"},
      {"call stand3sw 1e400\n", ":1: 1e400 is too large for a number"},
      {"set StandardBox Colour red\n", ":1: cannot set the property Colour of a uicontrol"},
      // Values no click could give.
      {"set LnButton Value 2\n", ":1: LnButton is a switch: its Value is 0 or 1, not 2"},
      {"choose " + examplePath("shells.csv") + "\npress LoadDataButton\nchoose " +
           examplePath("shells_sliders.txt") +
           "\npress LoadSlidersButton\nset SlideCriterion Value 5\n",
       ":5: SlideCriterion has 4 items: its Value is a whole number from 1 to 4, not 5"},
      {"choose " + examplePath("skulls_zor.txt") +
           "\npress LoadDataButton\npress ShapeSpaceButton\nwindow shapespace\n"
           "set ShapeMagnify String -3\n",
       ":5: ShapeMagnify takes a number from 1 to 10, not \"-3\""},
      {"call nosuchfunction\n", ":1: Undefined function or variable \"nosuchfunction\"."},
      {"close Tarvolin\npress LoadDataButton\n# a comment\npress UseCSButton\n",
       ":1: the last window was closed here, so lines 2 to 4 were not run"},
      {"press Open2DButton\nclose Tarvolin2D\nclose Tarvolin\ncancel\n",
       ":3: the last window was closed here, so line 4 was not run"},
  };
  for (const auto& c : cases) {
    const Session s = play(dir, c.script);
    EXPECT_EQ(s.status, 2) << c.script;
    EXPECT_EQ(s.err, "tarvolin-cli: " + dir.file("script.txt") + c.expected + "\n");
  }
  const Session missing = [] {
    std::ostringstream out, err;
    Session s;
    s.status = runsession("/nonexistent/script.txt", TARVOLIN_RESOURCES_DIR, false, out, err);
    s.err = err.str();
    return s;
  }();
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("/nonexistent/script.txt: cannot be opened"), std::string::npos);
}

}  // namespace
}  // namespace tarvolin
