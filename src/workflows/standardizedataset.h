#pragma once
// The standardization of a data set for size, the one pipeline of both
// windows and the command line: every coordinate regressed on x (the common
// slope, or the slope pooled within groups when more than one group is
// given) and moved along its line to the standard value; the result is then
// superimposed again where the data were superimposed by the program.
//
// `data` is N x (d k + 1), the last column the size, which is kept. `fx` is
// the transformed x, one value per row, and `value` the standard value on
// its scale. With `again`, the standardized rows are superimposed (as
// superimposelandmarks does, naming again->path); without it they come back
// as the regression left them (the 2D window's data are superimposed
// already). Errors are InputErrors that say the input at fault (x, groups,
// standard value) but name no file.
//
// Example:
//   SuperimposedDataSet s = standardizedataset(data, fx, 2.5, std::nullopt,
//                                              Resuperimposition{path, 3});

#include <Eigen/Core>
#include <optional>
#include <string>

#include "formats/readgroups.h"
#include "numerics/superimposedataset.h"

namespace tarvolin {

// How the standardized rows are superimposed again.
struct Resuperimposition {
  std::string path;
  int dims = 3;
  bool withStack = true;
  GpaRounds rounds;
};

SuperimposedDataSet standardizedataset(Eigen::MatrixXd data,
                                       const Eigen::Ref<const Eigen::VectorXd>& fx, double value,
                                       const std::optional<SpecimenGroups>& groups,
                                       const std::optional<Resuperimposition>& again);

}  // namespace tarvolin
