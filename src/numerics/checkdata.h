#pragma once
// Looks a superimposed data set over for specimens that do not belong: one
// far from the mean shape (and whether two of its landmarks exchanged, or
// its mirror image, would bring it back), and one whose centroid size is
// out of line with the others' (a specimen measured in other units).
//
// data: N x (d k + 1), one superimposed specimen per row, X1 Y1 [Z1] ... and
//       the size column (each specimen's centroid size before it was scaled).
// dims: 2 or 3.
//
// The figures, by their definitions:
// - distance: the root of the summed squared differences between the
//   specimen's coordinates and the mean of all specimens' coordinates (the
//   mean shape, as it is, not rescaled).
// - quartiles Q1, Q2, Q3 of the distances by linear interpolation between
//   order statistics (R's default, "type 7": the value at position
//   1 + (N - 1) p of the sorted list); limit = Q3 + 1.5 (Q3 - Q1). A
//   specimen is an outlier when its distance exceeds the limit (and exceeds
//   kRoundingDistance, so that copies of one shape, whose distances are all
//   rounding, show none). A distance that is not a number (a specimen that
//   could not be superimposed) makes an outlier, ranks first and is left
//   out of the quartiles.
// - farthestLandmark: the landmark (from 1) that lies farthest from the
//   mean's; the first such on a tie.
// - For an outlier, with `causes`: swap, the pair of landmarks (from 1,
//   a < b) whose exchange brings the specimen closest to the mean shape,
//   fitted to it again after the exchange (centred, scaled to unit centroid
//   size, turned by the proper rotation that fits it best); swapDistance,
//   that distance. The pairs are ranked by the change an exchange makes to
//   the distance with the fit held, and only the best kSwapRefits are fitted
//   again. mirroredDistance: the distance of its mirror image (the first
//   coordinate reversed), fitted so. swapped and mirrored: the cause
//   explains the outlier, bringing its distance below the limit and taking
//   off more than Q3 - Q1 (a specimen just past the limit is brought a hair
//   below it by some exchange or other, which explains nothing).
// - For an outlier, with `causes` and `curves` (each curve's points, from 0,
//   in the order they were digitized, its two ends included; see
//   reversiblecurves): curve, the curve (from 1, in the order given) whose
//   points, their positions reversed within the specimen (all of them, or
//   all but the two ends, which may be landmarks the curve runs between),
//   bring it closest to the mean shape, fitted again; curveDistance, that
//   distance; reversed: the reversal explains the outlier, as the exchange
//   and the mirror image do. Where `plain` holds the same specimens
//   superimposed without sliding (data whose semilandmarks slid: sliding
//   moves a reversed curve's points along it, away from where reversing
//   them again would restore them), the reversal is judged in that fit:
//   its mean shape, distances and limit. curveFrom: the specimen's distance
//   in the fit the reversal was judged in.
//   likeliestCause() is the one of these that explains the outlier and
//   brings it nearest (an exchange before the mirror image before a curve
//   on a tie), or none: what the report names.
// - size: the size column. The same box rule on the natural log of the
//   sizes, both ends: sizeLimits are the ends of the box as sizes (exp of
//   Q1 - 1.5 IQR and of Q3 + 1.5 IQR of ln size), sizeMedian is exp of the
//   median of ln size. A size is out of line when it lies outside the limits
//   by more than rounding (a relative 1e-9), or is not a positive number.
//   Sizes that are not positive numbers (NaN, 0, negative, infinite) are
//   left out of the quartiles.
// - wrongUnits: a size out of line whose ratio to the median (the larger
//   over the smaller) looks like other units: see sizeinotherunits.
//
// Without `causes` only the distances, the limits and the flags are found
// (what a status line needs, in a time proportional to the data).
//
// Throws std::invalid_argument for dims other than 2 or 3, a data set
// whose columns are not d k + 1 for some k >= 1, or a curve that names a
// point the configurations do not have; N = 0 gives an empty check.
//
// Example:
//   DataCheck c = checkdata(session.data(), 3);
//   c.specimens[c.byRank[0]].distance   // the largest distance
//   c.specimens[11].swap                // {3, 9}: landmarks 3 and 9 look swapped

#include <Eigen/Core>
#include <array>
#include <optional>
#include <vector>

namespace tarvolin {

inline constexpr double kRoundingDistance = 1e-9;
inline constexpr int kSwapRefits = 4;

// The quartiles of `values` by linear interpolation between order
// statistics ("type 7"). NaN values are left out; a list with no other
// value gives NaN.
std::array<double, 3> quartiles(const Eigen::Ref<const Eigen::VectorXd>& values);

enum class ShapeCause { none, swap, mirror, curve };

struct SpecimenCheck {
  double distance = 0;
  int rank = 0;  // 1 for the specimen farthest from the mean shape
  bool outlier = false;
  int farthestLandmark = 0;  // from 1
  std::optional<std::array<int, 2>> swap;
  std::optional<double> swapDistance;
  bool swapped = false;  // the exchange explains the outlier
  bool mirrored = false;
  std::optional<double> mirroredDistance;
  std::optional<int> curve;  // from 1
  std::optional<double> curveDistance;
  double curveFrom = 0;
  bool reversed = false;  // the curve reversed explains the outlier
  double size = 0;
  bool sizeOutlier = false;
  bool wrongUnits = false;

  ShapeCause likeliestCause() const;
};

struct DataCheck {
  int dims = 3;
  int landmarks = 0;
  std::array<double, 3> quartiles{};
  double limit = 0;
  std::array<double, 2> sizeLimits{};
  double sizeMedian = 0;
  std::vector<SpecimenCheck> specimens;  // in the data set's order
  std::vector<Eigen::Index> byRank;      // the specimens from the farthest to the nearest

  // Specimens far from the mean shape or of a size out of line.
  int outOfLine() const;
};

DataCheck checkdata(const Eigen::MatrixXd& data, int dims, bool causes = true,
                    const std::vector<std::vector<int>>& curves = {},
                    const Eigen::MatrixXd& plain = {});

}  // namespace tarvolin
