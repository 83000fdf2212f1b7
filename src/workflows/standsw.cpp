#include "workflows/standsw.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

#include "core/console.h"
#include "core/errors.h"
#include "core/quotedtext.h"
#include "core/sprintf.h"
#include "document/cla.h"
#include "document/controltags.h"
#include "document/showchosen.h"
#include "document/showcurves.h"
#include "document/showshape.h"
#include "numerics/notsuperimposed.h"
#include "numerics/reversiblecurves.h"
#include "plotting/showshapechange.h"
#include "workflows/load2Dlandmarks.h"
#include "workflows/switchyardsteps.h"

namespace tarvolin {

const std::array<SwitchyardAction<Standsw>, 31> Standsw::kActions = {{
    {"LoadData", &Standsw::loadData},
    {"Regress", &Standsw::regress},
    {"UseCS", &Standsw::useCS},
    {"ShowData", &Standsw::showData},
    {"LoadxList", &Standsw::loadXList},
    {"UseX", &Standsw::useX},
    {"UseLn", &Standsw::useLn},
    {"UseLog", &Standsw::useLog},
    {"Acceptx", &Standsw::acceptX},
    {"SaveFile", &Standsw::saveFile},
    {"Clear", &Standsw::clear},
    {"ShowRegress", &Standsw::showRegress},
    {"Allometry", &Standsw::allometry},
    {"AllometryCopy", &Standsw::allometryCopy},
    {"AllometrySave", &Standsw::allometrySave},
    {"LoadGroups", &Standsw::loadGroups},
    {"CheckData", &Standsw::checkData},
    {"CheckCopy", &Standsw::checkCopy},
    {"CheckSave", &Standsw::checkSave},
    {"CheckSelect", &Standsw::checkSelect},
    {"ShapeSpace", &Standsw::shapeSpace},
    {"ShapeSpaceRedraw", &Standsw::shapeSpaceRedraw},
    {"ShapeSpaceSelect", &Standsw::shapeSpaceSelect},
    {"ShapeChange", &Standsw::shapeChange},
    {"ShapeScoresSave", &Standsw::shapeScoresSave},
    {"AllometryChange", &Standsw::allometryChange},
    {"LoadSliders", &Standsw::loadSliders},
    {"Slide", &Standsw::slide},
    {"SlideCriterion", &Standsw::slideCriterion},
    {"ShowSliding", &Standsw::showSliding},
    {"SlidingSpecimen", &Standsw::slidingSpecimen},
}};

namespace {

// The 2D data are taken as superimposed already.
constexpr Standsw::PlotKind kDataPlot{"bo",       kSuperimposed,  PlotRole::specimens,      "b<",
                                      kMeanShape, PlotRole::mean, "specimens, superimposed"};

// What the refusal of rows that are not superimposed adds for data whose
// semilandmarks slide.
constexpr std::string_view kSlideInstead =
    "; or set Slide semilandmarks, which superimposes them here, sliding the semilandmarks";

// Rows not superimposed are shown as what they are.
constexpr Standsw::PlotKind kRawPlot{"bo",       kAsRead,        PlotRole::specimens, "b<",
                                     kMeanShape, PlotRole::mean, "specimens, as read"};

// What is wrong with data that are not superimposed, and what to do.
std::string notSuperimposedText(const NotSuperimposed& found, const std::string& name,
                                const std::vector<std::string>& ids, bool landmarksDropped) {
  const auto specimen = [&ids](Eigen::Index i) {
    return i < static_cast<Eigen::Index>(ids.size())
               ? "specimen " + quotedtext(ids[static_cast<size_t>(i)])
               : "specimen " + std::to_string(i + 1);
  };
  const std::string why =
      found.why == NotSuperimposed::Why::offCentre
          ? sprintf(
                "%s has its centroid %.4g from the origin, at centroid size %.4g, where "
                "superimposed data are centred on it",
                specimen(found.specimen), found.centroid, found.size)
          : sprintf(
                "the centroid sizes range from %.4g (%s) to %.4g (%s), where superimposed "
                "data share one size",
                found.size, specimen(found.specimen), found.largestSize, specimen(found.largest));
  // Leaving landmarks out moves the rest off the superimposition they had.
  if (landmarksDropped) {
    return sprintf(
        "%s is no longer superimposed once the landmarks missing in some specimen are left out: "
        "%s. Superimpose the rest again with tarvolin-cli superimpose FILE --dim 2 "
        "--missing drop-landmarks -o superimposed.txt and load superimposed.txt, or estimate the "
        "missing landmarks instead",
        name, why);
  }
  return sprintf(
      "%s is not superimposed: %s. This window standardizes superimposed 2D data; "
      "superimpose the file first with tarvolin-cli superimpose FILE --dim 2 -o "
      "superimposed.txt and load superimposed.txt",
      name, why);
}

}  // namespace

const Standsw::PlotKind& Standsw::dataPlot() const {
  return state_.notSuperimposed && !state_.slidBy ? kRawPlot : kDataPlot;
}

void Standsw::requireSuperimposed() const {
  // Slid here, the data are superimposed, whatever the rows as read were.
  if (state_.notSuperimposed && !state_.slidBy) throw InputError(*state_.notSuperimposed);
}

void Standsw::operator()(std::string_view action) {
  panel_.run(action, [&] {
    // An action that matches none does nothing at all.
    const SwitchyardAction<Standsw>* entry = findnamedaction(kActions, action);
    if (!entry) return;
    // A window opened anew shows no data, and neither may the workflow hold any.
    if (panel_.enterOwnWindow()) {
      session_.clear();
      state_ = State();
    }
    (this->*entry->run)();
  });
}

void Standsw::plotDataSet(const Eigen::MatrixXd& x, const PlotKind& kind) {
  panel_.makeOwnWindowCurrent();
  const std::vector<bool>& semi = state_.semilandmarks.flags();
  showshape(graphics_, x, kind.points, kind.pointsName, kind.pointsRole, semi);
  const Eigen::RowVectorXd mean = x.colwise().mean();
  showshape(graphics_, mean, kind.mean, kind.meanName, kind.meanRole, semi);
  if (state_.semilandmarks.slide() && mean.size() >= 3) {
    // The mean's points as a configuration, k x 2, for the curves over it.
    Eigen::MatrixXd shape((mean.size() - 1) / 2, 2);
    for (Eigen::Index j = 0; j < shape.rows(); ++j) shape.row(j) << mean(2 * j), mean(2 * j + 1);
    showcurves(graphics_, shape, state_.semilandmarks.sliders().curve);
  }
  graphics_.axis("auto");
  graphics_.axis("equal");
  graphics_.hold(true);
  graphics_.setTitle(graphics_.gca(), state_.dataName + ": " + std::to_string(x.rows()) + " " +
                                          std::string(kind.shown));
}

void Standsw::loadData() {
  std::optional<ChosenLandmarks> chosen =
      readinginput(Input::data, [this] { return load2Dlandmarks(dialogs_); });
  if (!chosen) return;
  ChosenLandmarks& read = *chosen;

  const std::string notice = read.set.notice;
  Semilandmarks semilandmarks;
  semilandmarks.reset(read.set, read.landmarksRenumbered);
  std::vector<std::string> specimens = std::move(read.set.ids);
  const std::vector<std::string> notes = std::move(read.set.notes);
  std::string path = read.set.path;
  // The groups, the x-variable and the standardization belonged to the
  // earlier data set.
  session_.loadSuperimposed(landmarkdataset(std::move(read.set)), std::move(path), 2,
                            std::move(specimens));
  state_.semilandmarks = std::move(semilandmarks);
  state_.rows.resize(0, 0);
  state_.slidBy.reset();
  panel_.showSliding(state_.semilandmarks.slide(), std::nullopt);
  takexvariable(session_, state_.standardizedAt, panel_, Eigen::MatrixXd(), "");
  panel_.resetLaterSteps();
  panel_.slidingChanged(session_, session_.path(), state_.semilandmarks);
  const Eigen::Index m = DATA().rows();
  const Eigen::Index n = DATA().cols();
  panel_.setString(tags::kFileBox, sprintf("File %s \n %4.0f Samples \n %4.0f landmarks", read.name,
                                           m, static_cast<double>(n - 1) / 2.0));
  panel_.setEnable(tags::kUseCSButton, true);
  panel_.setEnable(tags::kLoadXButton, true);
  panel_.setEnable(tags::kLoadGroupsButton, true);
  panel_.setEnable(tags::kLoadSlidersButton, true);
  panel_.setEnable(tags::kShowDataButton, true);
  panel_.setEnable(tags::kCheckDataButton, true);
  panel_.setEnable(tags::kShapeSpaceButton, true);
  state_.dataName = read.name;
  state_.notSuperimposed.reset();
  if (const std::optional<NotSuperimposed> found = notsuperimposed(DATA())) {
    state_.notSuperimposed =
        notSuperimposedText(*found, read.name, ids(), read.landmarksRenumbered);
    if (state_.semilandmarks.slide()) *state_.notSuperimposed += kSlideInstead;
  } else {
    // Data that are not superimposed would all look out of line.
    panel_.checkOnLoad(session_);
  }
  clearPlot();
  plotDataSet(DATA(), dataPlot());
  state_.plotShowsDataAlone = true;
  panel_.reportLoaded(m, (n - 1) / 2, read.name, read.missingDone, notice, notes);
  // Said at once, in a box and in the status line, not first when
  // Standardize refuses.
  if (state_.notSuperimposed) graphics_.msgbox(*state_.notSuperimposed);
}

void Standsw::regress() {
  requiredata(DATA());
  requirexvariable(FXLIST());
  requireSuperimposed();
  const StandardizedAt at = panel_.standardValue(LCODE().value_or(Transform::none));

  graphics_.status(sprintf("Standardizing %i specimens ...", DATA().rows()));
  // The data are superimposed already: the result stays as the regression
  // leaves it. The groups are for the allometry.
  AnalysisSession::Standardizing how;
  how.superimposeAgain = false;
  how.withinGroups = false;
  how.vet = [&at](const SuperimposedDataSet& standardized) {
    if (!standardized.data.allFinite()) {
      throw InputError("the standard value " + at.text +
                       " lies so far outside the x values that the result is not finite")
          .concerning(Input::standardValue);
    }
  };
  session_.standardize(at.value, how);
  state_.standardizedAt = at;
  panel_.setEnable(tags::kSaveStandard, true);
  panel_.setEnable(tags::kShowStandard, true);
  // Drawn as the 3D window draws it: the standardized specimens and their
  // mean over the data, the title naming the standard value.
  clearPlot();
  plotDataSet(DATA(), dataPlot());
  plotDataSet(SDATA(), {"ro", kStandardized, PlotRole::standardized, "r*", kStandardizedMean,
                        PlotRole::standardizedMean, ""});
  graphics_.setTitle(graphics_.gca(),
                     state_.dataName + ": standardized to " + panel_.standardizedText(at));
  panel_.reportStandardized(SDATA().rows(), at, FXLIST());
  panel_.shapeSpaceStandardized(session_);
}

void Standsw::useCS() { usecentroidsize(session_, state_.standardizedAt, panel_); }

void Standsw::clearPlot() {
  state_.plotShowsDataAlone = false;
  panel_.makeOwnWindowCurrent();
  graphics_.hold(false);
  cla(graphics_);
  graphics_.setTitle(graphics_.gca(), std::string());
}

void Standsw::showData() {
  requiredata(DATA());
  clearPlot();
  plotDataSet(DATA(), dataPlot());
  state_.plotShowsDataAlone = true;
  graphics_.status(sprintf("Showing the %i specimens and their mean shape", DATA().rows()));
}

void Standsw::loadXList() { loadxlistinto(session_, state_.standardizedAt, panel_); }

void Standsw::transform(Transform lcode) { choosetransform(session_, panel_, lcode); }

void Standsw::acceptX() { panel_.acceptX(); }

void Standsw::saveFile() { panel_.saveStandardized(SDATA(), state_.standardizedAt); }

void Standsw::clear() {
  session_.forgetData();
  state_.notSuperimposed.reset();
  state_.semilandmarks.clear();
  state_.rows.resize(0, 0);
  state_.slidBy.reset();
  state_.standardizedAt.reset();
  clearPlot();
  panel_.resetControls();
  panel_.setEnable(tags::kShowDataButton, false);
  graphics_.status("Cleared: load a data set to start again");
}

void Standsw::showRegress() {
  if (SDATA().size() == 0) {
    throw MissingError("there is no standardized data to show; standardize first");
  }
  // Over the data, each drawn once: shown again, a mean would be numbered on
  // from its last landmark. Data the plot already shows alone are not drawn
  // again (on a large data set that is most of the time this step takes).
  panel_.makeOwnWindowCurrent();
  if (!state_.plotShowsDataAlone || graphics_.object(graphics_.gca()).children.empty()) {
    clearPlot();
    plotDataSet(DATA(), dataPlot());
  }
  plotDataSet(SDATA(), {"rs", kStandardized, PlotRole::standardized, "ks", kStandardizedMean,
                        PlotRole::standardizedMean, "standardized specimens"});
  state_.plotShowsDataAlone = false;
  graphics_.status(sprintf("Showing the %i standardized specimens and their mean", SDATA().rows()));
}

void Standsw::allometry() {
  requiredata(DATA());
  requirexvariable(FXLIST());
  requireSuperimposed();
  panel_.showAllometry(session_, state_.dataName, kAllometryFit2D, "standsw");
}

void Standsw::loadGroups() { loadgroupsinto(session_, panel_); }

void Standsw::checkData() {
  requiredata(DATA());
  requireSuperimposed();
  // Slid, the data's rows as read are kept: a curve is judged there.
  panel_.showCheck(session_, state_.dataName, "standsw",
                   reversiblecurves(state_.semilandmarks.sliders()),
                   state_.slidBy ? state_.rows : Eigen::MatrixXd());
}

void Standsw::checkSelect() {
  const std::optional<Eigen::Index> specimen = panel_.checkChoice(session_);
  if (specimen) showAmongData(DATA(), *specimen);
}

void Standsw::showAmongData(const Eigen::MatrixXd& data, Eigen::Index specimen) {
  if (!state_.plotShowsDataAlone) {
    clearPlot();
    plotDataSet(DATA(), dataPlot());
    state_.plotShowsDataAlone = true;
  }
  const std::optional<Handle> remembered = graphics_.currentFigure();
  panel_.makeOwnWindowCurrent();
  showchosen(graphics_, data, specimen, 2, ids()[static_cast<size_t>(specimen)]);
  if (remembered && graphics_.isValid(*remembered)) graphics_.figure(*remembered);
}

void Standsw::shapeSpace() {
  requiredata(DATA());
  requireSuperimposed();
  panel_.showShapeSpace(session_, state_.dataName, "standsw",
                        state_.slidBy ? &state_.semilandmarks.sliders() : nullptr);
}

void Standsw::shapeSpaceSelect() {
  const std::optional<SwitchyardPanel::ShapeSpaceChoice> choice = panel_.shapeSpaceChoice(session_);
  if (choice) showAmongData(*choice->data, choice->specimen);
}

void Standsw::showChange(const SwitchyardPanel::ShapeChangeShown& shown) {
  // The change alone: among the specimens it would be lost.
  const std::optional<Handle> remembered = graphics_.currentFigure();
  clearPlot();
  const std::string warning = showshapechange(graphics_, shown.mean, shown.targets,
                                              Eigen::MatrixXd(), shown.magnification, shown.grid);
  graphics_.setTitle(graphics_.gca(), shown.title);
  if (remembered && graphics_.isValid(*remembered)) graphics_.figure(*remembered);
  const std::string done =
      "the plot shows the " + shown.what +
      ": the mean shape in black, blue toward the low end, red toward the high end" +
      (shown.grid ? ", the grid deformed toward the high end" : "");
  if (warning.empty()) {
    graphics_.status("T" + done.substr(1));
    return;
  }
  // First, where a long line is cut: the grid there misleads.
  console().disp(warning);
  graphics_.status("T" + warning.substr(1) + "; " + done);
}

void Standsw::shapeChange() { showChange(panel_.shapeChange(session_)); }

void Standsw::allometryChange() { showChange(panel_.allometryChange(session_)); }

void Standsw::loadSliders() {
  requiredata(DATA());
  loadslidersinto(
      state_.semilandmarks, state_.slidBy, dialogs_, panel_,
      [this](std::optional<SlideMethod> by, const std::string& done) {
        superimposeAgain(by, done);
      },
      [this] {
        // Raw rows can now be superimposed here: the refusal says so.
        if (state_.notSuperimposed && !state_.notSuperimposed->ends_with(kSlideInstead)) {
          *state_.notSuperimposed += kSlideInstead;
        }
        clearPlot();
        plotDataSet(DATA(), dataPlot());
        state_.plotShowsDataAlone = true;
      });
}

void Standsw::slide() {
  const std::optional<SlideMethod> by = panel_.slidingChosen();
  superimposeAgain(by, "Superimposed");
}

void Standsw::slideCriterion() {
  // Chosen while the switch is unset, the criterion waits for it.
  if (const std::optional<SlideMethod> by = panel_.slidingChosen()) {
    superimposeAgain(by, "Superimposed");
  }
}

void Standsw::superimposeAgain(std::optional<SlideMethod> by, const std::string& done) {
  const bool kept = state_.rows.size() != 0;
  try {
    requiredata(DATA());
    if (!state_.semilandmarks.slide()) {
      throw MissingError("no landmark of the data set slides; load a sliders file first");
    }
    if (!by && !state_.slidBy) return;  // as read already
    std::optional<SpecimenGroups> groups = session_.groups();
    if (by) {
      // While DATA is as read, it holds the rows.
      if (!kept) state_.rows = DATA();
      graphics_.status(sprintf("Superimposing %i specimens ...", state_.rows.rows()));
      const GpaRounds rounds =
          state_.semilandmarks.rounds(*by, [this](std::string text) { graphics_.status(text); });
      session_.load(state_.rows, session_.path(), 2, session_.ids(), rounds, /*withStack=*/false);
    } else {
      session_.loadSuperimposed(std::move(state_.rows), session_.path(), 2, session_.ids());
      state_.rows.resize(0, 0);
    }
    // The same specimens: their groups hold.
    session_.setGroups(std::move(groups));
  } catch (...) {
    if (!kept) state_.rows.resize(0, 0);
    panel_.showSliding(state_.semilandmarks.slide(), state_.slidBy);
    throw;
  }
  state_.slidBy = by;
  panel_.showSliding(true, by);
  takexvariable(session_, state_.standardizedAt, panel_, Eigen::MatrixXd(), "");
  panel_.resetLaterSteps();
  panel_.slidingChanged(session_, session_.path(), state_.semilandmarks);
  // Rows as read that are not superimposed would all look out of line.
  if (by || !state_.notSuperimposed) panel_.checkOnLoad(session_);
  clearPlot();
  plotDataSet(DATA(), dataPlot());
  state_.plotShowsDataAlone = true;
  if (by) {
    panel_.reportSuperimposed(sprintf("%s the %i specimens here: %s", done, DATA().rows(),
                                      slidfittext(session_.loaded().fit, session_.ids())));
  } else {
    panel_.reportSuperimposed(sprintf(
        "Without sliding: the %i specimens as read, taken as superimposed already", DATA().rows()));
  }
}

void Standsw::showSliding() {
  panel_.showSlidingView(session_, session_.path(), "standsw", state_.semilandmarks);
}

void Standsw::slidingSpecimen() { panel_.slidingSpecimenChosen(session_, state_.semilandmarks); }

}  // namespace tarvolin
