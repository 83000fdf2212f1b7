#pragma once
// Standardizes a superimposed landmark data set to one value of the
// x-variable and superimposes the result again.
//
// data:   N x (dims k + 1), superimposed coordinates and the size column
//         (taken by value: move it in where it is no longer needed).
// fxlist: the x-variable on the regression's scale, one value per specimen.
// svalue: the standard value, on the same scale.
// notes:  where the self-check of each rotation writes.
// dims:   3, or 2 for flat data.
// Returns the standardized data set (superimposed coordinates, then the size
// column of data unchanged), the same configurations as a stack (3D only,
// unless withStack is false) and their consensus: standardsize, then
// superimposedataset, with its rounds (gparounds.h: three by default, as
// the standardization is defined) and its report in `fit`.
//
// Example:
//   SuperimposedDataSet s = standardizedataset(DATA, FXLIST, 1.25, consoleSink());
//   // s.data: SDATA, s.stack: SDATAV, s.mean: smean

#include <Eigen/Core>

#include "numerics/superimposedataset.h"

namespace tarvolin {

SuperimposedDataSet standardizedataset(Eigen::MatrixXd data,
                                       const Eigen::Ref<const Eigen::VectorXd>& fxlist,
                                       double svalue, const TextSink& notes, int dims = 3,
                                       bool withStack = true, const GpaRounds& rounds = {});

}  // namespace tarvolin
