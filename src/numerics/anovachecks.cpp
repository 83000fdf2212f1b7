#include "numerics/anovachecks.h"

#include <string>
#include <vector>

#include "core/errors.h"

namespace tarvolin {

using Index = Eigen::Index;

void checkanovainput(Index n, const AnovaDesign& design, int permutations) {
  if (design.x.size() != n) {
    throw InputError("the x-variable has " + std::to_string(design.x.size()) + " values for " +
                     std::to_string(n) + " specimens; it needs one value per specimen")
        .concerning(Input::x);
  }
  if (permutations < 0 || permutations > 100000) {
    throw InputError("the number of permutations must lie between 0 and 100000, not " +
                     std::to_string(permutations))
        .concerning(Input::option);
  }
  // One specimen (or none) is the model's matter: it has more parameters.
  if (n >= 2 && (design.x.array() == design.x(0)).all()) {
    throw InputError("every specimen has the same x value; shape cannot be regressed on it")
        .concerning(Input::x);
  }
  if (!design.groupOf.empty()) {
    const int groups = static_cast<int>(design.groupNames.size());
    if (static_cast<Index>(design.groupOf.size()) != n) {
      throw InputError("the groups name " + std::to_string(design.groupOf.size()) +
                       " specimens for " + std::to_string(n) + "; every specimen needs a group")
          .concerning(Input::groups);
    }
    std::vector<int> sizes(static_cast<size_t>(groups), 0);
    for (int g : design.groupOf) ++sizes.at(static_cast<size_t>(g));
    for (int g = 0; g < groups; ++g) {
      if (sizes[static_cast<size_t>(g)] < 2) {
        throw InputError("group \"" + design.groupNames[static_cast<size_t>(g)] + "\" has " +
                         (sizes[static_cast<size_t>(g)] == 1 ? "one specimen" : "no specimen") +
                         "; every group needs two or more")
            .concerning(Input::groups);
      }
    }
  }
}

}  // namespace tarvolin
