#include "runtime/sessionrecorder.h"

#include <filesystem>
#include <functional>
#include <sstream>

#include "document/clickvalue.h"
#include "document/controltags.h"
#include "runtime/runtime.h"
#include "runtime/sessionscript.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

// What the recorder writes for steps taken in the windows: each row a
// session, as the user went through it, and the script's steps.
TEST(SessionRecorder, WritesTheStepsAsTheUserTookThem) {
  using Step = std::function<void(SessionRecorder&, ScriptedFileDialogs&)>;
  auto press = [](std::string window, std::string tag,
                  ControlStyle style = ControlStyle::pushbutton, std::string text = "",
                  std::function<void(SessionRecorder&)> during = {}, double value = 0) {
    return Step([=](SessionRecorder& r, ScriptedFileDialogs&) {
      r.beginStep(window, tag, style, text, value);
      if (during) during(r);
      r.endStep();
    });
  };
  // A step in a report window of main window `owner`.
  auto inReport = [](std::string report, std::string owner, std::string tag,
                     ControlStyle style = ControlStyle::pushbutton, std::string text = "",
                     double value = 0) {
    return Step([=](SessionRecorder& r, ScriptedFileDialogs&) {
      r.beginStep(ScriptWindow{report, owner}, tag, style, text, value);
      r.endStep();
    });
  };
  auto load = [](std::string window, std::optional<std::string> file) {
    return Step([=](SessionRecorder& r, ScriptedFileDialogs& d) {
      file ? d.choose(*file) : d.cancel();
      r.beginStep(window, "LoadDataButton", ControlStyle::pushbutton, "");
      r.getFile(kLandmarkFilter, "Enter file to Load?");
      r.endStep();
    });
  };
  const struct {
    const char* what;
    std::vector<Step> steps;
    std::vector<std::string> recorded;
  } cases[] = {
      {"a file chosen comes before the press that asked for it",
       {load("Tarvolin", "/data/skulls.txt"), press("Tarvolin", "UseCSButton")},
       {"choose /data/skulls.txt", "press LoadDataButton", "press UseCSButton"}},
      {"a cancelled dialog", {load("Tarvolin", std::nullopt)}, {"cancel", "press LoadDataButton"}},
      {"a typed value, a switch",
       {press("Tarvolin", "StandardBox", ControlStyle::edit, "1.6"),
        press("Tarvolin", "CSBox", ControlStyle::checkbox)},
       {"set StandardBox String 1.6", "press CSBox"}},
      {"the item a popup menu chose, set before its press",
       {press("Tarvolin2D", "SlideCriterion", ControlStyle::popupmenu, "", {}, 2),
        press("Tarvolin2D", "SlideBox", ControlStyle::checkbox, "", {}, 1)},
       {"press Open2DButton", "window Tarvolin2D", "set SlideCriterion Value 2",
        "press SlideCriterion", "press SlideBox"}},
      {"the 2D window opened for a file named on the command line",
       {load("Tarvolin2D", "/data/wings.tps"), press("Tarvolin", "ClearButton")},
       {"press Open2DButton", "window Tarvolin2D", "choose /data/wings.tps", "press LoadDataButton",
        "window Tarvolin", "press ClearButton"}},
      {"the 2D window opened by its button",
       {press("Tarvolin", "Open2DButton"), press("Tarvolin2D", "UseCSButton")},
       {"press Open2DButton", "window Tarvolin2D", "press UseCSButton"}},
      {"the plot window changes no result",
       {press("", "ZoomButton"), press("Tarvolin", "ShowDataButton")},
       {"press ShowDataButton"}},
      {"shape space's choosers and shape change, then back in the main window",
       {press("Tarvolin", "ShapeSpaceButton"),
        inReport("shapespace", "Tarvolin", "ShapePCX", ControlStyle::popupmenu, "", 3),
        inReport("shapespace", "Tarvolin", "ShapeMagnify", ControlStyle::edit, "3"),
        inReport("shapespace", "Tarvolin", "ShapeChangeGrid", ControlStyle::checkbox),
        inReport("shapespace", "Tarvolin", "ShapeChangeButton"),
        inReport("shapespace", "Tarvolin", "skull_07"),
        inReport("shapespace", "Tarvolin", "skull 07"), press("Tarvolin", "ShowDataButton")},
       {"press ShapeSpaceButton", "window shapespace", "set ShapePCX Value 3", "press ShapePCX",
        "set ShapeMagnify String 3", "press ShapeMagnify", "press ShapeChangeGrid",
        "press ShapeChangeButton", "press skull_07", "window Tarvolin", "press ShowDataButton"}},
      {"a report of the window not addressed last is addressed through its own",
       {press("Tarvolin2D", "CheckDataButton"), press("Tarvolin", "CheckDataButton"),
        inReport("check", "Tarvolin2D", "CheckTable", ControlStyle::listbox, "", 2),
        inReport("check", "Tarvolin", "CheckTable", ControlStyle::listbox, "", 5),
        inReport("allometry", "Tarvolin", "AllometryMagnify", ControlStyle::edit, "2")},
       {"press Open2DButton", "window Tarvolin2D", "press CheckDataButton", "window Tarvolin",
        "press CheckDataButton", "window Tarvolin2D", "window check", "set CheckTable Value 2",
        "press CheckTable", "window Tarvolin", "window check", "set CheckTable Value 5",
        "press CheckTable", "window allometry", "set AllometryMagnify String 2",
        "press AllometryMagnify"}},
      {"a step within a step is part of it",
       {press("Tarvolin", "LoadXButton", ControlStyle::pushbutton, "",
              [&](SessionRecorder& r) {
                r.beginStep("Tarvolin", "XVarBox", ControlStyle::text, "");
                r.endStep();
              })},
       {"press LoadXButton"}},
  };
  for (const auto& c : cases) {
    ScriptedFileDialogs dialogs;
    SessionRecorder recorder(dialogs);
    for (const Step& step : c.steps) step(recorder, dialogs);
    EXPECT_EQ(recorder.steps(), c.recorded) << c.what;
    std::string script;
    for (const std::string& s : c.recorded) script += s + "\n";
    EXPECT_TRUE(recorder.script().ends_with(script)) << c.what;
  }
}

