#include "formats/refusemixedscales.h"

#include <algorithm>

#include "core/texthelpers.h"

namespace tarvolin {

void refusemixedscales(const std::vector<bool>& scaled, const std::vector<std::string>& names,
                       const std::string& fname) {
  const auto withScale = static_cast<size_t>(std::count(scaled.begin(), scaled.end(), true));
  if (withScale == 0 || withScale == scaled.size()) return;
  constexpr size_t kNamed = 10;
  std::string without;
  size_t count = 0;
  for (size_t i = 0; i < scaled.size(); ++i) {
    if (scaled[i]) continue;
    if (count < kNamed) without += (count == 0 ? "" : ", ") + names[i];
    ++count;
  }
  if (count > kNamed) without += " and " + std::to_string(count - kNamed) + " more";
  throw MixedScaleError(
      fname, without + (count == 1 ? " has" : " have") + " no SCALE= but the " +
                 plural(withScale, "other record") + (withScale == 1 ? " has" : " have") +
                 " one: the sizes would be in two units (raw and scaled); give every record a "
                 "SCALE=, or use the raw coordinates of every record");
}

}  // namespace tarvolin
