#pragma once
// A landmark data set as the field's file formats hold it: N specimens of k
// landmarks in d dimensions (2 or 3), each specimen with its ID, and the
// landmarks that were not measured marked as missing.
//
// coords holds one specimen per row in the order of the data-set rows,
// X1 Y1 [Z1] X2 Y2 [Z2] ... Xk Yk [Zk]; a missing landmark's coordinates are
// NaN and its flag in `missing` is set. Present coordinates are as written in
// the file (a TPS SCALE= is not applied to them).
//
// size is the data set's trailing size column: the file's own size column
// where it has one (sizeGiven), otherwise each specimen's centroid size as
// read times its scale factor (NaN for a specimen with a missing landmark,
// until the missing landmarks are dealt with).
//
// landmarkdataset(set) gives the N x (dk + 1) data-set matrix, coordinates
// then size (from a set passed with std::move, in the memory of its
// coordinates, which it leaves empty); landmarksetof(data, d) the set of such
// a matrix (in its memory, when moved in), with IDs "1", "2", ... unless
// given.
//
// Example:
//   LandmarkSet set = landmarksetof(dload("skulls_zor.txt"), 3);
//   set.ids[0] == "1";  set.landmarks() == 14;
//   Eigen::MatrixXd data = landmarkdataset(set);   // the file's matrix again

#include <Eigen/Core>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tarvolin {

struct LandmarkSet {
  int dims = 3;
  Eigen::MatrixXd coords;        // N x (dims k)
  Eigen::VectorXd size;          // N
  bool sizeGiven = false;        // size came from the file, not from the coordinates
  std::vector<std::string> ids;  // N
  // N x k, true where a landmark is missing; empty (0 x 0) when none is.
  Eigen::Array<bool, Eigen::Dynamic, Eigen::Dynamic> missing;
  // k flags, true for points read as semilandmarks (TPS curves); empty when none.
  std::vector<bool> semilandmark;
  // The point counts of the curves the semilandmarks lie on, in order (a
  // TPS file's CURVES= and POINTS=); empty when the file has none.
  std::vector<int> curves;
  // Each specimen's scale factor (TPS SCALE=); empty when every one is 1.
  Eigen::VectorXd scale;
  // Pairs of 1-based landmark numbers the file gives as a wireframe.
  std::vector<std::pair<int, int>> wireframe;
  std::string path;  // the file or folder read
  // What the reader passed over without an error, for the user to hear of
  // ("line 3 is blank: the 2 lines after it were not read"); empty when
  // nothing was.
  std::string notice;
  // What the reader did that the user must be told of, one sentence each:
  // entries of a folder passed over, coordinates brought into one system.
  std::vector<std::string> notes;

  Eigen::Index specimens() const { return coords.rows(); }
  Eigen::Index landmarks() const { return dims > 0 ? coords.cols() / dims : 0; }
  bool hasMissing() const { return missing.size() != 0 && missing.any(); }
  double scaleOf(Eigen::Index i) const { return scale.size() == 0 ? 1.0 : scale(i); }
};

// The file formats landmark data is read from and written in.
enum class LandmarkFormat { zor, tps, nts, morphologika, csv, fcsv, mrkjson };

// How a file is read beyond what its content says.
struct ReadOptions {
  int dims = 0;                       // 2 or 3 where the caller knows; 0 when the file must say
  std::optional<double> missingCode;  // a coordinate equal to this is missing (--missing-code)
  // Every TPS record's raw coordinates, SCALE= not applied (--scale ignore):
  // a file whose records are scaled in part is refused without it.
  bool ignoreScale = false;
  // An ID given to several specimens is kept, for the data check to list;
  // otherwise such a file is refused, naming both.
  bool repeatedIds = false;
};

Eigen::MatrixXd landmarkdataset(const LandmarkSet& set);
Eigen::MatrixXd landmarkdataset(LandmarkSet&& set);

LandmarkSet landmarksetof(Eigen::MatrixXd data, int dims, std::vector<std::string> ids = {});

// Readers call it last, with every coordinate not measured set to NaN: it
// marks each landmark with a NaN coordinate as missing (all its coordinates
// NaN) and, where the file gave no size column, sets each specimen's size to
// its centroid size times its scale (NaN for a specimen with a missing
// landmark). A size too large to represent is an InputError naming set.path
// and the specimen (by ID where the set has them).
void finishlandmarkset(LandmarkSet& set);

}  // namespace tarvolin
