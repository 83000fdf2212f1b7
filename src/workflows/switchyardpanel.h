#pragma once
// What the 3D and the 2D switchyards do alike with their window: find a
// control by its tag, read and write it, report an action's error, and the
// x-variable, groups, reset, save and allometry steps, which both workflows
// share word for word.
//
// Controls are looked up in the switchyard's own window, which a locator
// names (the newest open window of its figure file), so that two windows
// carrying the same tags never write into each other. An action is refused
// before it does anything when that window is not open; when it is another
// window than the last action's (the user closed the window and opened it
// again), the switchyard starts afresh, as the new window shows. Without a
// locator the whole graphics model is searched (a single test window, for
// instance).
//
// Example:
//   SwitchyardPanel panel(graphics, dialogs);
//   panel.run("UseLn", [&] { panel.showTransform(fx, Transform::ln); });

#include <Eigen/Core>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/filedialogs.h"
#include "document/graphics.h"
#include "document/legendnames.h"
#include "plotting/showshapechange.h"
#include "numerics/shapepca.h"
#include "numerics/transformx.h"
#include "workflows/allometryreport.h"
#include "workflows/analysissession.h"
#include "workflows/checkreport.h"
#include "workflows/semilandmarks.h"

namespace tarvolin {

// An action that lacks what it needs: a value not yet there, a window gone.
class MissingError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Above this many coordinates the data check waits until it is asked for.
inline constexpr Eigen::Index kCheckOnLoadCoordinates = 20'000'000;

// Refuses a step that needs a loaded data set when none is loaded.
void requiredata(const Eigen::MatrixXd& data);

// Refuses a regression when no transformed x-variable has been chosen.
void requirexvariable(const Eigen::VectorXd& fxlist);

// What an x-variable is, for the allometry report: "centroid size" or the
// x list's file name, after "ln of " or "log10 of " when it is transformed.
std::string xvariablename(const std::string& source, Transform lcode);

// An x list as read: its values and its file's name.
struct XList {
  Eigen::MatrixXd values;
  std::string name;
};
// What a standardization was made with: the standard value as typed and as
// read, and the transform of x whose scale it is on. Saving writes these,
// whatever the boxes show by then.
struct StandardizedAt {
  std::string text;
  double value = 0;
  Transform lcode = Transform::none;
};

// An action string and the member of switchyard S that carries it out.
template <typename S>
struct SwitchyardAction {
  std::string_view name;
  void (S::*run)();
};

// The first action of `table` named exactly `action`; nullptr when none is.
template <typename S, size_t N>
const SwitchyardAction<S>* findnamedaction(const std::array<SwitchyardAction<S>, N>& table,
                                           std::string_view action) {
  for (const SwitchyardAction<S>& entry : table) {
    if (entry.name == action) return &entry;
  }
  return nullptr;
}

class SwitchyardPanel {
 public:
  using WindowLocator = std::function<std::optional<Handle>()>;

  SwitchyardPanel(Graphics& graphics, FileDialogs& dialogs)
      : graphics_(graphics), dialogs_(dialogs) {}

  Graphics& graphics() const { return graphics_; }
  FileDialogs& dialogs() const { return dialogs_; }

  // windowName names the window in messages ("Tarvolin2D").
  void setWindowLocator(std::string windowName, WindowLocator locator) {
    windowName_ = std::move(windowName);
    locator_ = std::move(locator);
  }

  // Before an action: refuses it (MissingError) when the switchyard's own
  // window is not open. True when that window is another one than the last
  // action's, so that the switchyard starts afresh.
  bool enterOwnWindow();
  // Makes the switchyard's own window current, for drawing into its axes.
  void makeOwnWindowCurrent();

  // Runs an action's body; an error ends it with the console line
  // "Error in ACTION: what is wrong", kept as the model's last error too.
  void run(std::string_view action, const std::function<void()>& body);

  Handle control(std::string_view tag) const;
  std::string text(std::string_view tag) const;
  double value(std::string_view tag) const;
  void setString(std::string_view tag, std::string text);
  void setValue(std::string_view tag, double value);
  void setEnable(std::string_view tag, bool on);
  void setVisible(std::string_view tag, bool on);

