#include "numerics/checkdata.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <stdexcept>
#include <string>

#include "numerics/fitdistance.h"
#include "numerics/sizeinotherunits.h"
#include "numerics/swapcandidates.h"

namespace tarvolin {
namespace {

using Eigen::Index;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Sizes as far from a limit as rounding takes them (exp of a log) are in line.
constexpr double kRoundingSize = 1e-9;

// Specimen `row` as a configuration, k x dims, from its X1 Y1 [Z1] ... row.
Eigen::MatrixXd configurationOf(const Eigen::MatrixXd& data, Index row, Index landmarks, int dims) {
  Eigen::MatrixXd x(landmarks, dims);
  for (Index j = 0; j < landmarks; ++j) {
    for (int c = 0; c < dims; ++c) x(j, c) = data(row, dims * j + c);
  }
  return x;
}

// The distances of every specimen to the mean shape and the landmark of each
// that lies farthest from the mean's, one pass down the columns.
void measureDistances(const Eigen::MatrixXd& data, const Eigen::RowVectorXd& mean, int dims,
                      DataCheck& check) {
  const Index n = data.rows();
  Eigen::ArrayXd squared = Eigen::ArrayXd::Zero(n);
  Eigen::ArrayXd farthest = Eigen::ArrayXd::Constant(n, -1.0);
  Eigen::ArrayXi farthestLandmark = Eigen::ArrayXi::Ones(n);
  Eigen::ArrayXd landmark(n);
  for (Index j = 0; j < check.landmarks; ++j) {
    landmark.setZero();
    for (int c = 0; c < dims; ++c) {
      const Index column = dims * j + c;
      landmark += (data.col(column).array() - mean(column)).square();
    }
    squared += landmark;
    for (Index i = 0; i < n; ++i) {
      if (landmark(i) > farthest(i)) {
        farthest(i) = landmark(i);
        farthestLandmark(i) = static_cast<int>(j + 1);
      }
    }
  }
  for (Index i = 0; i < n; ++i) {
    SpecimenCheck& s = check.specimens[static_cast<size_t>(i)];
    s.distance = std::sqrt(squared(i));
    s.farthestLandmark = farthestLandmark(i);
  }
}

// Farthest first; a distance that is not a number counts as the farthest
// of all (something went wrong with that specimen); ties keep their order.
void rankDistances(DataCheck& check) {
  const auto n = static_cast<Index>(check.specimens.size());
  auto key = [&](Index i) {
    const double d = check.specimens[static_cast<size_t>(i)].distance;
    return std::isnan(d) ? std::numeric_limits<double>::infinity() : d;
  };
  check.byRank.resize(static_cast<size_t>(n));
  std::iota(check.byRank.begin(), check.byRank.end(), Index{0});
  std::stable_sort(check.byRank.begin(), check.byRank.end(),
                   [&](Index a, Index b) { return key(a) > key(b); });
  for (size_t r = 0; r < check.byRank.size(); ++r) {
    check.specimens[static_cast<size_t>(check.byRank[r])].rank = static_cast<int>(r + 1);
  }
}

void flagDistances(DataCheck& check) {
  std::vector<double> finite;
  for (const SpecimenCheck& s : check.specimens) {
    if (std::isfinite(s.distance)) finite.push_back(s.distance);
  }
  check.quartiles = quartiles(
      Eigen::Map<const Eigen::VectorXd>(finite.data(), static_cast<Index>(finite.size())));
  const auto& [q1, q2, q3] = check.quartiles;
  check.limit = q3 + 1.5 * (q3 - q1);
  for (SpecimenCheck& s : check.specimens) {
    s.outlier =
        !std::isfinite(s.distance) || (s.distance > check.limit && s.distance > kRoundingDistance);
  }
}

void flagSizes(const Eigen::MatrixXd& data, DataCheck& check) {
  const Index sizeColumn = data.cols() - 1;
  std::vector<double> logs;
  for (size_t i = 0; i < check.specimens.size(); ++i) {
    SpecimenCheck& s = check.specimens[i];
    s.size = data(static_cast<Index>(i), sizeColumn);
    if (std::isfinite(s.size) && s.size > 0) logs.push_back(std::log(s.size));
  }
  const auto [q1, q2, q3] =
      quartiles(Eigen::Map<const Eigen::VectorXd>(logs.data(), static_cast<Index>(logs.size())));
  const double reach = 1.5 * (q3 - q1);
  check.sizeLimits = {std::exp(q1 - reach), std::exp(q3 + reach)};
  check.sizeMedian = std::exp(q2);
  const auto [low, high] = check.sizeLimits;
  for (SpecimenCheck& s : check.specimens) {
    const bool positive = std::isfinite(s.size) && s.size > 0;
    s.sizeOutlier =
        !positive || s.size < low * (1 - kRoundingSize) || s.size > high * (1 + kRoundingSize);
    s.wrongUnits = positive && s.sizeOutlier && sizeinotherunits(s.size / check.sizeMedian);
  }
}

// A cause explains an outlier when it brings its distance below the limit
// and takes off more than the spread of the typical distances (Q3 - Q1): a
// specimen just past the limit is taken a hair below it by some exchange or
// other, which explains nothing.
bool explains(double distance, double after, const DataCheck& check) {
  return after < check.limit && distance - after > check.quartiles[2] - check.quartiles[0];
}

// Whether an exchange of two landmarks, or the mirror image, would bring an
// outlier back: only the few exchanges that promise most with the fit held
// are fitted again.
void seekCauses(const Eigen::MatrixXd& data, const Eigen::MatrixXd& meanShape, Index row,
                const DataCheck& check, SpecimenCheck& s) {
  const Eigen::MatrixXd x = configurationOf(data, row, check.landmarks, check.dims);
  for (const std::array<int, 2>& pair : swapcandidates(x, meanShape, kSwapRefits)) {
    Eigen::MatrixXd exchanged = x;
    exchanged.row(pair[0]).swap(exchanged.row(pair[1]));
    const double distance = fitdistance(meanShape, std::move(exchanged));
    if (!s.swapDistance || distance < *s.swapDistance ||
        (std::isnan(*s.swapDistance) && !std::isnan(distance))) {
      s.swap = std::array<int, 2>{pair[0] + 1, pair[1] + 1};
      s.swapDistance = distance;
    }
  }
  Eigen::MatrixXd mirror = x;
  mirror.col(0) = -mirror.col(0);
  s.mirroredDistance = fitdistance(meanShape, std::move(mirror));
  s.mirrored = explains(s.distance, *s.mirroredDistance, check);
  s.swapped = s.swapDistance && explains(s.distance, *s.swapDistance, check);
}

// Whether a curve digitized from its other end would bring the outlier
// back: its points in reverse order, with its ends (a curve digitized
// whole) and without them (a curve between two landmarks, which stay).
// `data` and `check` are the fit the reversal is judged in.
void seekReversedCurve(const Eigen::MatrixXd& data, const Eigen::MatrixXd& meanShape, Index row,
                       const std::vector<std::vector<int>>& curves, const DataCheck& check,
                       SpecimenCheck& s) {
  const Eigen::MatrixXd x = configurationOf(data, row, check.landmarks, check.dims);
  const double from = check.specimens[static_cast<size_t>(row)].distance;
  if (!std::isfinite(from)) return;
  for (size_t c = 0; c < curves.size(); ++c) {
    const std::vector<int>& points = curves[c];
    for (const size_t end : {size_t{0}, size_t{1}}) {
      if (points.size() < 2 * end + 2) continue;
      const size_t first = end, past = points.size() - end;  // reversed: [first, past)
      Eigen::MatrixXd reversed = x;
      for (size_t p = first; p < past; ++p) {
        reversed.row(points[p]) = x.row(points[first + past - 1 - p]);
      }
      const double distance = fitdistance(meanShape, std::move(reversed));
      if (!s.curveDistance || distance < *s.curveDistance ||
          (std::isnan(*s.curveDistance) && !std::isnan(distance))) {
        s.curve = static_cast<int>(c + 1);
        s.curveDistance = distance;
      }
    }
  }
  s.curveFrom = from;
  s.reversed = s.curveDistance && explains(from, *s.curveDistance, check);
}

Eigen::MatrixXd meanShapeOf(const Eigen::MatrixXd& data, int dims, int landmarks) {
  const Eigen::RowVectorXd mean = data.leftCols(data.cols() - 1).colwise().mean();
  return Eigen::Map<const Eigen::MatrixXd>(mean.data(), dims, landmarks).transpose();
}

void refuseCurvesOutside(const std::vector<std::vector<int>>& curves, int landmarks) {
  for (size_t c = 0; c < curves.size(); ++c) {
    for (const int point : curves[c]) {
      if (point < 0 || point >= landmarks) {
        throw std::invalid_argument("checkdata: curve " + std::to_string(c + 1) + " names point " +
                                    std::to_string(point) + " of " + std::to_string(landmarks));
      }
    }
  }
}

}  // namespace

ShapeCause SpecimenCheck::likeliestCause() const {
  ShapeCause cause = ShapeCause::none;
  double nearest = std::numeric_limits<double>::infinity();
  const auto consider = [&](bool explained, const std::optional<double>& after, ShapeCause which) {
    if (explained && after && (cause == ShapeCause::none || *after < nearest)) {
      cause = which;
      nearest = *after;
    }
  };
  consider(swapped && swap.has_value(), swapDistance, ShapeCause::swap);
  consider(mirrored, mirroredDistance, ShapeCause::mirror);
  consider(reversed && curve.has_value(), curveDistance, ShapeCause::curve);
  return cause;
}

int DataCheck::outOfLine() const {
  return static_cast<int>(
      std::count_if(specimens.begin(), specimens.end(),
                    [](const SpecimenCheck& s) { return s.outlier || s.sizeOutlier; }));
}

DataCheck checkdata(const Eigen::MatrixXd& data, int dims, bool causes,
                    const std::vector<std::vector<int>>& curves, const Eigen::MatrixXd& plain) {
  if (dims != 2 && dims != 3) {
    throw std::invalid_argument("checkdata: data are 2D or 3D, not " + std::to_string(dims) + "D");
  }
  DataCheck check;
  check.dims = dims;
  const bool shaped = data.cols() > dims && (data.cols() - 1) % dims == 0;
  if (shaped) check.landmarks = static_cast<int>((data.cols() - 1) / dims);
  if (data.rows() == 0) {
    check.quartiles = {kNaN, kNaN, kNaN};
    check.limit = kNaN;
    check.sizeLimits = {kNaN, kNaN};
    check.sizeMedian = kNaN;
    return check;
  }
  if (!shaped) {
    throw std::invalid_argument("checkdata: a data set of " + std::to_string(dims) +
                                "D landmarks has " + std::to_string(dims) +
                                " k + 1 columns for some k >= 1, not " +
                                std::to_string(data.cols()));
  }

  refuseCurvesOutside(curves, check.landmarks);

  const Index n = data.rows();
  const Index coordinates = data.cols() - 1;
  Eigen::RowVectorXd mean(coordinates);
  for (Index c = 0; c < coordinates; ++c) mean(c) = data.col(c).sum() / static_cast<double>(n);

  check.specimens.resize(static_cast<size_t>(n));
  measureDistances(data, mean, dims, check);
  rankDistances(check);
  flagDistances(check);
  flagSizes(data, check);
  if (!causes) return check;

  const Eigen::MatrixXd meanShape =
      Eigen::Map<const Eigen::MatrixXd>(mean.data(), dims, check.landmarks).transpose();
  for (Index i = 0; i < n; ++i) {
    SpecimenCheck& s = check.specimens[static_cast<size_t>(i)];
    // A specimen that could not be superimposed has nothing to fit again.
    if (s.outlier && std::isfinite(s.distance)) seekCauses(data, meanShape, i, check, s);
  }
  if (curves.empty()) return check;
  // Sliding moves a reversed curve's points along the curve, away from the
  // places reversing them again would restore: the reversal is judged in
  // the fit without sliding, when there is one.
  const bool apart = plain.rows() == n && plain.cols() == data.cols();
  const DataCheck plainCheck = apart ? checkdata(plain, dims, false) : DataCheck{};
  const Eigen::MatrixXd plainMean = apart ? meanShapeOf(plain, dims, check.landmarks) : meanShape;
  for (Index i = 0; i < n; ++i) {
    SpecimenCheck& s = check.specimens[static_cast<size_t>(i)];
    if (!s.outlier || !std::isfinite(s.distance)) continue;
    seekReversedCurve(apart ? plain : data, plainMean, i, curves, apart ? plainCheck : check, s);
  }
  return check;
}

}  // namespace tarvolin
