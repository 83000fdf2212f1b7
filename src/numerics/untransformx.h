#pragma once
// A value of the transformed x-variable back on the raw scale.
//
// value: on the scale that transformx gave with lcode.
// Returns value for none, e^value for ln, 10^value for log10: the inverse of
// transformx, used to write the standard value in raw units.
//
// Example:
//   untransformx(2.0, Transform::log10)  -> 100

#include "numerics/transformx.h"

namespace tarvolin {

double untransformx(double value, Transform lcode);

}  // namespace tarvolin