  // The switch Slide semilandmarks and its criterion (with the order of the
  // rounds), and Show sliding..., shown only while the data have points that
  // slide (`shown`): the switch set, and the criterion chosen, as `by` says
  // (nothing: the switch unset); Show sliding... enabled while it is set.
  void showSliding(bool shown, std::optional<SlideMethod> by);
  // The criterion chosen while the switch is on; nothing while it is off.
  std::optional<SlideMethod> slidingChosen() const;

  // The standard value typed in StandardBox, as typed (without surrounding
  // blanks) and as a number; an InputError when it is not a number.
  StandardizedAt standardValue(Transform lcode) const;

  // LoadxList: asks for an x list; returns it (nothing after a cancel), with
  // its summary written to XVarBox and the mismatch message box when its
  // length is not `specimens`.
  std::optional<XList> loadXList(Eigen::Index specimens);

  // LoadGroups: asks for the groups of the data set's specimens, `ids` in
  // its order, and reads them (see readgroups): a file ending in .csv or
  // .tsv (any letter case) as a table whose first column holds the specimen
  // IDs, its column "group" matched by ID; any other as one label per line
  // in the order of the data set. Returns them (nothing after a cancel) and
  // says in the status line how many groups were read; a file that does not
  // fit the data set is an InputError naming it.
  std::optional<SpecimenGroups> loadGroups(const std::vector<std::string>& ids);

  // UseX, UseLn, UseLog: the x-variable's transform, shown in the statistics
  // boxes (echoing each box's handle as h), proposed in StandardBox and
  // marked in the radio buttons; Accept x is enabled. Returns the
  // transformed values. A transform
  // that is refused (no x-variable, a logarithm of zero or negative values)
  // changes no box and leaves the buttons showing `inForce`, the transform
  // of the x-variable in use (none when there is none), whatever the click
  // switched on.
  Eigen::VectorXd showTransform(const Eigen::VectorXd& xlist, Transform lcode,
                                std::optional<Transform> inForce);

  // The status texts that say, in plain words, what a step did, in the
  // window whose button ran it ("Loaded 40 specimens with 14 landmarks from
  // skulls_zor.txt"). What was done with missing landmarks follows after
  // "; ", then the reader's notes (files passed over, coordinates
  // converted) and its notice of lines it did not read ("...; line 3 is
  // blank: the 2 lines after it were not read"), which go to the console too.
  void reportLoaded(Eigen::Index specimens, Eigen::Index landmarks, const std::string& file,
                    const std::string& missingDone = {}, const std::string& notice = {},
                    const std::vector<std::string>& notes = {});
  void reportCentroidSize(Eigen::Index specimens);
  // After the data were superimposed again: `done`, then what the check on
  // load found.
  void reportSuperimposed(const std::string& done);
  // A standard value outside the range of `fxlist` adds the warning that
  // the result is an extrapolation, also on the console.
  void reportStandardized(Eigen::Index specimens, const StandardizedAt& at,
                          const Eigen::VectorXd& fxlist);
  // "ln x = 3.0030": the standard value as typed, on its transform's scale.
  static std::string standardizedText(const StandardizedAt& at);

  // Acceptx: the standard value may now be standardized to, and the
  // allometry of the data set on x shown.
  void acceptX();

  // Clear's reset of the window: FileBox, XVarBox, the statistics and
  // standard boxes, the radio buttons and the enables of the later steps
  // (Load groups, Load sliders and Allometry too); the sliding switch hidden.
  void resetControls();

  // After a new data set is loaded, or the data superimposed again: the
  // x-variable and the standardization of the earlier one no longer hold,
  // nor the check and shape space made of it. Empties XVarBox and does what
  // resetXChoice does.
  void resetLaterSteps();

  // After a new x-variable is taken (centroid size, an x list): the
  // transform chosen for the earlier one no longer holds. Empties the
  // statistics and standard boxes, switches the transform buttons off, and
  // disables Accept x (until x, ln x or log10 x is chosen again; showTransform
  // enables it), Standardize, Allometry, Save standardized data and Show
  // standardized.
  void resetXChoice();

