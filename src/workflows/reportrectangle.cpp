#include "workflows/reportwindowparts.h"

namespace tarvolin {

Eigen::Vector4d reportrectangle(const PropertyValue& value) {
  const Eigen::MatrixXd& m = std::get<Eigen::MatrixXd>(value);
  return Eigen::Vector4d(m(0), m(1), m(2), m(3));
}

}  // namespace tarvolin
