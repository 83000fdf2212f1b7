#pragma once
// What the 3D and the 2D switchyards do alike with their window: find a
// control by its tag, read and write it, report an action's error, and the
// x-variable, reset and save steps, which both workflows share word for word.
//
// Controls are looked up in the switchyard's own window, which a locator
// names (the newest open window of its figure file), so that two windows
// carrying the same tags never write into each other. Without a locator the
// whole graphics model is searched (a single test window, for instance).
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

#include "geometry/transformx.h"
#include "platform/filedialogs.h"
#include "platform/graphics.h"

namespace tarvolin {

// An action that lacks what it needs: a value not yet there, a window gone.
class MissingError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Refuses a step that needs a loaded data set when none is loaded.
void requiredata(const Eigen::MatrixXd& data);

// Refuses a regression when no transformed x-variable has been chosen.
void requirexvariable(const Eigen::MatrixXd& fxlist);

// An action string and the member of switchyard S that carries it out.
template <typename S>
struct SwitchyardAction {
  std::string_view name;
  void (S::*run)();
};

// Runs the first action of `table` named exactly `action`; false when none is.
template <typename S, size_t N>
bool runnamedaction(S& switchyard, const std::array<SwitchyardAction<S>, N>& table,
                    std::string_view action) {
  for (const SwitchyardAction<S>& entry : table) {
    if (entry.name == action) {
      (switchyard.*entry.run)();
      return true;
    }
  }
  return false;
}

class SwitchyardPanel {
 public:
  using WindowLocator = std::function<std::optional<Handle>()>;

  SwitchyardPanel(Graphics& graphics, FileDialogs& dialogs)
      : graphics_(graphics), dialogs_(dialogs) {}

  Graphics& graphics() const { return graphics_; }
  FileDialogs& dialogs() const { return dialogs_; }

  void setWindowLocator(WindowLocator locator) { locator_ = std::move(locator); }

  // Runs an action's body; an error ends it with the console line
  // "Error in ACTION: what is wrong", kept as the model's last error too.
  void run(std::string_view action, const std::function<void()>& body);

  Handle control(std::string_view tag) const;
  std::string text(std::string_view tag) const;
  double value(std::string_view tag) const;
  void setString(std::string_view tag, std::string text);
  void setValue(std::string_view tag, double value);
  void setEnable(std::string_view tag, bool on);

  // The standard value typed in StandardBox, or nothing when it is not a number.
  std::optional<double> standardValue() const;

  // LoadxList: asks for an x list; returns it (nothing after a cancel), with
  // its summary written to XVarBox and the mismatch message box when its
  // length is not `specimens`.
  std::optional<Eigen::MatrixXd> loadXList(Eigen::Index specimens);

  // UseX, UseLn, UseLog: the x-variable's transform, shown in the statistics
  // boxes (echoing each box's handle as h), proposed in StandardBox and
  // marked in the radio buttons. Returns the transformed values; refuses a
  // logarithm of zero or negative values before changing anything.
  Eigen::VectorXd showTransform(const Eigen::MatrixXd& xlist, Transform lcode);

  // Clear's reset of the window: FileBox, the statistics and standard boxes,
  // the radio buttons and the enables of the later steps.
  void resetControls();

  // SaveFile: asks for a file name and writes sdata as the standardized-data
  // file, the last number of each line being the standard value on the raw
  // scale, or each row's own with CSBox set. The file is written whole or not
  // at all; a cancelled dialog writes nothing.
  void saveStandardized(const Eigen::MatrixXd& sdata, std::optional<Transform> lcode);

 private:
  Graphics& graphics_;
  FileDialogs& dialogs_;
  WindowLocator locator_;
};

}  // namespace tarvolin
