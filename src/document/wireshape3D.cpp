#include "document/wireshape3D.h"

#include "core/console.h"
#include "core/errors.h"
#include "core/sprintf.h"
#include "document/misfittingwire.h"

namespace tarvolin {

void wireshape3D(Graphics& graphics, const Eigen::MatrixXd& x, const Eigen::MatrixXd& wirelist,
                 std::string_view color, std::string_view name, PlotRole role) {
  console().echo("m", static_cast<double>(x.rows()));
  console().echo("n", static_cast<double>(x.cols()));
  if (wirelist.rows() > 0 && wirelist.cols() < 3) {
    throw InputError(
        sprintf("wire 1 has %i numbers; a wire is its number and the two landmarks it joins",
                wirelist.cols()));
  }
  const Eigen::Index k = x.rows();
  const std::optional<MisfittingWire> misfit = misfittingwire(wirelist, k);
  const Eigen::Index fitting = misfit ? misfit->row : wirelist.rows();
  for (Eigen::Index i = 0; i < fitting; ++i) {
    const auto a = static_cast<Eigen::Index>(wirelist(i, 1)) - 1;
    const auto b = static_cast<Eigen::Index>(wirelist(i, 2)) - 1;
    graphics.plot3(Eigen::RowVector2d(x(a, 0), x(b, 0)), Eigen::RowVector2d(x(a, 1), x(b, 1)),
                   Eigen::RowVector2d(x(a, 2), x(b, 2)), color, name, role);
  }
  if (misfit) {
    throw InputError(
        sprintf("wire %i joins landmark %g, but the configuration has landmarks 1 to %i",
                misfit->row + 1, misfit->landmark, k));
  }
}

}  // namespace tarvolin
