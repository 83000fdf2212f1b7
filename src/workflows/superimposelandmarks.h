#pragma once
// Superimposes a landmark data set read from a file (or standardized from
// one), refusing a result that is not finite.
//
// data: N x (d k + 1), as superimposedataset takes it; dims: d, 2 or 3.
// path: the file the data came from, named in the error.
// Returns what superimposedataset returns (the stack only where withStack). A superimposition that
// holds a number that is not finite is an InputError naming the file: such a result is never
// stored, drawn or written.
// rounds: as superimposedataset takes them; a converging fit that does not meet its tolerance
// within maxRounds is an InputError naming the file too. With rounds.slide the semilandmarks slide:
// a specimen that cannot slide is an InputError naming the file and the specimen; a slide that
// does not meet its tolerance within its rounds is kept, its report saying so. Rounds that make no sense (a tolerance
// below 0, fewer than one round) are the caller's to refuse: std::invalid_argument.
//
// Example:
//   SuperimposedDataSet s = superimposelandmarks(std::move(file.data), file.path);
//   SuperimposedDataSet g = superimposelandmarks(std::move(data), path, 3, false,
//                                                GpaRounds{.converge = true, .tolerance = 1e-8});

#include <Eigen/Core>
#include <string>

#include "numerics/superimposedataset.h"

namespace tarvolin {

SuperimposedDataSet superimposelandmarks(Eigen::MatrixXd data, const std::string& path,
                                         int dims = 3, bool withStack = true,
                                         const GpaRounds& rounds = {});

}  // namespace tarvolin
