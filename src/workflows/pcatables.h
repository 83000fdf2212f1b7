#pragma once
// The figures of a principal component analysis of shape (shapepca) as
// text: the report tarvolin-cli pca prints, its JSON, the scores and the
// loadings as CSV, and the shapes along the components as a landmark set
// for the writers of every format. A large data set's scores (as many
// numbers as its coordinates) are written in pieces, formatted on every
// core, never held as text whole.
//
// pcatext: a line naming what was analysed, a line with the total
// variance, a table of the components (eigenvalue "%.6g", proportion and
// cumulative "%.5f", columns aligned), then the scores by specimen ID, each
// "%g" to the right of a column 13 wide (the widest "%g" writes), so that a
// large table is formatted in one pass:
//
//   Principal components of the superimposed coordinates: skulls.csv, 40 specimens, 14 landmarks
//   (3D) total variance 0.00160857 over 42 variables; 36 components
//
//   component   eigenvalue  proportion  cumulative
//   PC1         0.00103454     0.64315     0.64315
//   ...
//
//   id                  PC1            PC2  ...
//   skull_01      0.0271587     0.00255859  ...
//
// pcajson: {"file", "of", "specimens", "variables", "total_variance",
// "components": [{"pc", "eigenvalue", "proportion", "cumulative"}],
// "scores": [{"id", "pc": [...]}]}, the scores in the order of the data set,
// one specimen a line; numbers with every digit, the same in every locale.
//
// pcaloadingscsv: "variable,PC1,PC2,..." and a row per variable (x1, y1,
// [z1,] x2, ...) holding each eigenvector's element, every digit
// (csvnumber). The scores as CSV are pcascorescsv's (pcascorescsv.h).
//
// pcashapes: the mean shape and, for each component, the shapes at its
// smallest and largest score (mean + score x eigenvector), as specimens
// "mean", "PC1_min", "PC1_max", "PC2_min", ..., each with its centroid
// size as its size.
//
// Example:
//   ShapePca pca = shapepca(std::move(rows), 3 * k);
//   writefileatomic("loadings.csv", [&](const TextSink& write) { pcaloadingscsv(pca, 3, write); });

#include <Eigen/Core>
#include <functional>
#include <string>
#include <vector>

#include "core/writefileatomic.h"
#include "landmarks/landmarkset.h"
#include "numerics/shapepca.h"

namespace tarvolin {

// What the analysis was made of, as the report names it.
struct PcaRecord {
  std::string file;  // the data set's file name, without folders
  std::string of;    // "superimposed" or "standardized"
  // The coordinates in words: "superimposed coordinates", "coordinates
  // standardized to ln x = 3.0030".
  std::string what;
  int dims = 3;
};

void pcatext(const ShapePca& pca, const PcaRecord& record, const std::vector<std::string>& ids,
             const TextSink& sink);
void pcajson(const ShapePca& pca, const PcaRecord& record, const std::vector<std::string>& ids,
             const TextSink& sink);
void pcaloadingscsv(const ShapePca& pca, int dims, const TextSink& sink);
LandmarkSet pcashapes(const ShapePca& pca, int dims);

}  // namespace tarvolin
