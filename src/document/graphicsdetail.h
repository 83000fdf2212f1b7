#pragma once
// What the files of the graphics model share: property and option names
// compared in any letter case, and a handle as messages show it.

#include <string>
#include <string_view>

#include "core/sprintf.h"
#include "core/texthelpers.h"
#include "document/handle.h"

namespace tarvolin::graphicsdetail {

inline bool sameName(std::string_view a, std::string_view b) { return sameIgnoringCase(a, b); }

inline std::string handleText(Handle h) { return sprintf("%.10g", h.value()); }

}  // namespace tarvolin::graphicsdetail
