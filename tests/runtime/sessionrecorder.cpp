#include "runtime/sessionrecorder.h"

#include <functional>

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
      {"the plot and report windows change no result",
       {press("", "AllometryCopyButton"), press("Tarvolin", "ShowDataButton")},
       {"press ShowDataButton"}},
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

}  // namespace
}  // namespace tarvolin