  // SaveFile: asks for a file name and writes sdata as the standardized-data
  // file, the last number of each line being the standard value on the raw
  // scale, or each row's own with CSBox set. Refused before the dialog when
  // StandardBox no longer shows the value the standardization used. The file
  // is written whole or not at all; a cancelled dialog writes nothing.
  void saveStandardized(const Eigen::MatrixXd& sdata, const std::optional<StandardizedAt>& at);

  // Allometry: the Procrustes ANOVA of the session's shape on its
  // transformed x, with the groups when a group table was loaded (see
  // allometryreport), in the
  // report window (see showallometry), opened or, when it is open,
  // refreshed; the report goes to the console too and the status line sums
  // it up. `module` is the switchyard the report window's buttons call. The
  // report is kept for its buttons.
  void showAllometry(const AnalysisSession& session, const std::string& datafile,
                     std::string_view superimposition, std::string_view module);
  // AllometryCopy: the report's text onto the clipboard.
  void copyAllometry();
  // AllometrySave: asks for a file and writes the table there as CSV, whole
  // or not at all; a cancelled dialog writes nothing.
  void saveAllometry();
  // The report shown last; nothing before the first Allometry.
  const std::optional<AllometryReport>& allometry() const { return allometry_; }

  // After a load, before reportLoaded: checks the data set at once when
  // that is quick (kCheckOnLoadCoordinates coordinates or fewer; the check
  // without the search for causes takes a few milliseconds there), so that
  // the status line can add "3 specimens look out of line: Check data...".
  // The note stays: the last status text of every later action in the
  // workflow's window gets it added (see keepOutOfLineNote) until other
  // data (or the same superimposed anew) are checked or the data go.
  void checkOnLoad(const AnalysisSession& session);
  // CheckData: the data check of the session's data set (see checkreport),
  // in the report window (see showcheck), opened or, when it is open,
  // refreshed; the findings go to the console too and the status line sums
  // them up. `module` is the switchyard the window's controls call.
  // `curves`: those the check tries reversed (reversiblecurves), judged in
  // `rowsAsRead` superimposed without sliding when those are given (data
  // whose semilandmarks slid).
  void showCheck(const AnalysisSession& session, const std::string& datafile,
                 std::string_view module, const std::vector<std::vector<int>>& curves = {},
                 const Eigen::MatrixXd& rowsAsRead = {});
  // CheckCopy: the report's text onto the clipboard.
  void copyCheck();
  // CheckSave: asks for a file and writes the table there as CSV, whole or
  // not at all; a cancelled dialog writes nothing.
  void saveCheck();
  // CheckSelect: the specimen (its row in the data set) of the row chosen
  // in the report's list, marked in the report's plot, with what the report
  // says of it in the status line; nothing when no row is chosen. Refused
  // (MissingError) when the data set changed since the check: the session's
  // is another.
  std::optional<Eigen::Index> checkChoice(const AnalysisSession& session);
  // The check shown last, while it belongs to the data set loaded.
  const std::optional<CheckReport>& check() const { return check_; }

  // ShapeSpace: the principal components of the session's superimposed
  // data, and of its standardized data when there are any, in the shape
  // space window (see showshapespace), opened or, when it is open,
  // refreshed. `module` is the switchyard the window's controls call.
  // `slid`: the points that slid in the superimposition, if any, which
  // take dimensions from shape space.
  void showShapeSpace(const AnalysisSession& session, const std::string& datafile,
                      std::string_view module, const Sliders* slid);
  // After Standardize: the shape space window, when it is open, offers (and
  // shows, when chosen) the analysis of the new standardized data.
  void shapeSpaceStandardized(const AnalysisSession& session);
  // ShapeSpaceRedraw: draws the analysis the window's choosers name.
  void redrawShapeSpace(const AnalysisSession& session);
  // ShapeSpaceSelect: the specimen clicked in the morphospace (the
  // callback's object), marked there and named in the status line: its row
  // in the data analysed, and those data. Refused (MissingError) when the
  // data set changed since the window was drawn.
  struct ShapeSpaceChoice {
    Eigen::Index specimen = 0;
    const Eigen::MatrixXd* data = nullptr;  // the session's data or standardized data
  };
  std::optional<ShapeSpaceChoice> shapeSpaceChoice(const AnalysisSession& session);
  // ShapeChange: the mean shape and the two ends of the component the
  // window's controls name (k x d each), as the plot window is to show them.
  struct ShapeChangeShown {
    Eigen::MatrixXd mean;
    std::vector<ShapeTarget> targets;
    double magnification = 1;
    bool grid = false;
    std::string what;   // for the status line
    std::string title;  // for the plot, shorter
  };
  ShapeChangeShown shapeChange(const AnalysisSession& session);
  // AllometryChange: the mean shape and the shapes the regression on the
  // transformed x predicts at its smallest and largest value.
  ShapeChangeShown allometryChange(const AnalysisSession& session) const;
  // ShapeScoresSave: asks for a file and writes the scores shown as CSV.
  void saveShapeScores();

