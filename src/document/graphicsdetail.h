#pragma once
// What the files of the graphics model share: property and option names
// compared in any letter case, and a handle as messages show it.

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

#include "core/sprintf.h"
#include "document/handle.h"

namespace tarvolin::graphicsdetail {

inline bool sameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

inline std::string handleText(Handle h) { return sprintf("%.10g", h.value()); }

}  // namespace tarvolin::graphicsdetail
