#include "workflows/stand3sw.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <utility>

#include "core/console.h"
#include "core/errors.h"
#include "core/sprintf.h"
#include "document/cla.h"
#include "document/clf.h"
#include "document/controltags.h"
#include "document/misfittingwire.h"
#include "document/showchosen.h"
#include "document/showcurves.h"
#include "document/showshape3D.h"
#include "document/wireshape3D.h"
#include "numerics/getpprocon3.h"
#include "numerics/reversiblecurves.h"
#include "plotting/showshapechange.h"
#include "workflows/loadlandmarkfile.h"
#include "workflows/mfloadtxt.h"
#include "workflows/readlandmarkfileagain.h"
#include "workflows/switchyardsteps.h"

namespace tarvolin {
namespace {

// The plot window's title bar, followed by the data file's name while it
// shows a data set.
constexpr std::string_view kPlotWindowName = "Tarvolin 3D plot";

// The points of row i of a 3D landmark data set, X, Y and Z apart.
void rowPoints(const Eigen::MatrixXd& data, Eigen::Index i, Eigen::RowVectorXd& x,
               Eigen::RowVectorXd& y, Eigen::RowVectorXd& z) {
  const Eigen::Index k = (data.cols() - 1) / 3;
  x.resize(k);
  y.resize(k);
  z.resize(k);
  for (Eigen::Index j = 0; j < k; ++j) {
    x(j) = data(i, 3 * j);
    y(j) = data(i, 3 * j + 1);
    z(j) = data(i, 3 * j + 2);
  }
}

}  // namespace

const std::array<SwitchyardAction<Stand3sw>, 34> Stand3sw::kActions = {{
    {"LoadData", &Stand3sw::loadData},
    {"LoadWire", &Stand3sw::loadWire},
    {"Regress", &Stand3sw::regress},
    {"UseCS", &Stand3sw::useCS},
    {"ShowData", &Stand3sw::showData},
    {"LoadxList", &Stand3sw::loadXList},
    {"UseX", &Stand3sw::useX},
    {"UseLn", &Stand3sw::useLn},
    {"UseLog", &Stand3sw::useLog},
    {"Acceptx", &Stand3sw::acceptX},
    {"SaveFile", &Stand3sw::saveFile},
    {"Clear", &Stand3sw::clear},
    {"ShowRegress", &Stand3sw::showRegress},
    {"ClearFigure", &Stand3sw::clearFigure},
    {"CopyImage", &Stand3sw::copyImage},
    {"Allometry", &Stand3sw::allometry},
    {"AllometryCopy", &Stand3sw::allometryCopy},
    {"AllometrySave", &Stand3sw::allometrySave},
    {"LoadGroups", &Stand3sw::loadGroups},
    {"CheckData", &Stand3sw::checkData},
    {"CheckCopy", &Stand3sw::checkCopy},
    {"CheckSave", &Stand3sw::checkSave},
    {"CheckSelect", &Stand3sw::checkSelect},
    {"ShapeSpace", &Stand3sw::shapeSpace},
    {"ShapeSpaceRedraw", &Stand3sw::shapeSpaceRedraw},
    {"ShapeSpaceSelect", &Stand3sw::shapeSpaceSelect},
    {"ShapeChange", &Stand3sw::shapeChange},
    {"ShapeScoresSave", &Stand3sw::shapeScoresSave},
    {"AllometryChange", &Stand3sw::allometryChange},
    {"LoadSliders", &Stand3sw::loadSliders},
    {"Slide", &Stand3sw::slide},
    {"SlideCriterion", &Stand3sw::slideCriterion},
    {"ShowSliding", &Stand3sw::showSliding},
    {"SlidingSpecimen", &Stand3sw::slidingSpecimen},
}};

Stand3sw::Stand3sw(Graphics& graphics, FileDialogs& dialogs)
    : graphics_(graphics), dialogs_(dialogs), panel_(graphics, dialogs) {
  subscription_ = graphics_.subscribe([this](const GraphicsChange& change) {
    if (change.kind == GraphicsChange::Kind::deleted && state_.fighand1 &&
        change.handle == state_.fighand1->handle && !graphics_.exists(*state_.fighand1)) {
      plotWindowGone();
    }
  });
}

Stand3sw::~Stand3sw() { graphics_.unsubscribe(subscription_); }

void Stand3sw::operator()(std::string_view action) {
  panel_.run(action, [&] {
    const SwitchyardAction<Stand3sw>* entry = findnamedaction(kActions, action);
    if (!entry) {
      graphics_.msgbox("Fell Through case in switchyard");
      return;
    }
    if (panel_.enterOwnWindow()) startAfresh();
    (this->*entry->run)();
  });
}

void Stand3sw::startAfresh() {
  session_.clear();
  State fresh;
  fresh.fighand1 = state_.fighand1;
  fresh.wireactive = state_.wireactive;
  fresh.wirelist = std::move(state_.wirelist);
  fresh.wirefile = std::move(state_.wirefile);
  fresh.wireLandmarks = state_.wireLandmarks;
  state_ = std::move(fresh);
}

bool Stand3sw::plotWindowOpen() const {
  return state_.fighand1 && graphics_.exists(*state_.fighand1);
}

void Stand3sw::selectPlotWindow() {
  if (plotWindowOpen()) {
    graphics_.figure(state_.fighand1->handle);
  } else {
    state_.fighand1 = graphics_.id(graphics_.figure());
  }
}

template <typename Step>
void Stand3sw::inPlotWindow(std::string_view what, Step step) {
  const std::optional<Handle> remembered = graphics_.currentFigure();
  if (!plotWindowOpen()) {
    throw MissingError("the plot window is closed; there is nothing to " + std::string(what));
  }
  graphics_.figure(state_.fighand1->handle);
  step();
  if (remembered && graphics_.isValid(*remembered)) graphics_.figure(*remembered);
}

void Stand3sw::dropWireframe() {
  state_.wireactive = 0;
  state_.wirelist.resize(0, 0);
  state_.wirefile.clear();
  state_.wireLandmarks.reset();
}

bool Stand3sw::wireframeOn() const { return state_.wireactive && *state_.wireactive != 0; }

void Stand3sw::loadData() {
  const double zor = panel_.value("ZORButton");
  LandmarkFile file;
  if (zor == 0) {
    console().echo("stemp", "using ZOR format");
    file = readinginput(Input::data, [this] { return loadlandmarkfile(dialogs_, false); });
  } else {
    file = readinginput(Input::data, [this] { return loadlandmarkfile(dialogs_, true); });
  }
  if (!file.chosen) return;

  const std::string summary =
      sprintf("%s \nhas %i specimens \nwith %i landmarks", file.fname, file.data.rows(),
              static_cast<double>(file.data.cols() - 1) / 3.0);
  graphics_.status(sprintf("Superimposing %i specimens from %s ...", file.data.rows(), file.fname));
  Semilandmarks semilandmarks;
  {
    LandmarkSet shape;
    shape.coords.resize(0, file.data.cols() - 1);
    shape.semilandmark = std::move(file.semilandmark);
    shape.curves = std::move(file.curves);
    shape.path = file.path;
    semilandmarks.reset(shape, file.landmarksRenumbered);
  }
  std::vector<std::string> ids = std::move(file.ids);
  // The TPS-style reader gives no IDs: the specimens are numbered, as ZOR rows are.
  if (ids.empty()) {
    for (Eigen::Index i = 1; i <= file.data.rows(); ++i) ids.push_back(std::to_string(i));
  }
  // A new data set forgets the groups, the x-variable and the
  // standardization of the earlier one: regressing these data on its sizes,
  // or saving its result under this name, would be wrong without a word.
  // A file whose points lie on curves slides them from the start, as the
  // command line does; the rows as read are kept for the switch to go back
  // to the plain fit.
  GpaRounds rounds;
  std::optional<SlideMethod> slidBy;
  Eigen::MatrixXd rows;
  if (semilandmarks.slide()) {
    slidBy = SlideMethod{};
    rounds = semilandmarks.rounds(*slidBy, [this](std::string text) { graphics_.status(text); });
    rows = file.data;
  }
  // Should the curves not slide (two of their points at one place, say),
  // the data open with the plain fit and the switch unset, saying why.
  std::string notSlid;
  if (slidBy) {
    try {
      session_.load(file.data, file.path, 3, ids, rounds, /*withStack=*/true);
    } catch (const InputError& e) {
      notSlid = std::string("the semilandmarks were not slid (") + e.what() + ")";
      slidBy.reset();
    }
  }
  if (!slidBy) {
    session_.load(std::move(file.data), file.path, 3, std::move(ids), GpaRounds{},
                  /*withStack=*/true);
  }
  if (!state_.wireactive) state_.wireactive = 0;
  panel_.setString(tags::kFileBox, summary);
  state_.datafile = file.path;
  state_.semilandmarks = std::move(semilandmarks);
  state_.reading = std::move(file.reading);
  state_.rows = std::move(rows);
  state_.slidBy = slidBy;
  panel_.showSliding(state_.semilandmarks.slide(), slidBy);
  takexvariable(session_, state_.standardizedAt, panel_, Eigen::MatrixXd(), "");
  panel_.resetLaterSteps();
  panel_.slidingChanged(session_, session_.path(), state_.semilandmarks);
  panel_.setEnable(tags::kShowDataButton, true);

  std::vector<std::string> notes = file.notes;
  if (wireframeOn() && state_.wireLandmarks && *state_.wireLandmarks != mean1().rows()) {
    // Made for other specimens: its numbers may all exist here and still
    // join points that have nothing to do with each other.
    notes.push_back(sprintf("the wireframe %s, made for %i landmarks, was dropped",
                            std::filesystem::path(state_.wirefile).filename().string(),
                            *state_.wireLandmarks));
    dropWireframe();
  } else if (wireframeOn() && file.landmarksRenumbered) {
    // Its numbers name the file's landmarks, some of which were left out:
    // drawn, it would join the wrong ones without a word.
    state_.wireactive = 0;
    graphics_.msgbox(sprintf(
        "The wireframe %s numbers the landmarks as %s does, but landmarks were left out of it; "
        "the wireframe is switched off until one that fits is loaded",
        std::filesystem::path(state_.wirefile).filename().string(), file.fname));
  } else if (wireframeOn()) {
    if (const std::optional<MisfittingWire> misfit =
            misfittingwire(state_.wirelist, mean1().rows())) {
      state_.wireactive = 0;
      graphics_.msgbox(sprintf(
          "The wireframe %s joins landmark %g, but %s has %i landmarks; the wireframe is switched "
          "off until one that fits is loaded",
          std::filesystem::path(state_.wirefile).filename().string(), misfit->landmark, file.fname,
          mean1().rows()));
    }
  }
  if (wireframeOn()) state_.wireLandmarks = mean1().rows();
  panel_.setEnable(tags::kUseCSButton, true);
  panel_.setEnable(tags::kLoadXButton, true);
  panel_.setEnable(tags::kLoadGroupsButton, true);
  panel_.setEnable(tags::kLoadSlidersButton, true);
  panel_.setEnable(tags::kCheckDataButton, true);
  panel_.setEnable(tags::kShapeSpaceButton, true);
  panel_.checkOnLoad(session_);

  // What the plot window said of the earlier data set no longer holds.
  if (plotWindowOpen()) graphics_.status(state_.fighand1->handle, "");
  drawData();
  if (state_.slidBy) notes.push_back(slidfittext(session_.loaded().fit, session_.ids()));
  if (!notSlid.empty()) notes.push_back(notSlid);
  panel_.reportLoaded(DATAV().specimens(), mean1().rows(), file.fname, file.missingDone,
                      file.notice, notes);
}

void Stand3sw::drawData() {
  selectPlotWindow();
  // The plot shows this data set alone: nothing of an earlier one, nor a
  // second copy of its mean, whose landmarks would be numbered on from k.
  cla(graphics_);
  const std::vector<bool>& semi = state_.semilandmarks.flags();
  showshape3D(graphics_, mean1(), "b*", kMeanShape, PlotRole::mean, semi);
  showshape3D(graphics_, DATAV(), "bo", kSuperimposed, PlotRole::specimens, semi);
  showcurves(graphics_, mean1(), state_.semilandmarks.sliders().curve);
  if (wireframeOn()) wireshape3D(graphics_, mean1(), state_.wirelist, "g");
  nameplot(std::to_string(DATAV().specimens()) + " specimens, superimposed");
  enablePlotButtons(true);
}

void Stand3sw::enablePlotButtons(bool on) {
  panel_.setEnable(tags::kClearPlotButton, on);
  panel_.setEnable(tags::kCopyPlotButton, on);
}

void Stand3sw::plotWindowGone() {
  // The buttons are the main window's: there is nothing to do when it has
  // gone too (the program is ending).
  try {
    enablePlotButtons(false);
  } catch (const std::exception&) {
  }
}

void Stand3sw::nameplot(const std::string& shown) {
  const std::string file = std::filesystem::path(state_.datafile).filename().string();
  graphics_.setName(graphics_.gcf(), std::string(kPlotWindowName) + ": " + file);
  graphics_.setTitle(graphics_.gca(), file + ": " + shown);
}

void Stand3sw::loadWire() {
  const LoadedMatrix read = mfloadtxt(dialogs_);
  if (!read.chosen) return;
  if (!read.openError.empty()) {
    throw InputError(read.path, "cannot be opened: " + read.openError).concerning(Input::wireframe);
  }
  if (read.y.cols() < 3) {
    throw InputError(read.path, 1,
                     "has " + std::to_string(read.y.cols()) +
                         " numbers on a line; a wire is its number and the two landmarks it joins")
        .concerning(Input::wireframe);
  }
  if (mean1().size() != 0) {
    if (const std::optional<MisfittingWire> misfit = misfittingwire(read.y, mean1().rows())) {
      throw InputError(read.path, misfit->row + 1,
                       sprintf("wire %i joins landmark %g, but the data set has landmarks 1 to %i; "
                               "the wireframe was not loaded",
                               misfit->row + 1, misfit->landmark, mean1().rows()))
          .concerning(Input::wireframe);
    }
  }
  state_.wirelist = read.y;
  state_.wirefile = read.path;
  state_.wireactive = 1;
  state_.wireLandmarks.reset();
  if (mean1().size() != 0) state_.wireLandmarks = mean1().rows();
  if (!read.notice.empty()) console().disp(read.fn + ": " + read.notice);
  graphics_.status(sprintf("Loaded a wireframe of %i wires from %s; it is drawn with every plot",
                           read.y.rows(), read.path) +
                   (read.notice.empty() ? "" : "; " + read.notice));
}

void Stand3sw::regress() {
  requiredata(DATA());
  requirexvariable(FXLIST());
  const StandardizedAt at = panel_.standardValue(LCODE().value_or(Transform::none));

  graphics_.status(sprintf("Standardizing %i specimens ...", DATA().rows()));
  // Superimposed again, as the data were; the groups are for the allometry.
  AnalysisSession::Standardizing how;
  how.withStack = true;
  how.withinGroups = false;
  session_.standardize(at.value, how);
  state_.standardizedAt = at;
  panel_.setEnable(tags::kSaveStandard, true);
  panel_.setEnable(tags::kShowStandard, true);

  selectPlotWindow();
  cla(graphics_);
  const std::vector<bool>& semi = state_.semilandmarks.flags();
  showshape3D(graphics_, smean(), "r*", kStandardizedMean, PlotRole::standardizedMean, semi);
  showshape3D(graphics_, SDATAV(), "ro", kStandardized, PlotRole::standardized, semi);
  showshape3D(graphics_, getpprocon3(smean(), DATAV(), consoleSink()), "bo", kSuperimposed,
              PlotRole::specimens, semi);
  if (wireframeOn()) wireshape3D(graphics_, smean(), state_.wirelist, "k:");
  nameplot("standardized to " + panel_.standardizedText(at));
  enablePlotButtons(true);
  panel_.reportStandardized(SDATA().rows(), at, FXLIST());
  panel_.shapeSpaceStandardized(session_);
}

void Stand3sw::useCS() { usecentroidsize(session_, state_.standardizedAt, panel_); }

void Stand3sw::showData() {
  if (DATAV().empty()) throw MissingError("no data set has been loaded yet");
  drawData();
  graphics_.hold(true);
  graphics_.status(
      sprintf("Showing the %i superimposed specimens and their mean shape", DATAV().specimens()));
}

void Stand3sw::loadXList() { loadxlistinto(session_, state_.standardizedAt, panel_); }

void Stand3sw::transform(Transform lcode) { choosetransform(session_, panel_, lcode); }

void Stand3sw::acceptX() { panel_.acceptX(); }

void Stand3sw::saveFile() { panel_.saveStandardized(SDATA(), state_.standardizedAt); }

void Stand3sw::clear() {
  session_.forgetData();
  state_.standardizedAt.reset();
  state_.semilandmarks.clear();
  state_.reading = LandmarkReading();
  state_.rows.resize(0, 0);
  state_.slidBy.reset();
  // The plot is emptied when its window is still open; a window the user
  // closed needs no clearing, and the reset of the boxes goes on regardless.
  if (plotWindowOpen()) {
    // Nothing of the cleared data set stays: no points, no title naming it,
    // no status of its steps.
    inPlotWindow("clear", [this] {
      cla(graphics_);
      graphics_.setTitle(graphics_.gca(), std::string());
      graphics_.setName(graphics_.gcf(), std::string(kPlotWindowName));
    });
    graphics_.status(state_.fighand1->handle, "");
  }
  enablePlotButtons(false);
  panel_.resetControls();
  graphics_.status("Cleared: load a data set to start again");
}

void Stand3sw::showRegress() {
  if (SDATA().size() == 0) {
    throw MissingError("there is no standardized data to show; standardize first");
  }
  // Into the plot window: the window whose button was pressed is current
  // now, and drawing there would cover the main window's controls.
  selectPlotWindow();
  graphics_.hold(true);
  const Eigen::MatrixXd& sdata = SDATA();
  Eigen::RowVectorXd x, y, z;
  for (Eigen::Index i = 0; i < sdata.rows(); ++i) {
    rowPoints(sdata, i, x, y, z);
    graphics_.plot3(x, y, z, "rs", kStandardizedSaved, PlotRole::savedStandardized);
  }
  rowPoints(sdata.colwise().mean(), 0, x, y, z);
  graphics_.plot3(x, y, z, "ks", kStandardizedSavedMean, PlotRole::savedStandardizedMean);
  graphics_.axis("auto");
  graphics_.axis("equal");
  graphics_.hold(true);
  enablePlotButtons(true);
  graphics_.status(
      sprintf("Showing the %i standardized specimens as they are saved", sdata.rows()));
}

void Stand3sw::clearFigure() {
  inPlotWindow("clear", [this] { clf(graphics_); });
  enablePlotButtons(false);
  graphics_.status("Cleared the plot");
}

void Stand3sw::copyImage() {
  inPlotWindow("copy", [this] { graphics_.print("-dmeta"); });
}

void Stand3sw::allometry() {
  panel_.showAllometry(session_, state_.datafile, kAllometryFit3D, "stand3sw");
}

void Stand3sw::loadGroups() { loadgroupsinto(session_, panel_); }

void Stand3sw::checkData() {
  // Slid, the data's rows as read are kept: a curve is judged there.
  panel_.showCheck(session_, state_.datafile, "stand3sw",
                   reversiblecurves(state_.semilandmarks.sliders()),
                   state_.slidBy ? state_.rows : Eigen::MatrixXd());
}

void Stand3sw::checkSelect() {
  const std::optional<Eigen::Index> specimen = panel_.checkChoice(session_);
  if (!specimen) return;
  showAmongData(DATA(), *specimen);
}

void Stand3sw::showAmongData(const Eigen::MatrixXd& data, Eigen::Index specimen) {
  // Shown among the superimposed specimens: the plot is drawn again when it
  // shows something else or its window has gone.
  const std::vector<Handle> plotted =
      plotWindowOpen() ? graphics_.descendants(state_.fighand1->handle, ObjectType::line)
                       : std::vector<Handle>{};
  const bool showsData = std::any_of(plotted.begin(), plotted.end(), [this](Handle h) {
    return graphics_.object(h).role == PlotRole::specimens;
  });
  const std::optional<Handle> remembered = graphics_.currentFigure();
  if (!showsData) drawData();
  selectPlotWindow();
  showchosen(graphics_, data, specimen, 3, session_.ids()[static_cast<size_t>(specimen)]);
  if (remembered && graphics_.isValid(*remembered)) graphics_.figure(*remembered);
}

void Stand3sw::shapeSpace() {
  panel_.showShapeSpace(session_, state_.datafile, "stand3sw",
                        state_.slidBy ? &state_.semilandmarks.sliders() : nullptr);
}

void Stand3sw::shapeSpaceSelect() {
  const std::optional<SwitchyardPanel::ShapeSpaceChoice> choice = panel_.shapeSpaceChoice(session_);
  if (choice) showAmongData(*choice->data, choice->specimen);
}

void Stand3sw::showChange(const SwitchyardPanel::ShapeChangeShown& shown) {
  const std::optional<Handle> remembered = graphics_.currentFigure();
  // The change alone: among the specimens it would be lost.
  selectPlotWindow();
  cla(graphics_);
  showshapechange(graphics_, shown.mean, shown.targets,
                  wireframeOn() ? state_.wirelist : Eigen::MatrixXd(), shown.magnification, false);
  nameplot(shown.title);
  enablePlotButtons(true);
  if (remembered && graphics_.isValid(*remembered)) graphics_.figure(*remembered);
  graphics_.status("The plot window shows the " + shown.what +
                   ": the mean shape in black, blue toward the low end, red toward the high end");
}

void Stand3sw::shapeChange() { showChange(panel_.shapeChange(session_)); }

void Stand3sw::allometryChange() { showChange(panel_.allometryChange(session_)); }

void Stand3sw::loadSliders() {
  requiredata(DATA());
  loadslidersinto(
      state_.semilandmarks, state_.slidBy, dialogs_, panel_,
      [this](std::optional<SlideMethod> by, const std::string& done) {
        superimposeAgain(by, done);
      },
      [this] { drawData(); });
}

void Stand3sw::slide() {
  const std::optional<SlideMethod> by = panel_.slidingChosen();
  superimposeAgain(by, by ? "Superimposed" : "Without sliding, superimposed");
}

void Stand3sw::slideCriterion() {
  // Chosen while the switch is unset, the criterion waits for it.
  if (const std::optional<SlideMethod> by = panel_.slidingChosen()) {
    superimposeAgain(by, "Superimposed");
  }
}

void Stand3sw::superimposeAgain(std::optional<SlideMethod> by, const std::string& done) {
  try {
    requiredata(DATA());
    if (!state_.semilandmarks.slide()) {
      throw MissingError("no landmark of the data set slides; load a sliders file first");
    }
    if (!by && !state_.slidBy) return;  // superimposed plainly already
    if (state_.rows.size() == 0) {
      graphics_.status("Reading " + std::filesystem::path(state_.datafile).filename().string() +
                       " again for its rows as read ...");
      state_.rows = readlandmarkfileagain(state_.reading, DATA().rows(), DATA().cols(),
                                          DATA().col(DATA().cols() - 1))
                        .data;
    }
    graphics_.status(sprintf("Superimposing %i specimens again ...", state_.rows.rows()));
    GpaRounds rounds;
    if (by) {
      rounds =
          state_.semilandmarks.rounds(*by, [this](std::string text) { graphics_.status(text); });
    }
    // The same specimens: their groups hold.
    std::optional<SpecimenGroups> groups = session_.groups();
    session_.load(state_.rows, session_.path(), 3, session_.ids(), rounds, /*withStack=*/true);
    session_.setGroups(std::move(groups));
  } catch (...) {
    panel_.showSliding(state_.semilandmarks.slide(), state_.slidBy);
    throw;
  }
  state_.slidBy = by;
  panel_.showSliding(true, by);
  takexvariable(session_, state_.standardizedAt, panel_, Eigen::MatrixXd(), "");
  panel_.resetLaterSteps();
  panel_.slidingChanged(session_, session_.path(), state_.semilandmarks);
  panel_.checkOnLoad(session_);
  drawData();
  panel_.reportSuperimposed(sprintf("%s the %i specimens again: %s", done, DATA().rows(),
                                    slidfittext(session_.loaded().fit, session_.ids())));
}

void Stand3sw::showSliding() {
  panel_.showSlidingView(session_, session_.path(), "stand3sw", state_.semilandmarks);
}

void Stand3sw::slidingSpecimen() { panel_.slidingSpecimenChosen(session_, state_.semilandmarks); }

}  // namespace tarvolin
