#include "runtime/sessionscript.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <functional>
#include <sstream>
#include <vector>

#include "core/console.h"
#include "core/errors.h"
#include "core/lineendof.h"
#include "core/notenoughmemory.h"
#include "core/readnumber.h"
#include "core/readtextfile.h"
#include "core/sprintf.h"
#include "core/texthelpers.h"
#include "core/withoutbom.h"
#include "document/clickvalue.h"
#include "document/controltags.h"
#include "document/propertynames.h"
#include "runtime/mainLoop.h"
#include "workflows/showallometry.h"

namespace tarvolin {
namespace {

// A step the script runner cannot carry out: the script's own fault.
class ScriptError : public InputError {
 public:
  using InputError::InputError;
};

using Step = SessionScript::Step;

std::vector<Step> readScript(const std::string& path) {
  std::string text;
  std::string reason;
  if (!readtextfile(path, text, reason)) throw InputError(path, "cannot be opened: " + reason);
  std::vector<Step> steps;
  // A script saved by an editor may start with a byte-order mark and end its
  // lines in CRLF or, from an old Macintosh editor, a lone CR.
  std::istringstream lines(std::string(withoutbom(text, path)));
  const char lineEnd = lineendof(text);
  std::string line;
  for (long number = 1; std::getline(lines, line, lineEnd); ++number) {
    const char other = lineEnd == '\n' ? '\r' : '\n';
    if (!line.empty() && line.back() == other) line.pop_back();
    std::replace(line.begin(), line.end(), other, ' ');
    std::istringstream words(line);
    Step step{number, {}, {}};
    for (std::string w; words >> w;) step.words.push_back(w);
    if (step.words.empty() || step.words.front().front() == '#') continue;
    // The value of "set" is the rest of the line as typed, blanks included.
    const size_t skip = step.words.front() == "set" ? 3 : 1;
    size_t pos = 0;
    for (size_t w = 0; w < skip && w < step.words.size(); ++w) {
      pos = line.find(step.words[w], pos) + step.words[w].size();
    }
    step.rest = line.substr(std::min(pos, line.size()));
    step.rest.erase(0, step.rest.find_first_not_of(" \t"));
    steps.push_back(std::move(step));
  }
  return steps;
}

// A word that is one number is a number, any other a text; a number too
// large for a double is neither, and the step is refused.
Value argumentValue(const std::string& word, const std::function<void(const std::string&)>& fail) {
  const NumberText read = readnumber(word);
  if (read.value && word.find(',') == std::string::npos) return Value(*read.value);
  if (read.problem == NumberText::Problem::tooLarge) fail(word + " " + read.problemText());
  return Value(word);
}

}  // namespace

SessionScript::SessionScript(const std::string& script, ScriptedFileDialogs& dialogs, bool strict)
    : script_(script), steps_(readScript(script)), dialogs_(dialogs), strict_(strict) {}

bool SessionScript::next(Runtime& runtime) {
  if (next_ >= steps_.size() || stopped_) return false;
  Graphics& graphics = runtime.graphics();
  const Step& step = steps_[next_++];
  // Every error the step reports counts, whoever reports it: an action, a
  // callback, or the main window function's call by name.
  size_t errors = 0;
  struct Listening {
    Graphics& graphics;
    int id;
    ~Listening() { graphics.unsubscribe(id); }
  } listening{graphics, graphics.subscribe([&errors](const GraphicsChange& change) {
                if (change.kind == GraphicsChange::Kind::error && !change.detail.empty()) ++errors;
              })};
  try {
    perform(runtime, step);
  } catch (const ScriptError&) {
    throw;
  } catch (const std::exception& e) {
    // An error of an action: reported as the window reports it.
    console().disp(errortext(e));
    graphics.setLastError(errortext(e));
  }
  if (errors > 0) {
    failed_ = true;
    if (strict_) stopped_ = true;
  }
  // Closing the last window ends the run: the steps after it would be lost
  // without a word.
  if (!stopped_ && next_ < steps_.size() && graphics.object(kRoot).children.empty()) {
    const long first = steps_[next_].line;
    const long last = steps_.back().line;
    fail(step, "the last window was closed here, so " +
                   (first == last ? "line " + std::to_string(first) + " was"
                                  : "lines " + std::to_string(first) + " to " +
                                        std::to_string(last) + " were") +
                   " not run");
  }
  return !stopped_;
}

void SessionScript::fail(const Step& step, const std::string& what) const {
  throw ScriptError(script_, step.line, what);
}

namespace {

// The report windows a script can address, of the main window addressed
// before: the windows a workflow makes itself, by the name a script gives them: the
// window's tag, and a control of it whose callback names its switchyard.
struct ReportWindow {
  std::string_view name;
  std::string_view tag;
  std::string_view control;
};
constexpr std::array kReports{
    ReportWindow{"allometry", kAllometryWindow, tags::kAllometrySaveButton},
    ReportWindow{"check", tags::kCheckWindow, tags::kCheckSaveButton},
    ReportWindow{"shapespace", tags::kShapeSpaceWindow, tags::kShapeScoresSaveButton},
    ReportWindow{"sliding", tags::kSlidingWindow, tags::kSlidingSpecimen},
};

const ReportWindow* reportnamed(const std::string& name) {
  for (const ReportWindow& report : kReports) {
    if (report.name == name) return &report;
  }
  return nullptr;
}

bool isreport(const std::string& name) { return reportnamed(name) != nullptr; }

// The window a step names: a main window by the figure file it was opened
// from, "plot" the 3D workflow's plot window, "allometry" the allometry
// report and "check" the data check of the main window `owner` (the 3D
// one's unless it is Tarvolin2D).
std::optional<Handle> windowNamed(Runtime& runtime, const std::string& name,
                                  const std::string& owner) {
  if (name == "plot") return runtime.plotWindow();
  if (const ReportWindow* named = reportnamed(name)) {
    const std::string module = owner == tags::k2DWindow ? "standsw(" : "stand3sw(";
    Graphics& graphics = runtime.graphics();
    for (Handle report : graphics.findobj(named->tag)) {
      const std::vector<Handle> save = graphics.findobj(named->control, report);
      if (!save.empty() && graphics.getString(save.front(), "Callback").starts_with(module)) {
        return report;
      }
    }
    return std::nullopt;
  }
  return runtime.windowOf(name);
}

// Why a control cannot take `value` as its Value (`valueSet`) or `typed` as
// its String, as a user could never give it: a list's or menu's item past
// its end, a switch at anything but 0 or 1, a number box's number out of
// its range (a magnification below 1). Nothing when it can.
std::optional<std::string> valuerefused(const GraphicsObject& control, const Value& value,
                                        const std::string& typed, bool valueSet) {
  if (control.type != ObjectType::uicontrol) return std::nullopt;
  // A box for one number: what the user types is its String.
  if (!valueSet) {
    const std::optional<std::pair<double, double>>& range = control.details().numbers;
    if (!range) return std::nullopt;
    const NumberText read = readnumber(typed);
    if (read.value && *read.value >= range->first && *read.value <= range->second) {
      return std::nullopt;
    }
    return sprintf("takes a number from %g to %g, not \"%s\"", range->first, range->second, typed);
  }
  const ControlStyle style = control.details().style;
  const bool switchlike = style == ControlStyle::checkbox || style == ControlStyle::radiobutton;
  const bool list = style == ControlStyle::listbox || style == ControlStyle::popupmenu;
  if (!switchlike && !list) return std::nullopt;
  const double chosen = value.isText() ? std::nan("") : value.scalar();
  if (switchlike) {
    if (chosen == 0 || chosen == 1) return std::nullopt;
    return "is a switch: its Value is 0 or 1, not " + typed;
  }
  const std::string& items = control.details().string;
  const long count =
      items.empty() ? 0 : static_cast<long>(std::count(items.begin(), items.end(), '\n')) + 1;
  // A list may have nothing chosen (0); a menu always shows one item.
  const long lowest = style == ControlStyle::listbox ? 0 : 1;
  if (chosen == std::floor(chosen) && chosen >= static_cast<double>(lowest) &&
      chosen <= static_cast<double>(count)) {
    return std::nullopt;
  }
  return sprintf("has %i item%s: its Value is a whole number from %i to %i, not %s",
                 static_cast<double>(count), count == 1 ? "" : "s", static_cast<double>(lowest),
                 static_cast<double>(count), typed);
}

}  // namespace

Handle SessionScript::control(Runtime& runtime, const Step& step, const std::string& tag) const {
  const std::optional<Handle> window = windowNamed(runtime, window_, reportOwner_);
  if (!window) fail(step, "the window " + window_ + " is not open");
  const std::vector<Handle> found = runtime.graphics().findobj(tag, *window);
  if (found.empty()) fail(step, "the window " + window_ + " has no control tagged " + tag);
  return found.front();
}

void SessionScript::perform(Runtime& runtime, const Step& step) {
  Graphics& graphics = runtime.graphics();
  const std::string& command = step.words.front();
  const size_t count = step.words.size();
  const auto refuse = [&](const std::string& what) { fail(step, what); };
  if (command == "press" && count == 2) {
    const Handle h = control(runtime, step, step.words[1]);
    const GraphicsObject& o = graphics.object(h);
    if (!o.details().enable) fail(step, step.words[1] + " is disabled");
    if (!o.details().visible) fail(step, step.words[1] + " is hidden");
    if (const std::optional<double> value = clickvalue(o)) graphics.setValue(h, *value);
    runtime.runCallback(h);
  } else if (command == "set" && count >= 3) {
    const Handle h = control(runtime, step, step.words[1]);
    const std::string& property = step.words[2];
    const Value value = argumentValue(step.rest, refuse);
    const bool valueSet = lowered(property) == lowered(props::kValue);
    if (valueSet || lowered(property) == lowered(props::kString)) {
      if (const std::optional<std::string> why =
              valuerefused(graphics.object(h), value, step.rest, valueSet)) {
        fail(step, step.words[1] + " " + *why);
      }
    }
    // A property the control does not have is the script's fault.
    try {
      if (value.isText() || property == props::kString || property == lowered(props::kString)) {
        graphics.set(h, property, step.rest);
      } else {
        graphics.set(h, property, value.scalar());
      }
    } catch (const std::exception& e) {
      fail(step, e.what());
    }
  } else if (command == "choose" && !step.rest.empty()) {
    // Relative to where the run started: loads move the working directory.
    // A file to open that is not there is looked for beside the script, so
    // a script and its data run together from wherever they are installed.
    const std::filesystem::path besideScript = (start_ / script_).parent_path() / step.rest;
    dialogs_.choose((start_ / step.rest).lexically_normal().string(),
                    besideScript.lexically_normal().string());
  } else if (command == "cancel" && count == 1) {
    dialogs_.cancel();
  } else if (command == "answer" && count == 2) {
    dialogs_.answerChoice(step.words[1]);
  } else if (command == "call" && count >= 2) {
    Values args;
    for (size_t i = 2; i < count; ++i) args.push_back(argumentValue(step.words[i], refuse));
    // A function that does not exist, or that refuses its arguments, is
    // the script's fault; errors of the actions it runs are reported by
    // the workflow as in the window.
    Values results;
    try {
      results = runtime.call(step.words[1], 0, args);
    } catch (const std::exception& e) {
      fail(step, e.what());
    }
    for (const Value& result : results) console().echo("ans", result.display());
  } else if (command == "window" && count == 2) {
    // The report addressed is that of the main window addressed before.
    if (isreport(step.words[1]) && !isreport(window_)) reportOwner_ = window_;
    window_ = step.words[1];
    if (!windowNamed(runtime, window_, reportOwner_)) {
      fail(step, "the window " + window_ + " is not open");
    }
  } else if (command == "close" && count == 2) {
    // As the user closes a window.
    const std::string& name = step.words[1];
    const std::optional<Handle> window =
        windowNamed(runtime, name, isreport(window_) ? reportOwner_ : window_);
    if (!window) fail(step, "the window " + name + " is not open");
    graphics.close(*window);
  } else {
    fail(step, "cannot read the step \"" + step.words.front() +
                   "\"; steps are press, set, choose, cancel, answer, call, window and close");
  }
}

int runsession(const std::string& script, const std::string& figureFolder, bool strict,
               std::ostream& out, std::ostream& err) {
  struct ConsoleTo {
    Console::Sink previous;
    explicit ConsoleTo(std::ostream& stream)
        : previous(console().setSink([&stream](std::string_view text) { stream << text; })) {}
    ~ConsoleTo() { console().setSink(std::move(previous)); }
  } consoleToOut(out);

  try {
    Graphics graphics;
    ScriptedFileDialogs dialogs;
    graphics.subscribe([](const GraphicsChange& change) {
      if (change.kind == GraphicsChange::Kind::message) console().disp("msgbox: " + change.detail);
    });
    Runtime runtime(graphics, dialogs, figureFolder);
    SessionScript events(script, dialogs, strict);
    const char* const argv[] = {"tarvolin"};
    const int status = mainLoop(runtime, 1, argv, "Tarvolin", 1, main_info(runtime), events);
    out.flush();
    if (status != 0) return status;
    return events.failed() ? 1 : 0;
  } catch (const InputError& e) {
    out.flush();
    err << "tarvolin-cli: " << e.what() << "\n";
    return 2;
  }
}

}  // namespace tarvolin
