#pragma once
// The switchyard of the 3D standardization workflow: every command of the
// main window reaches it as one action string.
//
// Actions, compared exactly in this order: "LoadData", "LoadWire",
// "Regress", "UseCS", "ShowData", "LoadxList", "UseX", "UseLn", "UseLog",
// "Acceptx", "SaveFile", "Clear", "ShowRegress", "ClearFigure", "CopyImage",
// "Allometry", the allometry report window's "AllometryCopy" and
// "AllometrySave" (see SwitchyardPanel::showAllometry), "LoadGroups", the
// data check's, shape space's and shape change's actions, and "LoadSliders",
// "Slide", "SlideCriterion", "ShowSliding" and the sliding
// window's "SlidingSpecimen". Any other string shows the message box
// "Fell Through case in switchyard".
//
// Between actions it keeps the workflow in twelve variables, the analysis
// ones in its session() and the window's own in state(), with
// what the last standardization used, the names of the files read, and the
// specimens' IDs and groups. Groups belong to the data set they were read
// for: loading new data or Clear forgets them; while they are loaded (more
// than one group) the allometry report tests the groups and their slopes too. It
// finds the controls it reads and writes by their tags in its own window,
// asks for files through the dialog service, and draws into the plot window
// (fighand1): that window and no other, made anew when the user has closed
// it, even if a window opened since carries its old number.
//
// Each step builds on the data set it was chosen for: a new data set puts
// the x-variable and the standardization of the earlier one out of force,
// a new x-variable the transform and the standardization made with the
// earlier one, and a saved file is refused when the standard value shown is
// not the one the standardization used. A new data set is drawn into an
// empty plot. Buttons are enabled only when their step can be taken: Accept
// x once x, ln x or log10 x is chosen, Show data once data are loaded, Clear
// plot and Copy plot while the plot window shows something. A wireframe must fit the data set: one
// naming a landmark the data set lacks is refused, or switched off when new data no longer fit it;
// one made for a data set of another number of landmarks is dropped when the next data set is
// loaded, with a note in the status line, even when its numbers would fit.
//
// Semilandmarks: a data set whose file puts points on curves (TPS CURVES=)
// or for which Load sliders... read a sliders or surface file has points
// that slide (see Semilandmarks); the window then shows the switch Slide
// semilandmarks and its criterion, and draws the semilandmarks smaller.
// Setting the switch, or choosing another criterion while it is set, or
// loading sliders while it is set, superimposes the data set again from the
// rows of its file, sliding; unsetting it superimposes them plainly. The
// rows are read again from the file the first time (the window keeps the
// superimposed data only), with the answers given when it was loaded, and
// kept while the data set stays. Superimposed again, the data set keeps its
// groups; the x-variable and the standardization go, as with new data. New
// data forget the sliders and surface files and unset the switch.
//
// An action that cannot go on (a file refused, a value missing, a standard
// value that is not a number, its window closed) ends with one console line,
// "Error in ACTION: what is wrong", which is also kept as the graphics
// model's last error; the workflow's variables, boxes and buttons are then
// as they were before the action, except where a drawing step failed after
// the data were stored and the buttons set. A cancelled file dialog ends the
// action with nothing changed.
//
// Example:
//   Stand3sw stand3sw(graphics, dialogs);
//   dialogs.choose("examples/skulls_zor.txt");
//   stand3sw("LoadData");
//   stand3sw("UseCS"); stand3sw("UseLn"); stand3sw("Acceptx"); stand3sw("Regress");

#include <Eigen/Core>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/filedialogs.h"
#include "document/graphics.h"
#include "landmarks/configstack.h"
#include "numerics/transformx.h"
#include "workflows/analysissession.h"
#include "workflows/loadlandmarkfile.h"
#include "workflows/semilandmarks.h"
#include "workflows/switchyardpanel.h"

namespace tarvolin {

class Stand3sw {
 public:
  // The window's own variables; the analysis (DATA, XLIST, FXLIST, LCODE,
  // SDATA and the rest) lives in session() and is read through the
  // accessors named after it. An empty matrix, or an empty optional, holds
  // no value.
  struct State {
    std::optional<double> wireactive;
    Eigen::MatrixXd wirelist;  // one wire per row: number, landmark, landmark
    std::optional<ObjectId> fighand1;

