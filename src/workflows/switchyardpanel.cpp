#include "workflows/switchyardpanel.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <utility>

#include "core/console.h"
#include "core/errors.h"
#include "core/notenoughmemory.h"
#include "core/readnumber.h"
#include "core/sprintf.h"
#include "core/texthelpers.h"
#include "core/writefileatomic.h"
#include "document/controltags.h"
#include "formats/readgroups.h"
#include "formats/standardizedtext.h"
#include "numerics/median.h"
#include "numerics/standardvalueoutside.h"
#include "numerics/untransformx.h"
#include "workflows/loadxlist.h"
#include "workflows/showallometry.h"

namespace tarvolin {
namespace {

constexpr std::string_view kStatisticBoxes[] = {tags::kMinBox, tags::kMaxBox, tags::kMeanBox,
                                                tags::kMedianBox};

const char* transformName(Transform lcode) {
  switch (lcode) {
    case Transform::ln:
      return "ln x";
    case Transform::log10:
      return "log10 x";
    case Transform::none:
      break;
  }
  return "x";
}

// The transform as the allometry files record it.
const char* transformWord(std::optional<Transform> lcode) {
  switch (lcode.value_or(Transform::none)) {
    case Transform::ln:
      return "ln";
    case Transform::log10:
      return "log10";
    case Transform::none:
      break;
  }
  return "none";
}

std::string trimmed(const std::string& text) {
  return std::string(::tarvolin::trimmed(text, " \t\r\n"));
}

}  // namespace

void requiredata(const Eigen::MatrixXd& data) {
  if (data.size() == 0) throw MissingError("no data set is loaded; load one first");
}

void requirexvariable(const Eigen::VectorXd& fxlist) {
  if (fxlist.size() == 0) {
    throw MissingError(
        "no x-variable has been chosen for this data set; use centroid size or load an x list, "
        "then choose x, ln x or log10 x");
  }
}

std::string xvariablename(const std::string& source, Transform lcode) {
  switch (lcode) {
    case Transform::ln:
      return "ln of " + source;
    case Transform::log10:
      return "log10 of " + source;
    case Transform::none:
      break;
  }
  return source;
}

void SwitchyardPanel::run(std::string_view action, const std::function<void()>& body) {
  if (!graphics_.lastError().empty()) graphics_.setLastError("");
  std::optional<GraphicsChange> said;
  const int listening = graphics_.subscribe([&said](const GraphicsChange& c) {
    if (c.kind == GraphicsChange::Kind::status) said = c;
  });
  try {
    body();
  } catch (const std::exception& e) {
    const std::string text = "Error in " + std::string(action) + ": " + errortext(e);
    console().disp(text);
    graphics_.setLastError(text);
  }
  graphics_.unsubscribe(listening);
  if (said) keepOutOfLineNote(*said);
}

std::optional<Handle> SwitchyardPanel::ownWindow() const {
  if (!locator_) return std::nullopt;
  const std::optional<Handle> window = locator_();
  if (!window) throw MissingError("the window " + windowName_ + " is not open");
  return window;
}

bool SwitchyardPanel::enterOwnWindow() {
  const std::optional<Handle> window = ownWindow();
  if (!window) return false;
  const ObjectId now = graphics_.id(*window);
  const bool changed = lastWindow_ && *lastWindow_ != now;
  lastWindow_ = now;
  // The switchyard starts afresh: the check was of the data it forgets.
  if (changed) {
    check_.reset();
    shape_.reset();
    outOfLineNote_.clear();
    outOfLineCount_.clear();
  }
  return changed;
}

void SwitchyardPanel::makeOwnWindowCurrent() {
  if (const std::optional<Handle> window = ownWindow()) graphics_.figure(*window);
}

Handle SwitchyardPanel::control(std::string_view tag) const {
  const std::optional<Handle> window = ownWindow();
  const std::vector<Handle> found = graphics_.findobj(tag, window.value_or(kRoot));
  if (found.empty()) throw GraphicsError("the window has no control tagged " + std::string(tag));
  return found.front();
}

std::string SwitchyardPanel::text(std::string_view tag) const {
  return graphics_.getString(control(tag), "String");
}

double SwitchyardPanel::value(std::string_view tag) const {
  return graphics_.getNumber(control(tag), "Value");
}

void SwitchyardPanel::setString(std::string_view tag, std::string text) {
  graphics_.setString(control(tag), std::move(text));
}

void SwitchyardPanel::setValue(std::string_view tag, double value) {
  graphics_.setValue(control(tag), value);
}

void SwitchyardPanel::setEnable(std::string_view tag, bool on) {
  graphics_.setEnable(control(tag), on);
}

void SwitchyardPanel::setVisible(std::string_view tag, bool on) {
  graphics_.setVisible(control(tag), on);
}

void SwitchyardPanel::showSliding(bool shown, std::optional<SlideMethod> by) {
  setValue(tags::kSlideBox, by ? 1 : 0);
  // The items of the chooser, in order: each criterion in the default
  // order, then each in the refit order.
  if (by) {
    setValue(tags::kSlideCriterion, (by->criterion == SlideCriterion::procrustesDistance ? 2 : 1) +
                                        (by->order == SlideOrder::refit ? 2 : 0));
  }
  setVisible(tags::kSlideBox, shown);
  setVisible(tags::kSlideCriterion, shown);
  setVisible(tags::kShowSlidingButton, shown);
  setEnable(tags::kShowSlidingButton, shown && by);
}

std::optional<SlideMethod> SwitchyardPanel::slidingChosen() const {
  if (value(tags::kSlideBox) == 0) return std::nullopt;
  const double item = value(tags::kSlideCriterion);
  return SlideMethod{
      item == 2 || item == 4 ? SlideCriterion::procrustesDistance : SlideCriterion::bendingEnergy,
      item >= 3 ? SlideOrder::refit : SlideOrder::reference};
}

StandardizedAt SwitchyardPanel::standardValue(Transform lcode) const {
  const std::string typed = trimmed(text(tags::kStandardBox));
  const NumberText read = readnumber(typed);
  if (!read.value) {
    throw InputError("the standard value \"" + typed + "\" " + read.problemText())
        .concerning(Input::standardValue);
  }
  return {typed, *read.value, lcode};
}

void SwitchyardPanel::reportLoaded(Eigen::Index specimens, Eigen::Index landmarks,
                                   const std::string& file, const std::string& missingDone,
                                   const std::string& notice,
                                   const std::vector<std::string>& notes) {
  std::string text =
      sprintf("Loaded %i specimens with %i landmarks from %s", specimens, landmarks, file);
  if (!loadNote_.empty()) text += "; " + std::exchange(loadNote_, {});
  if (!missingDone.empty()) text += "; " + missingDone;
  for (const std::string& note : notes) {
    console().disp(note);
    text += "; " + note;
  }
  if (!notice.empty()) {
    console().disp(file + ": " + notice);
    text += "; " + notice;
  }
  graphics_.status(text);
}

void SwitchyardPanel::reportSuperimposed(const std::string& done) {
  graphics_.status(loadNote_.empty() ? done : done + "; " + std::exchange(loadNote_, {}));
}

void SwitchyardPanel::reportCentroidSize(Eigen::Index specimens) {
  graphics_.status(sprintf(
      "x is the centroid size of the %i specimens; choose x, ln x or log10 x next", specimens));
}

std::string SwitchyardPanel::standardizedText(const StandardizedAt& at) {
  return std::string(transformName(at.lcode)) + " = " + at.text;
}

void SwitchyardPanel::reportStandardized(Eigen::Index specimens, const StandardizedAt& at,
                                         const Eigen::VectorXd& fxlist) {
  const std::string done =
      sprintf("Standardized %i specimens to %s", specimens, standardizedText(at));
  const std::optional<std::string> outside =
      standardvalueoutside(at.text, at.value, fxlist, at.lcode);
  if (!outside) {
    graphics_.status(done);
    return;
  }
  console().disp("Warning: " + *outside);
  graphics_.status(done + "; " + *outside);
}

void SwitchyardPanel::acceptX() {
  setEnable(tags::kAcceptStandard, true);
  setEnable(tags::kAllometryButton, true);
  graphics_.status("x accepted: type the standard value and click Standardize");
}

std::optional<XList> SwitchyardPanel::loadXList(Eigen::Index specimens) {
  LoadedMatrix read = readinginput(Input::x, [this] { return loadxlist(dialogs_); });
  if (!read.chosen) return std::nullopt;
  const Eigen::Index values = read.y.rows();
  setString(tags::kXVarBox, sprintf("File %s \n %4.0f listed x values", read.fn, values));
  // Lines after a blank one are not read: said beside the count, which
  // they explain when it falls short.
  const std::string notice = read.notice.empty() ? "" : "; " + read.notice;
  if (!read.notice.empty()) console().disp(read.fn + ": " + read.notice);
  if (values != specimens) {
    graphics_.msgbox(
        "The number of values in the x-list does not match the data set, please reload");
    if (!notice.empty())
      graphics_.status(sprintf("Loaded %i x values from %s", values, read.fn) + notice);
  } else {
    graphics_.status(
        sprintf("Loaded %i x values from %s; choose x, ln x or log10 x next", values, read.fn) +
        notice);
  }
  return XList{std::move(read.y), read.fn};
}

std::optional<SpecimenGroups> SwitchyardPanel::loadGroups(const std::vector<std::string>& ids) {
  const std::optional<FileChoice> choice =
      dialogs_.getFile("*.txt;*.csv;*.tsv", "Load the specimens' groups");
  if (!choice) return std::nullopt;
  // The extension in any letter case, whatever the locale.
  std::string extension = std::filesystem::path(choice->name).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  const bool table = extension == ".csv" || extension == ".tsv";
  SpecimenGroups groups = readinginput(
      Input::groups, [&] { return readgroups(choice->path() + (table ? ":group" : ""), ids); });
  graphics_.status(sprintf("Loaded %i %s for %i specimens from %s", groups.names.size(),
                           groups.names.size() == 1 ? "group" : "groups", groups.of.size(),
                           choice->name));
  return groups;
}

Eigen::VectorXd SwitchyardPanel::showTransform(const Eigen::VectorXd& xlist, Transform lcode,
                                               std::optional<Transform> inForce) {
  Eigen::VectorXd fx;
  try {
    if (xlist.size() == 0) {
      throw MissingError(
          "no x-variable has been chosen; use centroid size or load an x list first");
    }
    fx = transformx(xlist, lcode, "");
  } catch (...) {
    showTransformButtons(inForce);
    throw;
  }
  const double statistics[] = {fx.minCoeff(), fx.maxCoeff(), fx.mean(), median(fx)};
  writeStatistics(statistics, statistics[0], true);
  showTransformButtons(lcode);
  setEnable(tags::kGoRegress, true);
  graphics_.status(
      sprintf("%s runs from %4.4f to %4.4f; the standard value proposed is its minimum",
              transformName(lcode), statistics[0], statistics[1]));
  return fx;
}

void SwitchyardPanel::writeStatistics(const double (&statistics)[4], double proposed, bool echo) {
  for (int i = 0; i < 4; ++i) {
    const Handle h = control(kStatisticBoxes[i]);
    if (echo) console().echo("h", h.value());
    graphics_.setString(h, sprintf("%4.4f", statistics[i]));
  }
  setString(tags::kStandardBox, sprintf("%4.4f", proposed));
}

void SwitchyardPanel::showTransformButtons(std::optional<Transform> lcode) {
  setValue(tags::kXButton, lcode == Transform::none ? 1 : 0);
  setValue(tags::kLnButton, lcode == Transform::ln ? 1 : 0);
  setValue(tags::kLogButton, lcode == Transform::log10 ? 1 : 0);
}

void SwitchyardPanel::resetControls() {
  setString(tags::kFileBox, "No Data Loaded");
  setString(tags::kXVarBox, "");
  writeStatistics({0, 0, 0, 0}, 0, true);
  showTransformButtons(std::nullopt);
  for (const std::string_view tag :
       {tags::kAcceptStandard, tags::kAllometryButton, tags::kSaveStandard, tags::kShowStandard,
        tags::kGoRegress, tags::kUseCSButton, tags::kLoadXButton, tags::kLoadGroupsButton,
        tags::kLoadSlidersButton, tags::kCheckDataButton, tags::kShapeSpaceButton}) {
    setEnable(tag, false);
  }
  showSliding(false, std::nullopt);
  // Nothing slid any more: the sliding window would show what is gone.
  closeSliding();
  check_.reset();
  shape_.reset();
  loadNote_.clear();
  outOfLineNote_.clear();
  outOfLineCount_.clear();
}

void SwitchyardPanel::resetLaterSteps() {
  // The x list was read for the earlier data set; its summary would name a
  // list the new one does not use.
  setString(tags::kXVarBox, "");
  resetXChoice();
  // The check and the shape space were of the earlier data: their rows and
  // scores stand for other specimens, or for other coordinates of the same.
  check_.reset();
  shape_.reset();
  loadNote_.clear();
  outOfLineNote_.clear();
  outOfLineCount_.clear();
}

void SwitchyardPanel::resetXChoice() {
  writeStatistics({0, 0, 0, 0}, 0, false);
  showTransformButtons(std::nullopt);
  for (const std::string_view tag :
       {tags::kGoRegress, tags::kAcceptStandard, tags::kAllometryButton, tags::kSaveStandard,
        tags::kShowStandard}) {
    setEnable(tag, false);
  }
}

void SwitchyardPanel::saveStandardized(const Eigen::MatrixXd& sdata,
                                       const std::optional<StandardizedAt>& at) {
  const double newcs = value(tags::kCSBox);
  console().echo("newcs", newcs);
  if (sdata.size() == 0 || !at) {
    throw MissingError("there is no standardized data to save; standardize first");
  }
  // The file must say what it holds: a value typed after the standardization
  // would label coordinates that were standardized to another one.
  const std::string typed = trimmed(text(tags::kStandardBox));
  if (readnumber(typed).value != at->value) {
    throw InputError("the standard value was changed to " + (typed.empty() ? "\"\"" : typed) +
                     " after Standardize used " + at->text + "; click Standardize again")
        .concerning(Input::standardValue);
  }
  std::optional<double> lastValue;
  if (newcs == 0) {
    lastValue = untransformx(at->value, at->lcode);
    if (!std::isfinite(*lastValue)) {
      throw InputError("the standard value " + at->text + " is too large to write on the raw scale")
          .concerning(Input::standardValue);
    }
  }
  const std::optional<FileChoice> choice =
      dialogs_.putFile("*.*", "File Name for Standardized Data");
  if (!choice) return;
  writefileatomic(choice->path(),
                  [&](const TextSink& write) { standardizedtext(sdata, lastValue, write); });
  graphics_.status(sprintf("Saved %i specimens to %s", sdata.rows(), choice->path()));
}

void SwitchyardPanel::showAllometry(const AnalysisSession& session, const std::string& datafile,
                                    std::string_view superimposition, std::string_view module) {
  const Eigen::MatrixXd& data = session.data();
  requiredata(data);
  requirexvariable(session.fx());
  const std::string file = std::filesystem::path(datafile).filename().string();
  graphics_.status(sprintf("Computing the allometry of %i specimens ...", data.rows()));
  AllometryReport report =
      session.allometry({session.xSource(), transformWord(session.transformInForce())}, file,
                        superimposition, AllometryAsked{});
  clearReportLine(allometryWindow_);
  allometryWindow_ = showallometry(graphics_, report, allometryWindow_, module);
  console().disp(report.text);
  const AnovaTerm& size = report.anova.terms.front();
  graphics_.status(
      sprintf("Allometry of %i specimens: size explains %.1f%% of the shape variation (p = %g)",
              data.rows(), 100 * size.rsq, size.p));
  allometry_ = std::move(report);
}

void SwitchyardPanel::clearReportLine(const std::optional<ObjectId>& window) {
  if (window && graphics_.exists(*window)) graphics_.status(window->handle, "");
}

void SwitchyardPanel::copyAllometry() {
  if (!allometry_)
    throw MissingError("there is no allometry report to copy; click Allometry first");
  graphics_.copyText(allometry_->text);
  graphics_.status("The allometry report is on the clipboard");
}

void SwitchyardPanel::saveAllometry() {
  if (!allometry_) throw MissingError("there is no allometry table to save; click Allometry first");
  const std::optional<FileChoice> choice =
      dialogs_.putFile("*.csv", "File Name for the Allometry Table");
  if (!choice) return;
  writefileatomic(choice->path(), allometry_->csv);
  graphics_.status("Saved the allometry table to " + choice->path());
}

}  // namespace tarvolin
