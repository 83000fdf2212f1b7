#include "cli/clisteps.h"
#include "formats/dload.h"
#include "formats/readcovariate.h"
#include "formats/tablecolumnnamed.h"

namespace tarvolin {
namespace {

// The x list of the file at `path`: one value per specimen, one per line.
Eigen::VectorXd loadXList(const std::string& path, Eigen::Index specimens, std::ostream& err) {
  std::string reason;
  std::string notice;
  const Eigen::MatrixXd read = dload(path, &reason, &notice);
  if (!reason.empty()) throw InputError(path, "cannot be opened: " + reason);
  if (!notice.empty()) err << "tarvolin-cli: " << path << ": " << notice << "\n";
  if (read.cols() != 1) {
    throw InputError(path, 1,
                     "has " + std::to_string(read.cols()) +
                         " numbers on a line; an x list holds one value per line");
  }
  if (read.rows() != specimens) {
    throw InputError(path, "has " + std::to_string(read.rows()) + " values for " +
                               std::to_string(specimens) +
                               " specimens; an x list needs one value per specimen");
  }
  return read.col(0);
}

}  // namespace

Eigen::VectorXd loadclix(const CliOptions& options, const LandmarkSet& set, std::string& source,
                         std::ostream& err) {
  if (options.x == "cs") {
    source = set.path;
    return set.size;
  }
  return readinginput(Input::x, [&]() -> Eigen::VectorXd {
    if (const std::optional<TableColumnName> named = tablecolumnnamed(options.x)) {
      source = named->table;
      return readcovariate(source, named->column, set.ids);
    }
    source = options.x;
    return loadXList(options.x, set.specimens(), err);
  });
}

}  // namespace tarvolin
