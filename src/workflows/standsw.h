#pragma once
// The switchyard of the 2D standardization workflow: the commands of a 2D
// window reach it as one action string each.
//
// Actions, compared exactly in this order: "LoadData", "Regress", "UseCS",
// "ShowData", "LoadxList", "UseX", "UseLn", "UseLog", "Acceptx", "SaveFile",
// "Clear", "ShowRegress", "Allometry", the allometry report window's
// "AllometryCopy" and "AllometrySave" (see SwitchyardPanel::showAllometry),
// "LoadGroups", the data check's, shape space's and shape change's actions,
// and "LoadSliders", "Slide", "SlideCriterion", "ShowSliding" and the sliding
// window's "SlidingSpecimen". Any other string does
// nothing at all.
//
// A 2D data set has one specimen per row: X1 Y1 ... Xk Yk and the size. The
// rows are used as read: the window takes 2D data as superimposed already.
// Rows that plainly are not (see notsuperimposed) are loaded and shown with
// a message that says so and how to superimpose them, and drawn as
// "specimens, as read"; Standardize, Allometry, Check data and Shape space
// refuse them with the same words, rather than analyse raw coordinates. Between actions the
// workflow is kept in five variables (in its session(); the window's own
// in state()), with what the last
// standardization used and what x is. Controls are found by their tags in the
// switchyard's own window, and plots go into the current axes of that
// window (of the current window when the switchyard has no window of its
// own).
//
// As in the 3D workflow, a new data set puts the x-variable and the
// standardization of the earlier one out of force (and is drawn into an
// empty plot), a new x-variable the transform chosen for the earlier one,
// and a saved file is refused when the standard value shown is not the one
// the standardization used. Show data draws the data set afresh, Standardize
// the data set with the standardized specimens and their mean over it (as
// the 3D window does), Show standardized the data set with the standardized
// specimens over it as they are saved. Groups, too, belong to the
// data set they were read for: loading new data or Clear forgets them; while they are loaded (more
// than one group) the allometry report tests the groups and their slopes too.
//
// Semilandmarks, as in the 3D workflow: data whose file puts points on
// curves (TPS CURVES=), or for which Load sliders... read a sliders file,
// show the switch Slide semilandmarks and its criterion, and are drawn with
// the semilandmarks smaller. Set, the switch superimposes the rows as read
// here, sliding the semilandmarks (such data need not be superimposed
// already); unset, the rows are taken as read again. The rows as read are
// kept apart only while the switch is set. Superimposed again, the data set
// keeps its groups; the x-variable and the standardization go, as with new
// data. New data forget the sliders file and unset the switch.
//
// An action that cannot go on (a file refused, a value missing, a standard
// value that is not a number, its window closed) ends with one console
// line, "Error in ACTION: what is wrong", kept as the graphics model's last
// error too; the workflow's variables, boxes and buttons are then as they
// were before the action. A cancelled file dialog ends the action with
// nothing changed.
//
// Example:
//   Standsw standsw(graphics, dialogs);
//   dialogs.choose("examples/skulls2d.txt");
//   standsw("LoadData");
//   standsw("UseCS"); standsw("UseLog"); standsw("Acceptx"); standsw("Regress");

#include <Eigen/Core>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/filedialogs.h"
#include "document/graphics.h"
#include "numerics/transformx.h"
#include "workflows/analysissession.h"
#include "workflows/semilandmarks.h"
#include "workflows/switchyardpanel.h"

namespace tarvolin {

class Standsw {
 public:
  // The window's own variables; the analysis (DATA, XLIST, FXLIST, LCODE,
  // SDATA and the rest) lives in session() and is read through the
  // accessors named after it. An empty optional holds no value.
  struct State {
    std::optional<StandardizedAt> standardizedAt;  // what made SDATA
    std::string dataName;                          // the data file's name, for the plot's title
    // What is wrong when DATA is plainly not superimposed (notsuperimposed).
    std::optional<std::string> notSuperimposed;
    // The plot shows DATA and its mean, drawn once, and nothing else.
    bool plotShowsDataAlone = false;

