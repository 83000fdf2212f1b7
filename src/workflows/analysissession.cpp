#include "workflows/analysissession.h"

#include "core/errors.h"
#include "numerics/proposedstandard.h"
#include "workflows/standardizedataset.h"
#include "workflows/superimposelandmarks.h"

namespace tarvolin {

void AnalysisSession::load(Eigen::MatrixXd rows, std::string path, int dims,
                           std::vector<std::string> ids, const GpaRounds& rounds, bool withStack) {
  SuperimposedDataSet superimposed = readinginput(Input::data, [&] {
    return superimposelandmarks(std::move(rows), path, dims, withStack, rounds);
  });
  *this = AnalysisSession();
  loaded_ = std::move(superimposed);
  path_ = std::move(path);
  dims_ = dims;
  ids_ = std::move(ids);
}

void AnalysisSession::loadSuperimposed(Eigen::MatrixXd rows, std::string path, int dims,
                                       std::vector<std::string> ids) {
  *this = AnalysisSession();
  loaded_.data = std::move(rows);
  path_ = std::move(path);
  dims_ = dims;
  ids_ = std::move(ids);
}

void AnalysisSession::forgetData() {
  loaded_.data.resize(0, 0);
  ids_.clear();
  groups_.reset();
  x_.resize(0);
  xSource_.clear();
  fx_.resize(0);
  standardized_.data.resize(0, 0);
  standardizedAt_.reset();
}

void AnalysisSession::forgetX() {
  // The transform, and what was standardized with it, belonged to the
  // earlier x-variable.
  fx_.resize(0);
  lcode_.reset();
  standardized_ = SuperimposedDataSet();
  standardizedAt_.reset();
}

void AnalysisSession::useCentroidSize(std::string source) {
  if (loaded_.data.cols() == 0) throw InputError("no data set has been loaded yet");
  setX(loaded_.data.col(loaded_.data.cols() - 1), std::move(source));
}

void AnalysisSession::setX(Eigen::VectorXd values, std::string source) {
  forgetX();
  x_ = std::move(values);
  xSource_ = std::move(source);
}

const Eigen::VectorXd& AnalysisSession::transform(Transform lcode) {
  Eigen::VectorXd fx = readinginput(Input::x, [&] { return transformx(x_, lcode, xSource_); });
  forgetX();
  fx_ = std::move(fx);
  lcode_ = lcode;
  return fx_;
}

void AnalysisSession::useTransformed(Eigen::VectorXd fx, Transform lcode) {
  fx_ = std::move(fx);
  lcode_ = lcode;
}

double AnalysisSession::proposedStandard() const { return proposedstandard(fx_); }

const SuperimposedDataSet& AnalysisSession::standardize(double value, const Standardizing& how) {
  std::optional<Resuperimposition> again;
  if (how.superimposeAgain) again = Resuperimposition{path_, dims_, how.withStack, how.rounds};
  Eigen::MatrixXd data = how.releaseData ? std::move(loaded_.data) : loaded_.data;
  if (how.releaseData) loaded_.data.resize(0, 0);
  const std::optional<SpecimenGroups> none;
  SuperimposedDataSet standardized =
      standardizedataset(std::move(data), fx_, value, how.withinGroups ? groups_ : none, again);
  if (how.vet) how.vet(standardized);
  standardized_ = std::move(standardized);
  standardizedAt_ = value;
  return standardized_;
}

Eigen::MatrixXd AnalysisSession::releaseData() {
  Eigen::MatrixXd data = std::move(loaded_.data);
  loaded_.data.resize(0, 0);
  return data;
}

Eigen::MatrixXd AnalysisSession::releaseStandardized() {
  Eigen::MatrixXd data = std::move(standardized_.data);
  standardized_.data.resize(0, 0);
  return data;
}

AllometryReport AnalysisSession::allometry(const AllometryX& xvariable, const std::string& file,
                                           std::string_view superimposition,
                                           const AllometryAsked& asked) const {
  return allometryreport(loaded_.data, fx_, xvariable, file, dims_, superimposition, groups_,
                         asked);
}

}  // namespace tarvolin
