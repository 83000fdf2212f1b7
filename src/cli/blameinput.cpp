#include "cli/clisteps.h"

namespace tarvolin {

[[noreturn]] void blameinput(const InputError& e, const std::optional<SpecimenGroups>& groups,
                             const std::string& xSource, const std::string& dataPath) {
  if (!e.file().empty()) throw e;
  switch (e.input()) {
    case Input::groups:
      if (groups) throw InputError(groups->source, e.message()).concerning(Input::groups);
      break;
    case Input::x:
    case Input::standardValue:
      // The standard value is on x's scale: x's file says what it measures.
      throw InputError(xSource, e.message()).concerning(e.input());
    default:
      break;
  }
  throw InputError(dataPath, e.message()).concerning(Input::data);
}

}  // namespace tarvolin
