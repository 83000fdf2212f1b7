#include "core/clocalescope.h"

namespace tarvolin {
namespace {

// newlocale is far too slow to call for every number written, and the C
// locale never changes, so every thread shares one made on first use.
locale_t cLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return c;
}

}  // namespace

CLocaleScope::CLocaleScope() : previous_(uselocale(cLocale())) {}

CLocaleScope::~CLocaleScope() { uselocale(previous_); }

}  // namespace tarvolin
