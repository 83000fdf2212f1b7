#include "runtime/sessionrecorder.h"

#include <filesystem>
#include <utility>

#include "document/controltags.h"

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

void SessionRecorder::answered(std::string step) {
  if (depth_ > 0 && !step_.empty()) answers_.push_back(std::move(step));
}

void SessionRecorder::beginStep(const std::string& window, const std::string& tag,
                                ControlStyle style, const std::string& text, double value) {
  if (depth_++ > 0) return;
  answers_.clear();
  step_.clear();
  chosen_.clear();
  if (window.empty() || tag.empty()) return;
  if (window != window_) {
    // The 2D window of a script is opened by its button; one opened for a
    // file named on the command line was not.
    if (window == tags::k2DWindow && !opened2D_) {
      if (window_ != tags::kMainWindow) steps_.push_back("window Tarvolin");
      steps_.push_back("press Open2DButton");
      opened2D_ = true;
    }
    steps_.push_back("window " + window);
    window_ = window;
  }
  if (window == tags::kMainWindow && tag == tags::kOpen2DButton) opened2D_ = true;
  step_ = style == ControlStyle::edit ? "set " + tag + " String " + text : "press " + tag;
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
}

std::string SessionRecorder::script() const {
  std::string text =
      "# A Tarvolin session, recorded in the window. Replay it with\n"
      "#   tarvolin-cli run SCRIPT    or    tarvolin --run SCRIPT\n";
  for (const std::string& step : steps_) text += step + "\n";
  return text;
}

}  // namespace tarvolin