  // ShowSliding: the sliding window (see showslidingview) of the session's
  // data set, opened or, when it is open, refreshed, on the specimen whose
  // semilandmarks slid farthest; refused (MissingError) when its fit did
  // not slide. `semilandmarks` says which points slid. `module` is the
  // switchyard the window's chooser calls.
  void showSlidingView(const AnalysisSession& session, const std::string& datafile,
                       std::string_view module, const Semilandmarks& semilandmarks);
  // SlidingSpecimen: the specimen chosen in the sliding window.
  void slidingSpecimenChosen(const AnalysisSession& session, const Semilandmarks& semilandmarks);
  // After the data set was loaded or superimposed again: an open sliding
  // window shows the fit now in force, on the specimen of the same ID where
  // there is one, or closes when that fit did not slide.
  void slidingChanged(const AnalysisSession& session, const std::string& datafile,
                      const Semilandmarks& semilandmarks);

 private:
  // The switchyard's own window; nothing without a locator, a MissingError
  // when the locator finds none open.
  std::optional<Handle> ownWindow() const;
  // Writes the statistics and standard boxes, echoing the statistics boxes'
  // handles as h when `echo` is set.
  void writeStatistics(const double (&statistics)[4], double proposed, bool echo);
  // Before a report window is drawn again for new data: what its status
  // line said (a specimen shown, an error) was said of the data it showed.
  void clearReportLine(const std::optional<ObjectId>& window);
  void showTransformButtons(std::optional<Transform> lcode);

  Graphics& graphics_;
  FileDialogs& dialogs_;
  std::string windowName_;
  WindowLocator locator_;
  std::optional<ObjectId> lastWindow_;
  std::optional<AllometryReport> allometry_;
  std::optional<ObjectId> allometryWindow_;
  std::optional<CheckReport> check_;
  std::optional<ObjectId> checkWindow_;
  std::optional<ObjectId> slidingWindow_;
  std::string slidingShown_;  // the ID of the specimen it shows
  // Closes the sliding window, when it is open; the window current before
  // stays current.
  void closeSliding();
  // Draws the sliding window's specimen of the session's fit.
  void drawSliding(const AnalysisSession& session, const Semilandmarks& semilandmarks,
                   Eigen::Index specimen);
  std::string loadNote_;       // what the check on load found, for reportLoaded
  std::string outOfLineNote_;  // the same, kept until the data change
  std::string outOfLineCount_;  // its words "3 specimens look out of line"
  // After an action whose last status text was `said`: says it again with
  // the out-of-line note added, where it went to the workflow's window and
  // does not name the specimens out of line already.
  void keepOutOfLineNote(const GraphicsChange& said);

  // The analyses the shape space window shows, of the data set they were
  // made of (its IDs), the standardized one of the standardization made at
  // `standardizedAt`.
  struct ShapeSpace {
    std::vector<std::string> ids;
    int dims = 3;
    std::string file;
    ShapePca superimposed;
    std::optional<ShapePca> standardized;
    std::optional<double> standardizedAt;
    std::optional<Eigen::Index> chosen;
    std::optional<SpecimenGroups> groups;
    Sliders slid;  // the points that slid, none when nothing did
  };
  // The analysis the window's switch names, made anew where the session's
  // standardization changed; a MissingError when the data set did.
  const ShapePca& shownAnalysis(const AnalysisSession& session);
  void drawShapeSpace();
  std::optional<ShapeSpace> shape_;
  std::optional<ObjectId> shapeWindow_;
};

}  // namespace tarvolin
