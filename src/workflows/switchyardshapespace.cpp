// The shape space steps of both switchyards: the window, its choosers, the
// specimen clicked, the shape change and the scores saved.

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "core/csvtext.h"
#include "core/errors.h"
#include "core/sprintf.h"
#include "core/str2num.h"
#include "core/writefileatomic.h"
#include "numerics/noshapevariation.h"
#include "numerics/predictedshapes.h"
#include "numerics/shapespacedimensions.h"
#include "workflows/pcascorescsv.h"
#include "workflows/showshapespace.h"
#include "workflows/switchyardpanel.h"

namespace tarvolin {
namespace {

constexpr const char* kChangedData =
    "the data set has changed since shape space was drawn; click Shape space again";

// The landmarks of a shape in the data set's layout (X1 Y1 [Z1] ...), k x d.
Eigen::MatrixXd landmarksof(const Eigen::Ref<const Eigen::RowVectorXd>& shape, int dims) {
  const Eigen::Index k = shape.size() / dims;
  Eigen::MatrixXd x(k, dims);
  for (Eigen::Index i = 0; i < k; ++i) {
    for (int d = 0; d < dims; ++d) x(i, d) = shape(i * dims + d);
  }
  return x;
}

// The analysis the window keeps: the scores alone of the working copy, so
// that the window does not hold the data set again. No more components
// than the shape space of the data has, as on the command line.
ShapePca analysed(const Eigen::MatrixXd& data, int dims, const Sliders& slid, bool standardized) {
  const Eigen::Index variables = (data.cols() - 1) / dims * dims;
  const Eigen::Index dimensions = shapespacedimensions(dims, variables / dims, &slid, standardized);
  ShapePca pca =
      shapepca(data, variables, 0, PcaRoute::automatic, std::max<Eigen::Index>(dimensions, 1));
  if (pca.onlyrounding()) {
    throw MissingError(sameshapetext(pca.specimens, pca.totalVariance));
  }
  pca.scoreMemory.conservativeResize(Eigen::NoChange, pca.components());
  return pca;
}

// A box's number, within the range the box takes; `what` names it in the
// refusal.
double boxnumber(const Graphics& graphics, Handle window, std::string_view tag,
                 const std::string& what) {
  const ObjectDetails& box = graphics.object(graphics.findobj(tag, window).front()).details();
  const std::string& text = box.string;
  const auto [lowest, highest] = box.numbers.value_or(std::pair{-HUGE_VAL, HUGE_VAL});
  const Eigen::RowVectorXd read = str2num(text);
  if (read.size() != 1 || !(read(0) >= lowest && read(0) <= highest)) {
    throw InputError(
        sprintf("%s takes a number from %g to %g, not \"%s\"", what, lowest, highest, text));
  }
  return read(0);
}

}  // namespace

void SwitchyardPanel::showShapeSpace(const AnalysisSession& session, const std::string& datafile,
                                     std::string_view module, const Sliders* slid) {
  const Eigen::MatrixXd& data = session.data();
  requiredata(data);
  graphics_.status(sprintf("Finding the principal components of %i specimens ...", data.rows()));
  ShapeSpace shape;
  shape.ids = session.ids();
  shape.dims = session.dims();
  shape.file = std::filesystem::path(datafile).filename().string();
  shape.groups = session.groups();
  if (slid) shape.slid = *slid;
  shape.superimposed = analysed(data, shape.dims, shape.slid, false);
  if (session.standardizedAt() && session.standardized().data.rows() == data.rows()) {
    shape.standardized = analysed(session.standardized().data, shape.dims, shape.slid, true);
    shape.standardizedAt = session.standardizedAt();
  }
  shape_ = std::move(shape);
  clearReportLine(shapeWindow_);
  shapeWindow_ = showshapespace(
      graphics_, shapeWindow_, module,
      {shape_->file, shape_->dims, shape_->standardized.has_value(), session.groups().has_value()});
  drawShapeSpace();
  const ShapePca& shown = shape_->superimposed;
  graphics_.status(
      sprintf("%i components; PC1 holds %.1f%% of the variance. Click a specimen to see it in "
              "the plot window",
              shown.components(), shown.components() > 0 ? 100 * shown.proportions()(0) : 0.0));
}

void SwitchyardPanel::shapeSpaceStandardized(const AnalysisSession& session) {
  if (!shape_ || !shapeWindow_ || !graphics_.exists(*shapeWindow_)) return;
  if (shape_->ids != session.ids()) return;
  shape_->standardized = analysed(session.standardized().data, shape_->dims, shape_->slid, true);
  shape_->standardizedAt = session.standardizedAt();
  clearReportLine(shapeWindow_);
  showshapespace(graphics_, shapeWindow_, "",
                 {shape_->file, shape_->dims, true, session.groups().has_value()});
  drawShapeSpace();
}

const ShapePca& SwitchyardPanel::shownAnalysis(const AnalysisSession& session) {
  if (shape_ && (!shapeWindow_ || !graphics_.exists(*shapeWindow_))) {
    throw MissingError("the shape space window is closed; click Shape space to open it again");
  }
  if (!shape_ || shape_->ids != session.ids() ||
      session.data().rows() != static_cast<Eigen::Index>(shape_->ids.size())) {
    throw MissingError(kChangedData);
  }
  const Handle window = shapeWindow_->handle;
  const bool standardized = shapecontrolvalue(graphics_, window, tags::kShapeOfStandardized) != 0;
  if (!standardized) return shape_->superimposed;
  if (!session.standardizedAt()) {
    throw MissingError("there are no standardized data to analyse; click Standardize first");
  }
  if (!shape_->standardized || shape_->standardizedAt != session.standardizedAt()) {
    shape_->standardized = analysed(session.standardized().data, shape_->dims, shape_->slid, true);
    shape_->standardizedAt = session.standardizedAt();
  }
  return *shape_->standardized;
}

void SwitchyardPanel::drawShapeSpace() {
  const Handle window = shapeWindow_->handle;
  const bool standardized =
      shape_->standardized && shapecontrolvalue(graphics_, window, tags::kShapeOfStandardized) != 0;
  drawshapespace(graphics_, window, standardized ? *shape_->standardized : shape_->superimposed,
                 shape_->ids, shape_->groups, shape_->chosen,
                 standardized ? "standardized" : "superimposed");
}

void SwitchyardPanel::redrawShapeSpace(const AnalysisSession& session) {
  shownAnalysis(session);
  shape_->groups = session.groups();
  drawShapeSpace();
}

std::optional<SwitchyardPanel::ShapeSpaceChoice> SwitchyardPanel::shapeSpaceChoice(
    const AnalysisSession& session) {
  const ShapePca& pca = shownAnalysis(session);
  const std::optional<Handle> clicked = graphics_.gcbo();
  if (!clicked || !graphics_.isValid(*clicked)) return std::nullopt;
  // A copy: drawing anew replaces the point clicked.
  const std::string id = graphics_.object(*clicked).tag;
  const auto found = std::find(shape_->ids.begin(), shape_->ids.end(), id);
  if (found == shape_->ids.end()) return std::nullopt;
  const Eigen::Index specimen = found - shape_->ids.begin();
  shape_->chosen = specimen;
  shape_->groups = session.groups();
  drawShapeSpace();
  const Handle window = shapeWindow_->handle;
  const auto score = [&](std::string_view tag) {
    const Eigen::Index c = static_cast<Eigen::Index>(shapecontrolvalue(graphics_, window, tag)) - 1;
    return c >= 0 && c < pca.components() ? pca.scores()(specimen, c) : 0.0;
  };
  graphics_.status(
      window,
      sprintf("%s (PC%g %.4g, PC%g %.4g) is shown in the plot window", id,
              shapecontrolvalue(graphics_, window, tags::kShapePCX), score(tags::kShapePCX),
              shapecontrolvalue(graphics_, window, tags::kShapePCY), score(tags::kShapePCY)));
  const bool standardized = &pca != &shape_->superimposed;
  return ShapeSpaceChoice{specimen, standardized ? &session.standardized().data : &session.data()};
}

SwitchyardPanel::ShapeChangeShown SwitchyardPanel::shapeChange(const AnalysisSession& session) {
  const ShapePca& pca = shownAnalysis(session);
  const Handle window = shapeWindow_->handle;
  const Eigen::Index c =
      static_cast<Eigen::Index>(shapecontrolvalue(graphics_, window, tags::kShapeChangePC)) - 1;
  if (c < 0 || c >= pca.components()) {
    throw MissingError("there is no such component to show; choose one of PC1 to PC" +
                       std::to_string(pca.components()));
  }
  ShapeChangeShown shown;
  shown.magnification = boxnumber(graphics_, window, tags::kShapeMagnify, "Magnify");
  shown.grid = shape_->dims == 2 && shapecontrolvalue(graphics_, window, tags::kShapeChangeGrid);
  const bool bySD = shapecontrolvalue(graphics_, window, tags::kShapeChangeEnds) == 2;
  double low = pca.scores().col(c).minCoeff(), high = pca.scores().col(c).maxCoeff();
  std::string lowName, highName;
  const std::string pc = sprintf("PC%i", c + 1);
  if (bySD) {
    const double sds =
        boxnumber(graphics_, window, tags::kShapeChangeSD, "The number of standard deviations");
    const double sd = std::sqrt(pca.eigenvalues(c));
    low = -sds * sd;
    high = sds * sd;
    lowName = sprintf("%s mean - %g SD", pc, sds);
    highName = sprintf("%s mean + %g SD", pc, sds);
  } else {
    lowName = sprintf("%s lowest score (%.4g)", pc, low);
    highName = sprintf("%s highest score (%.4g)", pc, high);
  }
  shown.mean = landmarksof(pca.mean, shape_->dims);
  shown.targets = {{landmarksof(pca.shapeat(c, low), shape_->dims), lowName, "b"},
                   {landmarksof(pca.shapeat(c, high), shape_->dims), highName, "r"}};
  shown.title = sprintf("%s (%.1f%%)", pc, 100 * pca.proportions()(c));
  shown.what = "shape change along " + shown.title;
  if (shown.magnification != 1) {
    shown.title += sprintf(", magnified %g times", shown.magnification);
    shown.what += sprintf(", magnified %g times", shown.magnification);
  }
  return shown;
}

SwitchyardPanel::ShapeChangeShown SwitchyardPanel::allometryChange(
    const AnalysisSession& session) const {
  const Eigen::MatrixXd& data = session.data();
  requiredata(data);
  const Eigen::VectorXd& fx = session.fx();
  if (fx.size() != data.rows()) {
    throw MissingError("there is no x-variable to regress on yet; choose x, ln x or log10 x");
  }
  const int dims = session.dims();
  const Eigen::Index variables = (data.cols() - 1) / dims * dims;
  const Eigen::Vector2d at(fx.minCoeff(), fx.maxCoeff());
  const Eigen::MatrixXd ends = predictedshapes(data.leftCols(variables), fx, at);
  ShapeChangeShown shown;
  shown.mean = landmarksof(data.leftCols(variables).colwise().mean(), dims);
  shown.targets = {
      {landmarksof(ends.row(0), dims), sprintf("at the smallest x (%.4g)", at(0)), "b"},
      {landmarksof(ends.row(1), dims), sprintf("at the largest x (%.4g)", at(1)), "r"}};
  shown.grid = dims == 2;
  if (allometryWindow_ && graphics_.exists(*allometryWindow_)) {
    shown.magnification =
        boxnumber(graphics_, allometryWindow_->handle, tags::kAllometryMagnify, "Magnify");
  }
  shown.title = "shape change with x";
  shown.what = "shape change predicted from the smallest to the largest x";
  if (shown.magnification != 1) {
    shown.title += sprintf(", magnified %g times", shown.magnification);
    shown.what += sprintf(", magnified %g times", shown.magnification);
  }
  return shown;
}

void SwitchyardPanel::saveShapeScores() {
  if (!shape_ || !shapeWindow_ || !graphics_.exists(*shapeWindow_)) {
    throw MissingError("there are no scores to save; click Shape space first");
  }
  const bool standardized =
      shape_->standardized &&
      shapecontrolvalue(graphics_, shapeWindow_->handle, tags::kShapeOfStandardized) != 0;
  const ShapePca& pca = standardized ? *shape_->standardized : shape_->superimposed;
  const std::optional<FileChoice> choice =
      dialogs_.putFile("*.csv", "File Name for the Principal Component Scores");
  if (!choice) return;
  writefileatomic(choice->path(), pcascorescsv(pca, shape_->ids));
  graphics_.status(sprintf("Saved the scores of %i specimens on %i components to %s", pca.specimens,
                           pca.components(), choice->path()));
}

}  // namespace tarvolin
