#include "wireshape3D.h"

#include <cmath>

#include "platform/console.h"
#include "platform/errors.h"
#include "platform/sprintf.h"

namespace tarvolin {

void wireshape3D(Graphics& graphics, const Eigen::MatrixXd& x, const Eigen::MatrixXd& wirelist,
                 std::string_view color) {
  console().echo("m", static_cast<double>(x.rows()));
  console().echo("n", static_cast<double>(x.cols()));
  if (wirelist.rows() > 0 && wirelist.cols() < 3) {
    throw InputError(
        sprintf("wire 1 has %i numbers; a wire is its number and the two landmarks it joins",
                wirelist.cols()));
  }
  const Eigen::Index k = x.rows();
  for (Eigen::Index i = 0; i < wirelist.rows(); ++i) {
    Eigen::Index ends[2];
    for (int e = 0; e < 2; ++e) {
      const double landmark = wirelist(i, 1 + e);
      if (!(landmark >= 1 && landmark <= static_cast<double>(k) &&
            landmark == std::floor(landmark))) {
        throw InputError(
            sprintf("wire %i joins landmark %g, but the configuration has landmarks 1 to %i", i + 1,
                    landmark, k));
      }
      ends[e] = static_cast<Eigen::Index>(landmark) - 1;
    }
    graphics.plot3(Eigen::RowVector2d(x(ends[0], 0), x(ends[1], 0)),
                   Eigen::RowVector2d(x(ends[0], 1), x(ends[1], 1)),
                   Eigen::RowVector2d(x(ends[0], 2), x(ends[1], 2)), color);
  }
}

}  // namespace tarvolin
