#include "runtime/sessionrecorder.h"

#include <filesystem>
#include <utility>

#include "document/controltags.h"
#include "document/openfig.h"

namespace tarvolin {

std::optional<FileChoice> SessionRecorder::getFile(std::string_view filter,
                                                   std::string_view title) {
  std::optional<FileChoice> choice = dialogs_.getFile(filter, title);
  answered(choice ? "choose " + choice->path() : "cancel");
  return choice;
}

std::optional<FileChoice> SessionRecorder::putFile(std::string_view filter,
                                                   std::string_view title) {
  std::optional<FileChoice> choice = dialogs_.putFile(filter, title);
  answered(choice ? "choose " + choice->path() : "cancel");
  return choice;
}

std::optional<std::string> SessionRecorder::askChoice(std::string_view title, std::string_view text,
                                                      std::string_view details,
                                                      const std::vector<DialogChoice>& choices) {
  std::optional<std::string> answer = dialogs_.askChoice(title, text, details, choices);
  // A question left unanswered in a script is cancelled, as here.
  if (answer) answered("answer " + *answer);
  return answer;
}

namespace {

// The report windows by the tag of their window.
struct ReportName {
  std::string_view tag;
  std::string_view name;
};
constexpr ReportName kReportNames[] = {
    {tags::kCheckWindow, "check"},
    {tags::kShapeSpaceWindow, "shapespace"},
    {tags::kSlidingWindow, "sliding"},
    {tags::kAllometryWindow, "allometry"},
};

}  // namespace

ScriptWindow scriptwindowof(const Graphics& graphics, Handle control) {
  const std::optional<Handle> window = graphics.parentFigure(control);
  if (!window) return {};
  for (std::string_view base : {tags::kMainWindow, tags::k2DWindow}) {
    const std::vector<Handle> open = openfigWindows(graphics, base);
    if (!open.empty() && open.back() == *window) return {std::string(base), {}};
  }
  const std::string& tag = graphics.object(*window).tag;
  for (const ReportName& report : kReportNames) {
    if (tag != report.tag) continue;
    // Its controls call the switchyard of the workflow that made it.
    for (Handle h : graphics.descendants(*window, ObjectType::uicontrol)) {
      const std::string callback = graphics.getString(h, "Callback");
      if (callback.starts_with("standsw(")) return {std::string(report.name), std::string(tags::k2DWindow)};
      if (callback.starts_with("stand3sw(")) return {std::string(report.name), std::string(tags::kMainWindow)};
    }
  }
  return {};
}

void SessionRecorder::answered(std::string step) {
  if (depth_ > 0 && !step_.empty()) answers_.push_back(std::move(step));
}

void SessionRecorder::address(const ScriptWindow& window) {
  const std::string& main = window.owner.empty() ? window.name : window.owner;
  if (main != main_ || (window.owner.empty() && window_ != main)) {
    // The 2D window of a script is opened by its button; one opened for a
    // file named on the command line was not.
    if (main == tags::k2DWindow && !opened2D_) {
      if (window_ != tags::kMainWindow) steps_.push_back("window Tarvolin");
      steps_.push_back("press Open2DButton");
      opened2D_ = true;
    }
    steps_.push_back("window " + main);
    window_ = main_ = main;
  }
  // A script's report window is that of the main window addressed before it.
  if (window_ != window.name) {
    steps_.push_back("window " + window.name);
    window_ = window.name;
  }
}

void SessionRecorder::beginStep(const ScriptWindow& window, const std::string& tag,
                                ControlStyle style, const std::string& text, double value) {
  if (depth_++ > 0) return;
  answers_.clear();
  step_.clear();
  chosen_.clear();
  pressed_.clear();
  // A specimen clicked is pressed by its ID; one with a blank in it cannot
  // be written as a step.
  if (window.name.empty() || tag.empty() || tag.find_first_of(" \t") != std::string::npos) return;
  address(window);
  if (window.name == tags::kMainWindow && tag == tags::kOpen2DButton) opened2D_ = true;
  step_ = style == ControlStyle::edit ? "set " + tag + " String " + text : "press " + tag;
  // A report window redraws when a box of it is typed in: the script
  // presses the box after setting it, as the window ran its callback.
  if (style == ControlStyle::edit && !window.owner.empty()) pressed_ = "press " + tag;
  // A press leaves the item chosen as it is: the script sets it first.
  if (style == ControlStyle::popupmenu || style == ControlStyle::listbox) {
    chosen_ = "set " + tag + " Value " + std::to_string(static_cast<long long>(value));
  }
}

void SessionRecorder::endStep() {
  if (depth_ == 0 || --depth_ > 0) return;
  if (step_.empty()) return;
  for (std::string& answer : answers_) steps_.push_back(std::move(answer));
  answers_.clear();
  if (!chosen_.empty()) steps_.push_back(std::exchange(chosen_, {}));
  steps_.push_back(std::move(step_));
  step_.clear();
  if (!pressed_.empty()) steps_.push_back(std::exchange(pressed_, {}));
}

std::string SessionRecorder::script() const {
  std::string text =
      "# A Tarvolin session, recorded in the window. Replay it with\n"
      "#   tarvolin-cli run SCRIPT    or    tarvolin --run SCRIPT\n";
  for (const std::string& step : steps_) text += step + "\n";
  return text;
}

}  // namespace tarvolin
