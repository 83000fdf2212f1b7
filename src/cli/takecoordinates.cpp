#include "cli/clisteps.h"

namespace tarvolin {

void takecoordinates(LandmarkSet& set, Eigen::MatrixXd data) {
  data.conservativeResize(Eigen::NoChange, data.cols() - 1);
  set.coords = std::move(data);
  // Superimposed coordinates are of centroid size 1, in no unit: no scale
  // factor applies to them (the size column keeps each specimen's).
  set.scale.resize(0);
}

}  // namespace tarvolin
