#include "formats/tablecolumnnamed.h"

#include <filesystem>
#include <system_error>

namespace tarvolin {

std::optional<TableColumnName> tablecolumnnamed(const std::string& given) {
  std::error_code error;
  const size_t colon = given.rfind(':');
  if (colon == std::string::npos || colon == 0 || std::filesystem::exists(given, error)) {
    return std::nullopt;
  }
  return TableColumnName{given.substr(0, colon), given.substr(colon + 1)};
}

}  // namespace tarvolin
