#pragma once
// One analysis without widgets: the data set, its x-variable and transform,
// the specimens' groups, and the standardization and allometry made of
// them. The command line drives it from its options, and each switchyard
// (Stand3sw, Standsw) from its window's buttons, so a window holds its data
// set once; the pipeline all share is standardizedataset's.
//
// Each step builds on the one before: a new data set forgets the
// x-variable, the groups and the standardization; a new x-variable the
// transform and the standardization. Every InputError a step raises says
// which input it concerns (see Input): the reads of an x list or groups
// are marked by the caller with readinginput, the steps' own errors here.
//
// Example:
//   AnalysisSession session;
//   session.load(std::move(rows), "skulls.txt", 3, ids, GpaRounds{}, false);
//   session.useCentroidSize("skulls.txt");
//   session.transform(Transform::ln);
//   const SuperimposedDataSet& s = session.standardize(session.proposedStandard(), {});

#include <Eigen/Core>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/readgroups.h"
#include "numerics/superimposedataset.h"
#include "numerics/transformx.h"
#include "workflows/allometryreport.h"

namespace tarvolin {

class AnalysisSession {
 public:
  // How standardize() treats the data and the result.
  struct Standardizing {
    // Superimpose the result again (the data were superimposed here).
    bool superimposeAgain = true;
    bool withStack = false;
    GpaRounds rounds;
    // Hands the data set over to the regression instead of copying it, for
    // a single standardization of a large data set; data() is empty after.
    bool releaseData = false;
    // Pool the slope within the groups loaded; the windows regress on the
    // data set as a whole, whatever groups they hold for the allometry.
    bool withinGroups = true;
    // Looks the result over before it is kept: what it throws leaves the
    // session's standardization as it was.
    std::function<void(const SuperimposedDataSet&)> vet;
  };

  // A data set of N rows of d k coordinates and the size, superimposed here
  // with `rounds`; `path` names it in messages.
  void load(Eigen::MatrixXd rows, std::string path, int dims, std::vector<std::string> ids,
            const GpaRounds& rounds, bool withStack);
  // A data set taken as superimposed already (the 2D window's).
  void loadSuperimposed(Eigen::MatrixXd rows, std::string path, int dims,
                        std::vector<std::string> ids);

  // x: the data set's size column, `source` naming where it came from.
  void useCentroidSize(std::string source);
  // x: one value per specimen, read from `source`.
  void setX(Eigen::VectorXd values, std::string source);
  // The x-variable on the scale the regression uses; an InputError (x) for
  // a logarithm of a value that is not positive.
  const Eigen::VectorXd& transform(Transform lcode);
  // The x-variable as the caller transformed it (the windows, which show
  // the transform's own refusal). Unlike transform(), it keeps the
  // standardization: that records the transform it was made on.
  void useTransformed(Eigen::VectorXd fx, Transform lcode);
  void setGroups(std::optional<SpecimenGroups> groups) { groups_ = std::move(groups); }
  // Nothing loaded, as at the start.
  void clear() { *this = AnalysisSession(); }
  // The windows' Clear: the data set, the x-variable, the groups and the
  // standardized data go; the stacks and means drawn from them, and the
  // transform last chosen, stay until the next data set replaces them.
  void forgetData();

  // The smallest transformed x, to four decimals: the standard value
  // proposed when none is given.
  double proposedStandard() const;

  // The data set standardized to `value` on the transformed scale: the
  // slope pooled within groups when more than one group is loaded.
  const SuperimposedDataSet& standardize(double value, const Standardizing& how);

  // The Procrustes ANOVA of shape on the transformed x, with the groups.
  AllometryReport allometry(const AllometryX& xvariable, const std::string& file,
                            std::string_view superimposition, const AllometryAsked& asked) const;

  // Hand the data set, or the standardized one, over to the caller, which
  // writes it: a large data set is never held twice.
  Eigen::MatrixXd releaseData();
  Eigen::MatrixXd releaseStandardized();

  const SuperimposedDataSet& loaded() const { return loaded_; }
  const Eigen::MatrixXd& data() const { return loaded_.data; }
  const std::string& path() const { return path_; }
  int dims() const { return dims_; }
  const std::vector<std::string>& ids() const { return ids_; }
  const Eigen::VectorXd& x() const { return x_; }
  const std::string& xSource() const { return xSource_; }
  const Eigen::VectorXd& fx() const { return fx_; }
  // After forgetData(), the transform last chosen, with no x-variable.
  std::optional<Transform> transformInForce() const { return lcode_; }
  const std::optional<SpecimenGroups>& groups() const { return groups_; }
  const SuperimposedDataSet& standardized() const { return standardized_; }
  std::optional<double> standardizedAt() const { return standardizedAt_; }

 private:
  void forgetX();

  SuperimposedDataSet loaded_;
  std::string path_;
  int dims_ = 3;
  std::vector<std::string> ids_;
  Eigen::VectorXd x_;
  std::string xSource_;
  Eigen::VectorXd fx_;
  std::optional<Transform> lcode_;
  std::optional<SpecimenGroups> groups_;
  SuperimposedDataSet standardized_;
  std::optional<double> standardizedAt_;
};

}  // namespace tarvolin
