#include "switchyardpanel.h"

#include <cmath>

#include "geometry/untransformx.h"
#include "loadxlist.h"
#include "platform/console.h"
#include "platform/errors.h"
#include "platform/median.h"
#include "platform/sprintf.h"
#include "platform/str2num.h"
#include "platform/writefileatomic.h"
#include "shapes/standardizedtext.h"

namespace tarvolin {
namespace {

const char* const kStatisticBoxes[] = {"MinBox", "MaxBox", "MeanBox", "MedianBox"};

}  // namespace

void requiredata(const Eigen::MatrixXd& data) {
  if (data.size() == 0) throw MissingError("no data set is loaded; load one first");
}

void requirexvariable(const Eigen::MatrixXd& fxlist) {
  if (fxlist.size() == 0) {
    throw MissingError("no x-variable has been chosen; choose x, ln x or log10 x first");
  }
}

void SwitchyardPanel::run(std::string_view action, const std::function<void()>& body) {
  if (!graphics_.lastError().empty()) graphics_.setLastError("");
  try {
    body();
  } catch (const std::exception& e) {
    const std::string text = "Error in " + std::string(action) + ": " + e.what();
    console().disp(text);
    graphics_.setLastError(text);
  }
}

Handle SwitchyardPanel::control(std::string_view tag) const {
  std::vector<Handle> found;
  if (locator_) {
    const std::optional<Handle> window = locator_();
    if (!window) throw MissingError("its window is not open");
    found = graphics_.findobj(tag, *window);
  } else {
    found = graphics_.findobj(tag);
  }
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
  graphics_.set(control(tag), "String", std::move(text));
}

void SwitchyardPanel::setValue(std::string_view tag, double value) {
  graphics_.set(control(tag), "Value", value);
}

void SwitchyardPanel::setEnable(std::string_view tag, bool on) {
  graphics_.set(control(tag), "Enable", std::string(on ? "On" : "Off"));
}

std::optional<double> SwitchyardPanel::standardValue() const {
  const Eigen::RowVectorXd typed = str2num(text("StandardBox"));
  if (typed.size() != 1) return std::nullopt;
  return typed(0);
}

std::optional<Eigen::MatrixXd> SwitchyardPanel::loadXList(Eigen::Index specimens) {
  LoadedMatrix read = loadxlist(dialogs_);
  if (!read.chosen) return std::nullopt;
  const Eigen::Index values = read.y.rows();
  setString("XVarBox", sprintf("File %s \n %4.0f listed x values", read.fn, values));
  if (values != specimens) {
    graphics_.msgbox(
        "The number of values in the x-list does not match the data set, please reload");
  }
  return std::move(read.y);
}

Eigen::VectorXd SwitchyardPanel::showTransform(const Eigen::MatrixXd& xlist, Transform lcode) {
  if (xlist.size() == 0) {
    throw MissingError("no x-variable has been chosen; use centroid size or load an x list first");
  }
  Eigen::VectorXd fx = transformx(xlist.col(0), lcode, "");
  const double statistics[] = {fx.minCoeff(), fx.maxCoeff(), fx.mean(), median(fx)};
  for (int i = 0; i < 4; ++i) {
    const Handle h = control(kStatisticBoxes[i]);
    console().echo("h", h);
    graphics_.set(h, "String", sprintf("%4.4f", statistics[i]));
  }
  setString("StandardBox", sprintf("%4.4f", statistics[0]));
  setValue("XButton", lcode == Transform::none ? 1 : 0);
  setValue("LnButton", lcode == Transform::ln ? 1 : 0);
  setValue("LogButton", lcode == Transform::log10 ? 1 : 0);
  return fx;
}

void SwitchyardPanel::resetControls() {
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

void SwitchyardPanel::saveStandardized(const Eigen::MatrixXd& sdata,
                                       std::optional<Transform> lcode) {
  const double newcs = value("CSBox");
  console().echo("newcs", newcs);
  const std::string typed = text("StandardBox");
  const std::optional<double> svalue = standardValue();
  if (sdata.size() == 0) {
    throw MissingError("there is no standardized data to save; standardize first");
  }
  std::optional<double> lastValue;
  if (newcs == 0) {
    if (!svalue) {
      throw InputError("the standard value \"" + typed + "\" is not a number; nothing was saved");
    }
    if (!lcode) throw MissingError("no transform of x has been chosen");
    lastValue = untransformx(*svalue, *lcode);
    if (!std::isfinite(*lastValue)) {
      throw InputError("the standard value " + typed + " is too large to write on the raw scale");
    }
  }
  const std::optional<FileChoice> choice =
      dialogs_.putFile("*.*", "File Name for Standardized Data");
  if (!choice) return;
  writefileatomic(choice->path(),
                  [&](const TextSink& write) { standardizedtext(sdata, lastValue, write); });
}

}  // namespace tarvolin
