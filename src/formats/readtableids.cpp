#include "formats/readtableids.h"

#include "core/errors.h"
#include "formats/readtablerows.h"

namespace tarvolin {

std::vector<std::string> readtableids(const std::string& path, const std::string& column) {
  detail::TableRows rows = detail::readtablerows(path, column, [](auto&&...) {});
  if (rows.ids.empty()) {
    throw InputError(path, "the table has no rows below its header; it needs a row per specimen");
  }
  return std::move(rows.ids);
}

}  // namespace tarvolin
