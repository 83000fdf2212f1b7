#include "stand3sw.h"

#include <cmath>

#include "geometry/getpprocon3.h"
#include "geometry/standardizedataset.h"
#include "geometry/superimposedataset.h"
#include "geometry/untransformx.h"
#include "gui/cla.h"
#include "gui/clf.h"
#include "loadlandmarkfile.h"
#include "loadxlist.h"
#include "platform/console.h"
#include "platform/errors.h"
#include "platform/median.h"
#include "platform/sprintf.h"
#include "platform/str2num.h"
#include "platform/writefileatomic.h"
#include "plot/showshape3D.h"
#include "plot/wireshape3D.h"
#include "shapes/mfloadtxt.h"
#include "shapes/standardizedtext.h"

namespace tarvolin {
namespace {

// An action that lacks what it needs: a value not yet there, a window gone.
class MissingError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

const char* const kStatisticBoxes[] = {"MinBox", "MaxBox", "MeanBox", "MedianBox"};

void requireData(const Eigen::MatrixXd& data) {
  if (data.size() == 0) throw MissingError("no data set is loaded; load one first");
}

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

void Stand3sw::operator()(std::string_view action) {
  if (!graphics_.lastError().empty()) graphics_.setLastError("");
  try {
    if (action == "LoadData") {
      loadData();
    } else if (action == "LoadWire") {
      loadWire();
    } else if (action == "Regress") {
      regress();
    } else if (action == "UseCS") {
      useCS();
    } else if (action == "ShowData") {
      showData();
    } else if (action == "LoadxList") {
      loadXList();
    } else if (action == "UseX") {
      transform(Transform::none);
    } else if (action == "UseLn") {
      transform(Transform::ln);
    } else if (action == "UseLog") {
      transform(Transform::log10);
    } else if (action == "Acceptx") {
      acceptX();
    } else if (action == "SaveFile") {
      saveFile();
    } else if (action == "Clear") {
      clear();
    } else if (action == "ShowRegress") {
      showRegress();
    } else if (action == "ClearFigure") {
      clearFigure();
    } else if (action == "CopyImage") {
      copyImage();
    } else {
      graphics_.msgbox("Fell Through case in switchyard");
    }
  } catch (const std::exception& e) {
    const std::string text = "Error in " + std::string(action) + ": " + e.what();
    console().disp(text);
    graphics_.setLastError(text);
  }
}

Handle Stand3sw::control(std::string_view tag) const {
  const std::vector<Handle> found = graphics_.findobj(tag);
  if (found.empty()) {
    throw GraphicsError("the window has no control tagged " + std::string(tag));
  }
  return found.front();
}

void Stand3sw::setString(std::string_view tag, std::string text) {
  graphics_.set(control(tag), "String", std::move(text));
}

void Stand3sw::setValue(std::string_view tag, double value) {
  graphics_.set(control(tag), "Value", value);
}

void Stand3sw::setEnable(std::string_view tag, bool on) {
  graphics_.set(control(tag), "Enable", std::string(on ? "On" : "Off"));
}

std::optional<double> Stand3sw::standardValue() const {
  const Eigen::RowVectorXd value = str2num(graphics_.getString(control("StandardBox"), "String"));
  if (value.size() != 1) return std::nullopt;
  return value(0);
}

void Stand3sw::selectPlotWindow() {
  if (state_.fighand1 && graphics_.isValid(*state_.fighand1) &&
      graphics_.object(*state_.fighand1).type == ObjectType::figure) {
    graphics_.figure(*state_.fighand1);
  } else {
    state_.fighand1 = graphics_.figure();
  }
}

template <typename Step>
void Stand3sw::inPlotWindow(std::string_view what, Step step) {
  const std::optional<Handle> remembered = graphics_.currentFigure();
  if (!state_.fighand1 || !graphics_.isValid(*state_.fighand1)) {
    throw MissingError("the plot window is closed; there is nothing to " + std::string(what));
  }
  graphics_.figure(*state_.fighand1);
  step();
  if (remembered && graphics_.isValid(*remembered)) graphics_.figure(*remembered);
}

bool Stand3sw::wireframeOn() const { return state_.wireactive && *state_.wireactive != 0; }

void Stand3sw::loadData() {
  const double zor = graphics_.getNumber(control("ZORButton"), "Value");
  LandmarkFile file;
  if (zor == 0) {
    console().echo("stemp", "using ZOR format");
    file = loadlandmarkfile(dialogs_, false);
  } else {
    file = loadlandmarkfile(dialogs_, true);
  }
  if (!file.chosen) return;

  const std::string summary =
      sprintf("%s \nhas %i specimens \nwith %i landmarks", file.fname, file.data.rows(),
              static_cast<double>(file.data.cols() - 1) / 3.0);
  SuperimposedDataSet loaded = superimposedataset(std::move(file.data));
  if (!state_.wireactive) state_.wireactive = 0;
  setString("FileBox", summary);
  state_.DATA = std::move(loaded.data);
  state_.DATAV = std::move(loaded.stack);
  state_.mean1 = std::move(loaded.mean);

  selectPlotWindow();
  showshape3D(graphics_, state_.mean1, "b*");
  showshape3D(graphics_, state_.DATAV, "bo");
  if (wireframeOn()) wireshape3D(graphics_, state_.mean1, state_.wirelist, "g");
  setEnable("UseCSButton", true);
  setEnable("LoadXButton", true);
}

void Stand3sw::loadWire() {
  const LoadedMatrix read = mfloadtxt(dialogs_);
  if (!read.chosen) return;
  if (!read.openError.empty()) throw InputError(read.path, "cannot be opened: " + read.openError);
  if (read.y.cols() < 3) {
    throw InputError(read.path, 1,
                     "has " + std::to_string(read.y.cols()) +
                         " numbers on a line; a wire is its number and the two landmarks it joins");
  }
  state_.wirelist = read.y;
  state_.wireactive = 1;
}

void Stand3sw::regress() {
  requireData(state_.DATA);
  if (state_.FXLIST.size() == 0) {
    throw MissingError("no x-variable has been chosen; choose x, ln x or log10 x first");
  }
  const std::string typed = graphics_.getString(control("StandardBox"), "String");
  const std::optional<double> svalue = standardValue();
  if (!svalue) throw InputError("the standard value \"" + typed + "\" is not a number");

  SuperimposedDataSet standardized = standardizedataset(state_.DATA, state_.FXLIST.col(0), *svalue);
  if (!standardized.data.allFinite()) {
    throw InputError("the standard value " + typed +
                     " lies so far outside the x values that the result is not finite");
  }
  state_.SDATA = std::move(standardized.data);
  state_.SDATAV = std::move(standardized.stack);
  state_.smean = std::move(standardized.mean);

  selectPlotWindow();
  cla(graphics_);
  showshape3D(graphics_, state_.smean, "r*");
  showshape3D(graphics_, state_.SDATAV, "ro");
  showshape3D(graphics_, getpprocon3(state_.smean, state_.DATAV), "bo");
  if (wireframeOn()) wireshape3D(graphics_, state_.smean, state_.wirelist, "k:");
  setEnable("SaveStandard", true);
  setEnable("ShowStandard", true);
}

void Stand3sw::useCS() {
  requireData(state_.DATA);
  state_.XLIST = state_.DATA.col(state_.DATA.cols() - 1);
}

void Stand3sw::showData() {
  if (state_.DATAV.empty()) throw MissingError("no data set has been loaded yet");
  selectPlotWindow();
  showshape3D(graphics_, state_.mean1, "b*");
  showshape3D(graphics_, state_.DATAV, "bo");
  if (wireframeOn()) wireshape3D(graphics_, state_.mean1, state_.wirelist, "g");
  graphics_.hold(true);
}

void Stand3sw::loadXList() {
  LoadedMatrix read = loadxlist(dialogs_);
  if (!read.chosen) return;
  const Eigen::Index values = read.y.rows();
  state_.XLIST = std::move(read.y);
  setString("XVarBox", sprintf("File %s \n %4.0f listed x values", read.fn, values));
  if (values != state_.DATA.rows()) {
    graphics_.msgbox(
        "The number of values in the x-list does not match the data set, please reload");
  }
}

void Stand3sw::transform(Transform lcode) {
  if (state_.XLIST.size() == 0) {
    throw MissingError("no x-variable has been chosen; use centroid size or load an x list first");
  }
  const Eigen::VectorXd fx = transformx(state_.XLIST.col(0), lcode, "");
  const double statistics[] = {fx.minCoeff(), fx.maxCoeff(), fx.mean(), median(fx)};
  state_.FXLIST = fx;
  state_.LCODE = lcode;
  for (int i = 0; i < 4; ++i) {
    const Handle h = control(kStatisticBoxes[i]);
    console().echo("h", h);
    graphics_.set(h, "String", sprintf("%4.4f", statistics[i]));
  }
  setString("StandardBox", sprintf("%4.4f", statistics[0]));
  setValue("XButton", lcode == Transform::none ? 1 : 0);
  setValue("LnButton", lcode == Transform::ln ? 1 : 0);
  setValue("LogButton", lcode == Transform::log10 ? 1 : 0);
}

void Stand3sw::acceptX() { setEnable("AcceptStandard", true); }

void Stand3sw::saveFile() {
  const double newcs = graphics_.getNumber(control("CSBox"), "Value");
  console().echo("newcs", newcs);
  const std::string typed = graphics_.getString(control("StandardBox"), "String");
  const std::optional<double> svalue = standardValue();
  if (state_.SDATA.size() == 0) {
    throw MissingError("there is no standardized data to save; standardize first");
  }
  std::optional<double> lastValue;
  if (newcs == 0) {
    if (!svalue) {
      throw InputError("the standard value \"" + typed + "\" is not a number; nothing was saved");
    }
    if (!state_.LCODE) throw MissingError("no transform of x has been chosen");
    lastValue = untransformx(*svalue, *state_.LCODE);
    if (!std::isfinite(*lastValue)) {
      throw InputError("the standard value " + typed + " is too large to write on the raw scale");
    }
  }
  const std::optional<FileChoice> choice =
      dialogs_.putFile("*.*", "File Name for Standardized Data");
  if (!choice) return;
  writefileatomic(choice->path(),
                  [&](const TextSink& write) { standardizedtext(state_.SDATA, lastValue, write); });
}

void Stand3sw::clear() {
  state_.DATA.resize(0, 0);
  state_.XLIST.resize(0, 0);
  state_.SDATA.resize(0, 0);
  state_.FXLIST.resize(0, 0);
  // The plot is emptied when its window is still open; a window the user
  // closed needs no clearing, and the reset of the boxes goes on regardless.
  if (state_.fighand1 && graphics_.isValid(*state_.fighand1)) {
    inPlotWindow("clear", [this] { cla(graphics_); });
  }
  setString("FileBox", "No Data Loaded");
  const std::string zero = sprintf("%4.4f", 0);
  for (const char* tag : kStatisticBoxes) {
    const Handle h = control(tag);
    console().echo("h", h);
    graphics_.set(h, "String", zero);
  }
  setString("StandardBox", zero);
  for (const char* tag : {"XButton", "LnButton", "LogButton"}) setValue(tag, 0);
  for (const char* tag : {"AcceptStandard", "SaveStandard", "ShowStandard", "GoRegress",
                          "UseCSButton", "LoadXButton"}) {
    setEnable(tag, false);
  }
}

void Stand3sw::showRegress() {
  graphics_.hold(true);
  const Eigen::MatrixXd& sdata = state_.SDATA;
  Eigen::RowVectorXd x, y, z;
  if (sdata.rows() > 0) {
    for (Eigen::Index i = 0; i < sdata.rows(); ++i) {
      rowPoints(sdata, i, x, y, z);
      graphics_.plot3(x, y, z, "rs");
    }
    rowPoints(sdata.colwise().mean(), 0, x, y, z);
    graphics_.plot3(x, y, z, "ks");
  }
  graphics_.axis("auto");
  graphics_.axis("equal");
  graphics_.hold(true);
}

void Stand3sw::clearFigure() {
  inPlotWindow("clear", [this] { clf(graphics_); });
}

void Stand3sw::copyImage() {
  inPlotWindow("copy", [this] { graphics_.print("-dmeta"); });
}

}  // namespace tarvolin
