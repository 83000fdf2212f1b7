#pragma once
// The warning for a standard value outside the range of x: the result is
// then an extrapolation of the regression beyond the specimens measured. It
// is allowed, and said in these words wherever a standardization runs.
//
// typed: the standard value as the user gave it ("300"), quoted in the text.
// value: that value, on the scale of fx.
// fx:    the x-variable after its transform, one value per specimen.
// lcode: the transform, named in the text (x, ln x, log10 x).
// Returns the warning, or nothing when the value lies within the range of
// fx or within it as the boxes show it (four decimals: the proposed
// standard, the minimum so rounded, is never warned about).
//
// Example:
//   standardvalueoutside("300", 300, fx, Transform::ln)
//     -> "the standard value 300 lies outside ln x, 3.0030 to 4.0965: the
//         result is an extrapolation"
//   standardvalueoutside("3.0030", 3.0030, fx, Transform::ln) -> nothing

#include <Eigen/Core>
#include <optional>
#include <string>
#include <string_view>

#include "numerics/transformx.h"

namespace tarvolin {

std::optional<std::string> standardvalueoutside(std::string_view typed, double value,
                                                const Eigen::Ref<const Eigen::VectorXd>& fx,
                                                Transform lcode);

}  // namespace tarvolin