// A question's answer is recorded; a cancelled question leaves no step, as
// a script without an answer cancels it.
TEST(SessionRecorder, RecordsTheAnswersToQuestions) {
  const std::vector<DialogChoice> choices = {{"estimate", "Estimate"}};
  for (const bool answered : {true, false}) {
    ScriptedFileDialogs dialogs;
    if (answered) dialogs.answerChoice("estimate");
    dialogs.choose("/data/missing.csv");
    SessionRecorder recorder(dialogs);
    recorder.beginStep("Tarvolin", "LoadDataButton", ControlStyle::pushbutton, "");
    recorder.getFile(kLandmarkFilter, "Enter file to Load?");
    EXPECT_EQ(recorder.askChoice("Missing landmarks", "", "", choices),
              answered ? std::optional<std::string>("estimate") : std::nullopt);
    recorder.endStep();
    std::vector<std::string> expected = {"choose /data/missing.csv"};
    if (answered) expected.push_back("answer estimate");
    expected.push_back("press LoadDataButton");
    EXPECT_EQ(recorder.steps(), expected);
  }
}

// A figure made in the report windows replays: the script recorded while
// shape space showed the standardized data and the check chose a row runs
// without a refusal and saves the same scores.
TEST(SessionRecorder, StepsInTheReportWindowsReplay) {
  testing::CwdGuard cwd;
  testing::TempDir dir;
  Graphics graphics;
  ScriptedFileDialogs dialogs;
  Runtime runtime(graphics, dialogs, TARVOLIN_RESOURCES_DIR);
  runtime.startup();
  const Handle main(runtime.call("Tarvolin", 1, {})[0].scalar());
  auto in = [&](std::string_view window, std::string_view tag) {
    const Handle w = window == "main" ? main : graphics.findobj(window).front();
    return graphics.findobj(tag, w).front();
  };
  // As the window does: the click's value, then the callback.
  auto click = [&](Handle h, std::optional<double> value = {}, std::string text = {}) {
    if (value) graphics.setValue(h, *value);
    if (!text.empty()) graphics.setString(h, text);
    if (const std::optional<double> v = clickvalue(graphics.object(h))) graphics.setValue(h, *v);
    runtime.runCallback(h);
  };
  dialogs.choose(testing::examplePath("skulls.tps"));
  click(in("main", "LoadDataButton"));
  for (const char* tag : {"UseCSButton", "LnButton", "GoRegress", "AcceptStandard",
                          "CheckDataButton", "ShapeSpaceButton"}) {
    click(in("main", tag));
  }
  click(in(tags::kCheckWindow, tags::kCheckTable), 2);
  click(in(tags::kShapeSpaceWindow, tags::kShapeOfStandardized));
  click(in(tags::kShapeSpaceWindow, tags::kShapePCY), 3);
  click(in(tags::kShapeSpaceWindow, tags::kShapeMagnify), {}, "3");
  click(in(tags::kShapeSpaceWindow, tags::kShapeChangeButton));
  dialogs.choose(dir.file("scores.csv"));
  click(in(tags::kShapeSpaceWindow, tags::kShapeScoresSaveButton));
  ASSERT_EQ(graphics.lastError(), "");
  const std::string scores = testing::readText(dir.file("scores.csv"));
  std::filesystem::remove(dir.file("scores.csv"));

  const std::string script = runtime.recorder().script();
  for (const char* step :
       {"\nwindow check\nset CheckTable Value 2\npress CheckTable\n",
        "\nwindow shapespace\npress ShapeOfStandardized\nset ShapePCY Value 3\npress ShapePCY\n"
        "set ShapeMagnify String 3\npress ShapeMagnify\npress ShapeChangeButton\n"}) {
    EXPECT_NE(script.find(step), std::string::npos) << script;
  }
  testing::writeText(dir.file("script.txt"), script);
  std::ostringstream out, err;
  EXPECT_EQ(runsession(dir.file("script.txt"), TARVOLIN_RESOURCES_DIR, true, out, err), 0)
      << err.str() << out.str();
  // The scores of the standardized data, as they were saved in the window.
  EXPECT_EQ(testing::readText(dir.file("scores.csv")), scores);
}

}  // namespace
}  // namespace tarvolin
