#include "formats/readcovariate.h"

#include "core/errors.h"
#include "core/quotedtext.h"
#include "formats/readrowtable.h"
#include "formats/readtablecolumn.h"

namespace tarvolin {
namespace {

Coordinate valueOf(const detail::TableColumn& column, std::string_view text) {
  return detail::tablecoordinate(text, column.delimiter == ';', {});
}

}  // namespace

Eigen::VectorXd readcovariate(const std::string& path, const std::string& column,
                              const std::vector<std::string>& ids) {
  const detail::TableColumn read = detail::readtablecolumn(
      path, column, ids,
      [&path](const detail::TableColumn& c, std::string_view text, long line,
              const std::string& id) {
        if (valueOf(c, text).kind == Coordinate::number) return;
        throw InputError(
            path, line,
            "specimen " + quotedtext(id) + ": " +
                (text.empty() ? "the column \"" + c.name + "\" is empty"
                              : "\"" + std::string(text.substr(0, 24)) + "\" in the column \"" +
                                    c.name + "\" is not a finite number"));
      });
  Eigen::VectorXd values(static_cast<Eigen::Index>(ids.size()));
  for (size_t i = 0; i < ids.size(); ++i) {
    values(static_cast<Eigen::Index>(i)) = valueOf(read, read.texts[i]).value;
  }
  return values;
}

}  // namespace tarvolin