    std::optional<StandardizedAt> standardizedAt;  // what made SDATA
    std::string datafile;                          // the file DATA came from
    std::string wirefile;                          // the file wirelist came from
    // The landmarks of the data set the wireframe was drawn on or loaded
    // for; nothing until it meets a data set.
    std::optional<Eigen::Index> wireLandmarks;

    Semilandmarks semilandmarks;  // of DATA
    LandmarkReading reading;      // how DATA's file was read
    // DATA's rows as read, once sliding needed them; empty until then.
    Eigen::MatrixXd rows;
    // How the superimposition in force slid; nothing: it did not.
    std::optional<SlideMethod> slidBy;
  };

  // The actions, in the order they are compared.
  static const std::array<SwitchyardAction<Stand3sw>, 34> kActions;

  Stand3sw(Graphics& graphics, FileDialogs& dialogs);
  ~Stand3sw();
  Stand3sw(const Stand3sw&) = delete;
  Stand3sw& operator=(const Stand3sw&) = delete;

  void operator()(std::string_view action);

  const State& state() const { return state_; }
  const SwitchyardPanel& panel() const { return panel_; }
  const AnalysisSession& session() const { return session_; }

  // The workflow variables, as the session holds them.
  const Eigen::MatrixXd& DATA() const { return session_.data(); }  // superimposed, with the size
  const ConfigStack& DATAV() const { return session_.loaded().stack; }
  const Eigen::MatrixXd& mean1() const { return session_.loaded().mean; }
  const Eigen::VectorXd& XLIST() const { return session_.x(); }    // raw x, one value a specimen
  const Eigen::VectorXd& FXLIST() const { return session_.fx(); }  // XLIST, ln or log10
  std::optional<Transform> LCODE() const { return session_.transformInForce(); }
  const Eigen::MatrixXd& SDATA() const { return session_.standardized().data; }
  const ConfigStack& SDATAV() const { return session_.standardized().stack; }
  const Eigen::MatrixXd& smean() const { return session_.standardized().mean; }
  // What XLIST is: "centroid size" or the x list's file name.
  const std::string& xsource() const { return session_.xSource(); }
  const std::vector<std::string>& ids() const { return session_.ids(); }
  const std::optional<SpecimenGroups>& groups() const { return session_.groups(); }

  // Where the controls are looked up: the main window (see SwitchyardPanel).
  void setWindowLocator(std::string windowName, SwitchyardPanel::WindowLocator locator) {
    panel_.setWindowLocator(std::move(windowName), std::move(locator));
  }

 private:
  void loadData();
  void loadWire();
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
  void clearFigure();
  void copyImage();
  void allometry();
  void allometryCopy() { panel_.copyAllometry(); }
  void allometrySave() { panel_.saveAllometry(); }
  void loadGroups();
  void checkData();
  void checkCopy() { panel_.copyCheck(); }
  void checkSave() { panel_.saveCheck(); }
  void checkSelect();
  // Shows specimen (a row of data) among the superimposed specimens.
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
  // Superimposes DATA again from its rows as read, sliding as `by` says
  // (nothing: plainly), and says so after `done` in the status line. On an
  // error the switch and criterion show the superimposition in force.
  void superimposeAgain(std::optional<SlideMethod> by, const std::string& done);

  // Makes the plot window current, opening a new one when it has gone.
  void selectPlotWindow();
  bool plotWindowOpen() const;
  // A new main window shows no data: the workflow starts again, keeping only
  // the plot window and the wireframe, which the main window does not show.
  void startAfresh();
  // Runs `step` with the plot window current, then makes the window that was
  // current before current again.
  template <typename Step>
  void inPlotWindow(std::string_view what, Step step);
  bool wireframeOn() const;
  // Forgets the wireframe: no later plot draws it.
  void dropWireframe();
  // Draws the superimposed specimens, their mean and the wireframe into the
  // plot window.
  void drawData();
  // Names the plot window and titles its plot after the data file; `shown`
  // says what the plot shows.
  void nameplot(const std::string& shown);
  // Clear plot and Copy plot can be used while the plot window shows
  // something.
  void enablePlotButtons(bool on);
  // The user closed the plot window: there is nothing left to clear or copy.
  void plotWindowGone();

  Graphics& graphics_;
  FileDialogs& dialogs_;
  SwitchyardPanel panel_;
  AnalysisSession session_;
  State state_;
  int subscription_ = 0;
};

}  // namespace tarvolin
