#pragma once
// Whether superimposed specimens have one and the same shape, so that what
// varies among them is only the rounding of their coordinates: statistics
// on it would report noise as shape variation. The rule is ShapePca's: the
// total variance (the squared deviations from the column means summed over
// all coordinates, divided by N - 1) is below 1e-20 of the mean shape's
// squared length.
//
// y: N x (d k), one specimen a row. Returns the refusal's words, or nothing
// when the shapes vary (or N < 2, which the caller refuses on its own).
//
// Example:
//   if (auto why = noshapevariation(y)) throw InputError(file, *why);
//   // "the 40 specimens have one and the same shape (total variance
//   //  3.1e-33): there is no shape variation to analyse"

#include <Eigen/Core>
#include <optional>
#include <string>

namespace tarvolin {

std::optional<std::string> noshapevariation(const Eigen::Ref<const Eigen::MatrixXd>& y);

// The words for N specimens of one shape whose total variance is `variance`.
std::string sameshapetext(Eigen::Index specimens, double variance);

}  // namespace tarvolin