    Semilandmarks semilandmarks;  // of DATA
    // The rows as read while the switch is set (DATA holds them otherwise).
    Eigen::MatrixXd rows;
    // How DATA was superimposed here, sliding; nothing: DATA is as read.
    std::optional<SlideMethod> slidBy;
  };

  // How a data set is plotted: the styles of its points and of its mean row,
  // what the legend calls them and what they stand for, and what the title
  // says is shown.
  struct PlotKind {
    std::string_view points, pointsName;
    PlotRole pointsRole;
    std::string_view mean, meanName;
    PlotRole meanRole;
    std::string_view shown;
  };

  // The actions, in the order they are compared.
  static const std::array<SwitchyardAction<Standsw>, 31> kActions;

  Standsw(Graphics& graphics, FileDialogs& dialogs)
      : graphics_(graphics), dialogs_(dialogs), panel_(graphics, dialogs) {}

  void operator()(std::string_view action);

  const State& state() const { return state_; }
  const SwitchyardPanel& panel() const { return panel_; }
  const AnalysisSession& session() const { return session_; }

  // The workflow variables, as the session holds them.
  const Eigen::MatrixXd& DATA() const { return session_.data(); }  // as read, with the size
  const Eigen::VectorXd& XLIST() const { return session_.x(); }    // raw x, one value a specimen
  const Eigen::VectorXd& FXLIST() const { return session_.fx(); }  // XLIST, ln or log10
  std::optional<Transform> LCODE() const { return session_.transformInForce(); }
  const Eigen::MatrixXd& SDATA() const { return session_.standardized().data; }  // as DATA
  // What XLIST is: "centroid size" or the x list's file name.
  const std::string& xsource() const { return session_.xSource(); }
  const std::vector<std::string>& ids() const { return session_.ids(); }
  const std::optional<SpecimenGroups>& groups() const { return session_.groups(); }

  // Where the controls are looked up: the 2D window (see SwitchyardPanel).
  void setWindowLocator(std::string windowName, SwitchyardPanel::WindowLocator locator) {
    panel_.setWindowLocator(std::move(windowName), std::move(locator));
  }

 private:
  void loadData();
  void regress();
  void useCS();
  void showData();
  void loadXList();
  void transform(Transform lcode);
  void useX() { transform(Transform::none); }
  void useLn() { transform(Transform::ln); }
  void useLog() { transform(Transform::log10); }
  void acceptX();
  void saveFile();
  void clear();
  void showRegress();
  void allometry();
  void allometryCopy() { panel_.copyAllometry(); }
  void allometrySave() { panel_.saveAllometry(); }
  void loadGroups();
  void checkData();
  void checkCopy() { panel_.copyCheck(); }
  void checkSave() { panel_.saveCheck(); }
  void checkSelect();
  // Shows specimen (a row of data) among the specimens in the plot.
  void showAmongData(const Eigen::MatrixXd& data, Eigen::Index specimen);
  void shapeSpace();
  void shapeSpaceRedraw() { panel_.redrawShapeSpace(session_); }
  void shapeSpaceSelect();
  void shapeChange();
  void shapeScoresSave() { panel_.saveShapeScores(); }
  void allometryChange();
  // Shows a shape change in the plot, among what it shows.
  void showChange(const SwitchyardPanel::ShapeChangeShown& shown);
  void loadSliders();
  void slide();
  void slideCriterion();
  void showSliding();
  void slidingSpecimen();
  // Superimposes the rows as read sliding as `by` says, or (nothing) takes
  // them as read again, and says so after `done` in the status line. On an
  // error the switch and criterion show what is in force.
  void superimposeAgain(std::optional<SlideMethod> by, const std::string& done);

  // Draws a data set's points and its mean row as `kind` says.
  void plotDataSet(const Eigen::MatrixXd& x, const PlotKind& kind);
  // How DATA is drawn: as superimposed, or as read when it plainly is not.
  const PlotKind& dataPlot() const;
  // Refuses a step that regresses the coordinates when they are plainly not
  // superimposed: an InputError saying how to superimpose them first.
  void requireSuperimposed() const;
  // Empties the window's plot, its title included.
  void clearPlot();

  Graphics& graphics_;
  FileDialogs& dialogs_;
  SwitchyardPanel panel_;
  AnalysisSession session_;
  State state_;
};

}  // namespace tarvolin
